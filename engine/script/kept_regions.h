#pragma once
// Hand-written regions inside generated files. A line containing "MORVA-KEEP-BEGIN name" opens
// a region that a line containing "MORVA-KEEP-END name" closes; the markers sit in whatever
// comment syntax the template writes. When a file is generated again, the lines between the
// markers of each region are taken from the file on disk, so hand-written code survives.

#include <string>
#include <string_view>
#include <vector>

namespace morva::tpx {

/// One region: its name and the text between its marker lines (whole lines, line ends kept).
struct KeptRegion {
    std::string name;
    std::string body;
};

/// The well-formed regions of `text`, in order. A region without its end marker, or a name
/// seen before, is not a region.
std::vector<KeptRegion> FindKeptRegions(std::string_view text);

/// `generated` with the body of each of its regions replaced by the body of the region of the
/// same name in `onDisk`. Regions of `onDisk` that `generated` lacks go to `lost`.
std::string MergeKeptRegions(std::string_view generated, std::string_view onDisk,
                             std::vector<KeptRegion>* lost);

/// Whether `text` holds a region marker at all (a quick test before merging).
bool HasKeptRegionMarker(std::string_view text);

}  // namespace morva::tpx

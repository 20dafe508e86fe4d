#pragma once
// Converting the text form files that a run closes as form files.

#include <string>

namespace morva::cli {

/// Converts the text form file `filename` into "<base name>.DFM" in the current directory.
/// Failures are reported on standard error as the workbench words them; the run goes on.
void ConvertClosedFormFile(const std::string& filename);

}  // namespace morva::cli

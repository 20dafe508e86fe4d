#pragma once
// The record of generated files: for each script, the names of the files its last run
// generated, kept in the output folder as ".morva/<script's file name>.files". Comparing a run
// with the record finds the stale files: generated before, no longer generated, still there.

#include <string>
#include <string_view>
#include <vector>

namespace morva::tpx {

class OutputFiles;

/// The record's name, relative to the output folder, for the script at `scriptPath`.
std::string OutputRecordName(std::string_view scriptPath);

/// The names in the record at `path`; none when there is no record.
std::vector<std::string> ReadOutputRecord(const std::string& path);

/// Writes the record at `path` with `names` (sorted, each once), making its folder, and only
/// when its content changes. 0 or errno.
int WriteOutputRecord(const std::string& path, std::vector<std::string> names);

/// The names of the files a run generated through `files` (all but those that failed), for the
/// record.
std::vector<std::string> GeneratedFileNames(const OutputFiles& files);

/// The names of `previous` that are not in `current` and still exist in `folder`, sorted.
std::vector<std::string> StaleOutputFiles(const std::vector<std::string>& previous,
                                          const std::vector<std::string>& current,
                                          const std::string& folder);

}  // namespace morva::tpx

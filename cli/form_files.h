#pragma once
// Converting the text form files that a run closes as form files.

#include <string>

#include "engine/script/output_files.h"

namespace morva::cli {

/// Converts the text form file `filename`, just closed through `files`, into "<base name>.DFM"
/// in the output folder, written through `files` as well so that an unchanged form file is left
/// alone. Failures are reported on standard error as the workbench words them, the run goes on;
/// false then.
bool ConvertClosedFormFile(tpx::OutputFiles& files, const std::string& filename);

}  // namespace morva::cli

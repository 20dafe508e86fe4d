#pragma once
// The engine's diagnostics of a compiled script, on standard error in the form editors read.

#include <string>

#include "engine/host/imorva.h"

namespace morva::cli {

/// Prints each diagnostic of the last compilation of `engine` to standard error as
/// "SCRIPT:LINE:COLUMN: warning: TEXT", naming the script as typed. Standard output keeps the
/// log alone.
void PrintScriptDiagnostics(const std::string& script, tpx::IMorva& engine);

}  // namespace morva::cli

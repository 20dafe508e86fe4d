#pragma once
// The engine's diagnostics of a compiled script, on standard error in the form editors read.

#include <string>
#include <vector>

#include "engine/script/diagnostic.h"

namespace morva::cli {

/// Prints each diagnostic of a compilation to standard error as
/// "SCRIPT:LINE:COLUMN: warning: TEXT", naming the script as typed. Standard output keeps the
/// log alone.
void PrintScriptDiagnostics(const std::string& script,
                            const std::vector<tpx::Diagnostic>& diagnostics);

}  // namespace morva::cli

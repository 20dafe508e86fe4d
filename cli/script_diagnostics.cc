#include "cli/script_diagnostics.h"

#include <cstdio>

namespace morva::cli {

void PrintScriptDiagnostics(const std::string& script,
                            const std::vector<tpx::Diagnostic>& diagnostics) {
    // Standard output first, so that a terminal shows the log before the diagnostics.
    std::fflush(stdout);
    for (const tpx::Diagnostic& d : diagnostics) {
        std::fprintf(stderr, "%s:%d:%d: warning: %s\n", script.c_str(), d.line, d.column,
                     d.text.c_str());
    }
}

}  // namespace morva::cli

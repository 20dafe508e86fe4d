#pragma once
// Compiling a script held in memory, for tests, benchmarks and fuzzing.

#include <string_view>

#include "sqlcompiler/compilation.h"
#include "sqlcompiler/script_reader.h"

namespace morva::sql::testing {

/// Parses `text` as if it were the script's contents (no file, no compiling line, no summary).
inline void ParseScriptText(Compilation& compilation, std::string_view text) {
    compilation.OpenText(text);
    ParseInput(compilation);
    compilation.CloseText();
}

}  // namespace morva::sql::testing

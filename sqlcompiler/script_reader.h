#pragma once
// Reading a script into a compilation's model with the reader of its dialect: the classic
// grammar (sql_parser.y over sql_scanner.l) or the tolerant reader (auto_reader.h).

#include <string_view>

namespace morva::sql {

class Compilation;

/// Opens, scans and parses the compilation's script, reporting the compiling line, the
/// messages and the summary. True when the model may be written (no fatal error).
bool CompileScript(Compilation& compilation);
/// Parses `text` as if it were the script's contents (no file, no compiling line, no summary).
void ParseScriptText(Compilation& compilation, std::string_view text);

/// Reads the compilation's input with the classic grammar (sql_scanner.l).
int RunParser(Compilation& compilation);

}  // namespace morva::sql

#pragma once
// Reading a script into a compilation's model with the reader of its dialect: the classic
// grammar (sql_parser.y over sql_scanner.l) or the tolerant reader (auto_reader.h).

#include <string_view>

namespace morva::sql {

class Compilation;

/// Opens, scans and parses the compilation's script, reporting the compiling line, the
/// messages and the summary. True when the model may be written (no fatal error).
bool CompileScript(Compilation& compilation);
/// Reads the compilation's open input (script or text) with the reader of its dialect; a
/// memory shortage becomes the "Insufficent memory" fatal error.
void ParseInput(Compilation& compilation);

/// Reads the compilation's input with the classic grammar (sql_scanner.l).
int RunParser(Compilation& compilation);

}  // namespace morva::sql

#pragma once
// The projects' type map entries: a script that uses a type tag (<DASCPP> ...) takes the
// entries of the file "types.<language>" in its own folder, read when it is compiled.

#include <string_view>

namespace morva::tpx {

struct Program;

/// For every language whose type tag `program` uses, reads "types.<suffix>" from the folder of
/// `scriptName` (the current folder for a name without one) into the program's overrides. A
/// missing file is no problem; an unreadable file and each bad line are compile warnings that
/// name the file and the line.
void ReadTypeFiles(std::string_view scriptName, Program& program);

}  // namespace morva::tpx

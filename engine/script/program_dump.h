#pragma once
// The canonical text form of a compiled program, compared by tests and printed by
// `morva-cli compile --dump`.

#include <string>

#include "engine/script/program.h"

namespace morva::tpx {

/// The program as text: the words (runs of characters quoted, operation codes by tag name,
/// with their following word), each IF with its addresses and postfix nodes, each Expr with
/// its postfix nodes, and the variable table.
std::string DumpProgram(const Program& program);

}  // namespace morva::tpx

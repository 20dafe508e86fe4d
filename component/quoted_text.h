#pragma once
// How the canonical text dumps (table files, SQL model, schemas, the engine's store) write a
// text, so that every dump reads back the same way and a text never breaks its line.

#include <string>
#include <string_view>

namespace morva::com {

/// Appends `text` in double quotes: \" for a quote, \\ for a backslash, \t \n \r, and \xNN for
/// the other control bytes and DEL; every other byte (UTF-8 among them) as it is.
void AppendQuoted(std::string& out, std::string_view text);
/// `text` as AppendQuoted writes it.
std::string Quoted(std::string_view text);

}  // namespace morva::com

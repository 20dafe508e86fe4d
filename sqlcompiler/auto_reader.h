#pragma once
// The tolerant reader of real-world creation scripts (PostgreSQL, MySQL and MariaDB, SQLite,
// Oracle, SQL Server, Firebird 3 and later). It reads the statements that define tables,
// columns, keys, references and labels through the same builder functions as the classic
// grammar, and skips every other statement without a message.

#include <optional>
#include <string>
#include <string_view>

namespace morva::sql {

class Compilation;

/// The script as UTF-8 text with line feeds: a UTF-8 byte-order mark dropped, UTF-16 (with a
/// byte-order mark, or plain ASCII-range text without one) converted, carriage return and
/// line feed pairs made line feeds. Null, with `why` set, when UTF-16 text cannot be converted.
std::optional<std::string> DecodeScriptText(std::string_view raw, const char** why);

/// Reads the compilation's input with the tolerant reader.
void RunAutoReader(Compilation& compilation);

}  // namespace morva::sql

#pragma once
// Where a database's information lives: one folder per database below the database folder.
// Every path to a database's table files and schema files is made here, so that a name that
// would leave the database folder is refused in one place for every caller.

#include <optional>
#include <string>
#include <string_view>

namespace morva::schema {

/// "databaseDir/name", the folder of database `name`. A name that would leave the database
/// folder (empty, ".", "..", "/" or a NUL byte in it) gives nothing, with
/// "'name' cannot name a database: reason" in `error`.
std::optional<std::string> DatabaseFolder(const std::string& databaseDir, std::string_view name,
                                          std::string* error);

}  // namespace morva::schema

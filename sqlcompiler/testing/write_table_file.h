#pragma once
// Writing one compiled table as a table file in a single call, for tests.

#include <string>

#include "sqlcompiler/table_writer.h"

namespace morva::sql::testing {

/// Writes the table file of `table` into the existing folder `dbPath` under the table's
/// name. False when the name could leave the folder, the folder is missing or the file
/// cannot be written.
inline bool WriteTableFile(const TableDef& table, const std::string& dbPath) {
    std::string error;
    return WriteTableFileTo(dbPath, ToTableFile(table), &error);
}

}  // namespace morva::sql::testing

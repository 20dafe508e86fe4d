#pragma once
// Text and JSON forms of database information read from table files, for people and tools.

#include <string>
#include <string_view>
#include <vector>

#include "sqlcompiler/table_file.h"

namespace morva::sql {

/// One line per table, column, lookup item and reference group, in file order; texts quoted
/// as com::Quoted writes them, names bare.
std::string DumpTablesText(const std::vector<TableFile>& tables);
/// {"database": ..., "tables": [...]} with every field of every table file; `moreMembers`,
/// when not empty, is written after the tables as further members of the object.
std::string DumpTablesJson(const std::string& database, const std::vector<TableFile>& tables,
                           std::string_view moreMembers = {});
/// `text` as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace morva::sql

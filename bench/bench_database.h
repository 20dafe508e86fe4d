#pragma once
// The database that the speed table generates for: `tables` tables of `columns` columns with
// keys, references to the previous table, lookup lists, labels and a mix of data types, as a
// real order-entry schema has.

#include <string>

#include "workbench/schema/database_infor.h"

namespace morva::bench {

/// The database information of `tables` tables of `columns` columns each.
schema::TDatabaseInfor MakeDatabase(int tables, int columns);

/// The same database as JSON, for the Jinja2 generator: every table with its name, type,
/// label, columns and references, and the padding widths the engine computes for it.
std::string DatabaseJson(const schema::TDatabaseInfor& db);

}  // namespace morva::bench

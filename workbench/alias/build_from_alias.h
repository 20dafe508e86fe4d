#pragma once
// Building database information from the tables of a database alias.

#include <string>
#include <vector>

#include "workbench/alias/alias.h"
#include "workbench/schema/database_infor.h"

namespace morva::alias {

/// Replaces every table of `db` by the named tables of `alias`, in the given order, and names
/// `db` after the alias. Each table is "Normal" with the label "Normal" and is selected; each
/// field becomes a selected column: type "Key" with flag 1 when it belongs to an index, else
/// "Normal"; its display label; the SQL type name of its logical type; its size, display
/// width and precision; scale 0. Stops at the first table that cannot be read with false and
/// the reason; the tables built before it stay.
bool BuildFromBde(schema::TDatabaseInfor& db, const Alias& alias,
                  const std::vector<std::string>& tables, std::string* error);

}  // namespace morva::alias

#pragma once
// Writing the compiler's model as table files.

#include <string>

#include "sqlcompiler/model.h"
#include "sqlcompiler/table_file.h"

namespace morva::sql {

/// The table file of `table` with the compiler's values: an empty column label becomes the
/// column name, a display width of 0 becomes the length (10 when that is 0 too), lookup
/// table, column and key are empty.
TableFile ToTableFile(const TableDef& table);
/// The bytes of EncodeTableFile(ToTableFile(table)), written straight from the model: a table
/// of millions of columns is then never held a second time as a TableFile.
std::string EncodeTable(const TableDef& table);

}  // namespace morva::sql

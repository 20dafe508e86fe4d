#pragma once
// The column type table: which field type of the generated program stands for a column's SQL
// data type.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morva::tpx {

/// One row of the type table.
struct DataTypeRow {
    /// SQL data type name, upper case.
    std::string_view sqlName;
    /// Field type of the generated program.
    std::string_view fieldName;
    /// Field type used instead when the scale is 0 (exact numerics without decimals), or
    /// empty when the scale does not matter.
    std::string_view wholeNumberName;
};

/// The rows in look-up order.
std::span<const DataTypeRow> DataTypeTable();

/// The field type for a column with SQL data type `dataType` and scale `scale`: the first row
/// whose SQL name equals `dataType` ignoring case decides; a type in no row maps to itself as
/// stored. Absent when `dataType` is absent. The result views either the table's constant
/// texts or `dataType` itself.
std::optional<std::string_view> MapDataType(const std::optional<std::string>& dataType,
                                            int32_t scale);
/// The result may view `dataType`, which therefore must outlive it.
std::optional<std::string_view> MapDataType(std::optional<std::string>&& dataType,
                                            int32_t scale) = delete;

}  // namespace morva::tpx

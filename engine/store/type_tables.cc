#include "engine/store/type_tables.h"

#include "component/text_util.h"

namespace morva::tpx {

namespace {

constexpr DataTypeRow kDataTypes[] = {
    {"CHAR", "String", ""},
    {"VARCHAR", "String", ""},
    {"VARCHAR2", "String", ""},
    {"LONGVARCHAR", "String", ""},
    {"DECIMAL", "Float", "Integer"},
    {"NUMERIC", "Float", "Integer"},
    {"NUMBER", "Float", "Integer"},
    {"BIT", "Boolean", ""},
    {"TINYINT", "Smallint", ""},
    {"SMALLINT", "Smallint", ""},
    {"INTEGER", "Integer", ""},
    {"BIGINT", "Integer", ""},
    {"REAL", "Float", ""},
    {"FLOAT", "Float", ""},
    {"DOUBLE", "Float", ""},
    {"BINARY", "Bytes", ""},
    {"VARBINARY", "VarBytes", ""},
    {"LONGVARBINARY", "VarBytes", ""},
    {"DATE", "Date", ""},
    {"TIME", "Time", ""},
    {"TIMESTAMP", "DateTime", ""},
};

}  // namespace

std::span<const DataTypeRow> DataTypeTable() {
    return kDataTypes;
}

std::optional<std::string_view> MapDataType(const std::optional<std::string>& dataType,
                                            int32_t scale) {
    if (!dataType) return std::nullopt;
    for (const DataTypeRow& row : kDataTypes) {
        if (!com::EqualsIgnoreCase(row.sqlName, *dataType)) continue;
        if (scale == 0 && !row.wholeNumberName.empty()) return row.wholeNumberName;
        return row.fieldName;
    }
    return std::string_view(*dataType);
}

}  // namespace morva::tpx

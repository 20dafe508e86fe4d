#include "sqlcompiler/sql_types.h"

#include <algorithm>
#include <array>
#include <string>

namespace morva::sql {
namespace {

using enum TypeArgs;

// Sorted by spelling for the binary search. The manual's chapter "Reading real scripts" lists
// the same mapping.
constexpr std::array<TypeSpelling, 92> kTypes{{
    {"BIGINT", "BIGINT", kNone, 0},
    {"BIGSERIAL", "BIGINT", kNone, 0},
    {"BINARY", "BINARY", kSize, 0},
    {"BINARY_DOUBLE", "DOUBLE", kNone, 0},
    {"BINARY_FLOAT", "FLOAT", kNone, 0},
    {"BINARY_INTEGER", "INTEGER", kNone, 0},
    {"BIT", "BIT", kSize, 0},
    {"BIT VARYING", "VARBINARY", kSize, 0},
    {"BLOB", "BLOB", kNone, 0},
    {"BOOL", "BOOLEAN", kNone, 0},
    {"BOOLEAN", "BOOLEAN", kNone, 0},
    {"BPCHAR", "CHAR", kSize, 1},
    {"BYTEA", "BLOB", kNone, 0},
    {"CHAR", "CHAR", kSize, 1},
    {"CHAR VARYING", "VARCHAR", kSize, 0},
    {"CHARACTER", "CHAR", kSize, 1},
    {"CHARACTER VARYING", "VARCHAR", kSize, 0},
    {"CLOB", "TEXT", kNone, 0},
    {"DATE", "DATE", kNone, 0},
    {"DATETIME", "TIMESTAMP", kNone, 0},
    {"DATETIME2", "TIMESTAMP", kNone, 0},
    {"DATETIMEOFFSET", "TIMESTAMP", kNone, 0},
    {"DEC", "DECIMAL", kPrecision, 0},
    {"DECIMAL", "DECIMAL", kPrecision, 0},
    {"DOUBLE", "DOUBLE", kNone, 0},
    {"DOUBLE PRECISION", "DOUBLE", kNone, 0},
    {"ENUM", "VARCHAR", kNone, 0},
    {"FIXED", "DECIMAL", kPrecision, 0},
    {"FLOAT", "FLOAT", kPrecision, 0},
    {"FLOAT4", "REAL", kNone, 0},
    {"FLOAT8", "DOUBLE", kNone, 0},
    {"IMAGE", "BLOB", kNone, 0},
    {"INT", "INTEGER", kNone, 0},
    {"INT2", "SMALLINT", kNone, 0},
    {"INT4", "INTEGER", kNone, 0},
    {"INT8", "BIGINT", kNone, 0},
    {"INTEGER", "INTEGER", kNone, 0},
    {"LONG", "TEXT", kNone, 0},
    {"LONG RAW", "BLOB", kNone, 0},
    {"LONG VARBINARY", "BLOB", kNone, 0},
    {"LONG VARCHAR", "TEXT", kNone, 0},
    {"LONGBLOB", "BLOB", kNone, 0},
    {"LONGTEXT", "TEXT", kNone, 0},
    {"MEDIUMBLOB", "BLOB", kNone, 0},
    {"MEDIUMINT", "INTEGER", kNone, 0},
    {"MEDIUMTEXT", "TEXT", kNone, 0},
    {"NATIONAL CHAR", "CHAR", kSize, 1},
    {"NATIONAL CHAR VARYING", "VARCHAR", kSize, 0},
    {"NATIONAL CHARACTER", "CHAR", kSize, 1},
    {"NATIONAL CHARACTER VARYING", "VARCHAR", kSize, 0},
    {"NATIONAL VARCHAR", "VARCHAR", kSize, 0},
    {"NCHAR", "CHAR", kSize, 1},
    {"NCHAR VARYING", "VARCHAR", kSize, 0},
    {"NCLOB", "TEXT", kNone, 0},
    {"NTEXT", "TEXT", kNone, 0},
    {"NUMBER", "NUMERIC", kPrecision, 0},
    {"NUMERIC", "NUMERIC", kPrecision, 0},
    {"NVARCHAR", "VARCHAR", kSize, 0},
    {"NVARCHAR2", "VARCHAR", kSize, 0},
    {"PLS_INTEGER", "INTEGER", kNone, 0},
    {"RAW", "VARBINARY", kSize, 0},
    {"REAL", "REAL", kNone, 0},
    {"ROWVERSION", "BINARY", kNone, 0},
    {"SERIAL", "INTEGER", kNone, 0},
    {"SERIAL2", "SMALLINT", kNone, 0},
    {"SERIAL4", "INTEGER", kNone, 0},
    {"SERIAL8", "BIGINT", kNone, 0},
    {"SMALLDATETIME", "TIMESTAMP", kNone, 0},
    {"SMALLINT", "SMALLINT", kNone, 0},
    {"SMALLSERIAL", "SMALLINT", kNone, 0},
    {"STRING", "TEXT", kNone, 0},
    {"TEXT", "TEXT", kNone, 0},
    {"TIME", "TIME", kNone, 0},
    {"TIME WITH TIME ZONE", "TIME", kNone, 0},
    {"TIME WITHOUT TIME ZONE", "TIME", kNone, 0},
    {"TIMESTAMP", "TIMESTAMP", kNone, 0},
    {"TIMESTAMP WITH LOCAL TIME ZONE", "TIMESTAMP", kNone, 0},
    {"TIMESTAMP WITH TIME ZONE", "TIMESTAMP", kNone, 0},
    {"TIMESTAMP WITHOUT TIME ZONE", "TIMESTAMP", kNone, 0},
    {"TIMESTAMPTZ", "TIMESTAMP", kNone, 0},
    {"TIMETZ", "TIME", kNone, 0},
    {"TINYBLOB", "BLOB", kNone, 0},
    {"TINYINT", "SMALLINT", kNone, 0},
    {"TINYTEXT", "TEXT", kNone, 0},
    {"UNIQUEIDENTIFIER", "UUID", kNone, 0},
    {"VARBINARY", "VARBINARY", kSize, 0},
    {"VARCHAR", "VARCHAR", kSize, 0},
    {"VARCHAR2", "VARCHAR", kSize, 0},
    {"VARCHAR_IGNORECASE", "VARCHAR", kSize, 0},
    {"VARYING CHARACTER", "VARCHAR", kSize, 0},
    {"XMLTYPE", "XML", kNone, 0},
    {"YEAR", "SMALLINT", kNone, 0},
}};

constexpr bool Sorted() {
    for (size_t i = 1; i < kTypes.size(); ++i)
        if (!(kTypes[i - 1].spelling < kTypes[i].spelling)) return false;
    return true;
}
static_assert(Sorted(), "the type table must stay sorted for the binary search");

}  // namespace

const TypeSpelling* LookupType(std::string_view upper) {
    auto it =
        std::lower_bound(kTypes.begin(), kTypes.end(), upper,
                         [](const TypeSpelling& t, std::string_view w) { return t.spelling < w; });
    return it != kTypes.end() && it->spelling == upper ? &*it : nullptr;
}

bool TypeContinues(std::string_view upper) {
    std::string prefix = std::string(upper) + ' ';
    auto it =
        std::lower_bound(kTypes.begin(), kTypes.end(), std::string_view(prefix),
                         [](const TypeSpelling& t, std::string_view w) { return t.spelling < w; });
    return it != kTypes.end() && it->spelling.starts_with(prefix);
}

}  // namespace morva::sql

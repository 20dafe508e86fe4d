#include "workbench/alias/field_types.h"

#include <string>

#include "component/text_util.h"

namespace morva::alias {

const char* FieldTypeNames(FieldType type) {
    switch (type) {
        case FieldType::ftUnknown:
            return "INTEGER";
        case FieldType::ftString:
            return "VARCHAR";
        case FieldType::ftSmallint:
            return "SMALLINT";
        case FieldType::ftInteger:
            return "INTEGER";
        case FieldType::ftWord:
            return "SMALLINT";
        case FieldType::ftBoolean:
            return "BIT";
        case FieldType::ftFloat:
            return "FLOAT";
        case FieldType::ftCurrency:
            return "INTEGER";
        case FieldType::ftBCD:
            return "BINARY";
        case FieldType::ftDate:
            return "DATE";
        case FieldType::ftTime:
            return "TIME";
        case FieldType::ftDateTime:
            return "TIMESTAMP";
        case FieldType::ftBytes:
            return "BINARY";
        case FieldType::ftVarBytes:
            return "VARBINARY";
        case FieldType::ftAutoInc:
            return "INTEGER";
        default:
            return "BINARY";  // blobs, memos, graphics, OLE, typed binaries, cursors
    }
}

namespace {

struct DeclaredType {
    const char* name;
    FieldType type;
};

// Exact names first; then the prefix rules below catch the rest of each family.
constexpr DeclaredType kDeclared[] = {
    {"CHAR", FieldType::ftString},
    {"CHARACTER", FieldType::ftString},
    {"VARCHAR", FieldType::ftString},
    {"VARCHAR2", FieldType::ftString},
    {"NCHAR", FieldType::ftString},
    {"NVARCHAR", FieldType::ftString},
    {"CHARACTER VARYING", FieldType::ftString},
    {"BPCHAR", FieldType::ftString},
    {"TEXT", FieldType::ftString},
    {"CLOB", FieldType::ftString},
    {"SMALLINT", FieldType::ftSmallint},
    {"INT2", FieldType::ftSmallint},
    {"TINYINT", FieldType::ftSmallint},
    {"INTEGER", FieldType::ftInteger},
    {"INT", FieldType::ftInteger},
    {"INT4", FieldType::ftInteger},
    {"BIGINT", FieldType::ftInteger},
    {"INT8", FieldType::ftInteger},
    {"MEDIUMINT", FieldType::ftInteger},
    {"SERIAL", FieldType::ftAutoInc},
    {"BIGSERIAL", FieldType::ftAutoInc},
    {"BOOLEAN", FieldType::ftBoolean},
    {"BOOL", FieldType::ftBoolean},
    {"BIT", FieldType::ftBoolean},
    {"REAL", FieldType::ftFloat},
    {"FLOAT", FieldType::ftFloat},
    {"FLOAT4", FieldType::ftFloat},
    {"FLOAT8", FieldType::ftFloat},
    {"DOUBLE", FieldType::ftFloat},
    {"DOUBLE PRECISION", FieldType::ftFloat},
    {"NUMERIC", FieldType::ftFloat},
    {"DECIMAL", FieldType::ftFloat},
    {"NUMBER", FieldType::ftFloat},
    {"MONEY", FieldType::ftCurrency},
    {"DATE", FieldType::ftDate},
    {"TIME", FieldType::ftTime},
    {"TIME WITHOUT TIME ZONE", FieldType::ftTime},
    {"TIME WITH TIME ZONE", FieldType::ftTime},
    {"TIMESTAMP", FieldType::ftDateTime},
    {"DATETIME", FieldType::ftDateTime},
    {"TIMESTAMP WITHOUT TIME ZONE", FieldType::ftDateTime},
    {"TIMESTAMP WITH TIME ZONE", FieldType::ftDateTime},
    {"TIMESTAMPTZ", FieldType::ftDateTime},
    {"BINARY", FieldType::ftBytes},
    {"VARBINARY", FieldType::ftVarBytes},
    {"BYTEA", FieldType::ftBlob},
    {"BLOB", FieldType::ftBlob},
};

}  // namespace

FieldType FieldTypeOfDeclared(std::string_view declared) {
    std::string name = com::ToUpperAscii(declared.substr(0, declared.find('(')));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    for (const DeclaredType& d : kDeclared)
        if (name == d.name) return d.type;
    // SQLite's type affinity rules, for names the table does not know.
    if (name.find("INT") != std::string::npos) return FieldType::ftInteger;
    if (name.find("CHAR") != std::string::npos || name.find("CLOB") != std::string::npos)
        return FieldType::ftString;
    if (name.find("TEXT") != std::string::npos) return FieldType::ftString;
    if (name.find("BLOB") != std::string::npos) return FieldType::ftBlob;
    if (name.find("REAL") != std::string::npos || name.find("FLOA") != std::string::npos ||
        name.find("DOUB") != std::string::npos)
        return FieldType::ftFloat;
    return FieldType::ftUnknown;
}

int DefaultDisplayWidth(FieldType type, int size, int precision) {
    switch (type) {
        case FieldType::ftString:
            return size > 0 ? size : 20;
        case FieldType::ftSmallint:
            return 6;
        case FieldType::ftWord:
            return 5;
        case FieldType::ftInteger:
        case FieldType::ftAutoInc:
            return 11;
        case FieldType::ftBoolean:
            return 5;
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftBCD:
            return precision > 0 ? precision + 2 : 10;
        case FieldType::ftDate:
        case FieldType::ftTime:
            return 10;
        case FieldType::ftDateTime:
            return 18;
        default:
            return 10;
    }
}

}  // namespace morva::alias

#pragma once
// Logical field types of a database alias and the SQL type name each is recorded under.

#include <string_view>

namespace morva::alias {

/// The logical field types a table's field can have.
enum class FieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
};

/// The SQL type name recorded for a field of type `type` ("VARCHAR" for ftString, ...).
const char* FieldTypeNames(FieldType type);

/// The logical type of a declared SQL column type such as "VARCHAR(40)", "numeric(12,2)" or
/// "timestamp without time zone" (letter case ignored; sizes in parentheses ignored).
FieldType FieldTypeOfDeclared(std::string_view declared);

/// The display width a field of `type` gets: its size for strings, else a width that shows
/// any value of the type.
int DefaultDisplayWidth(FieldType type, int size, int precision);

}  // namespace morva::alias

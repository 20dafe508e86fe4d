#include "engine/script/type_maps.h"

#include "component/text_util.h"
#include "engine/script/tags.h"

namespace morva::tpx {

namespace {

// Columns: C++, C#, Java, TypeScript, Go, Python, Rust. The first row is also the type of a
// data type in no row: any value can be held as text.
constexpr LanguageTypeRow kRows[] = {
    {"VARCHAR", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"CHAR", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"VARCHAR2", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"NCHAR", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"NVARCHAR", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"LONGVARCHAR", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"TEXT", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"CLOB", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"XML", {"std::string", "string", "String", "string", "string", "str", "String"}},
    {"BIT", {"bool", "bool", "boolean", "boolean", "bool", "bool", "bool"}},
    {"BOOLEAN", {"bool", "bool", "boolean", "boolean", "bool", "bool", "bool"}},
    {"TINYINT", {"std::int8_t", "byte", "byte", "number", "int8", "int", "i8"}},
    {"SMALLINT", {"std::int16_t", "short", "short", "number", "int16", "int", "i16"}},
    {"INTEGER", {"std::int32_t", "int", "int", "number", "int32", "int", "i32"}},
    {"BIGINT", {"std::int64_t", "long", "long", "number", "int64", "int", "i64"}},
    {"DECIMAL",
     {"double", "decimal", "java.math.BigDecimal", "number", "float64", "decimal.Decimal", "f64"}},
    {"NUMERIC",
     {"double", "decimal", "java.math.BigDecimal", "number", "float64", "decimal.Decimal", "f64"}},
    {"NUMBER",
     {"double", "decimal", "java.math.BigDecimal", "number", "float64", "decimal.Decimal", "f64"}},
    {"REAL", {"float", "float", "float", "number", "float32", "float", "f32"}},
    {"FLOAT", {"double", "double", "double", "number", "float64", "float", "f64"}},
    {"DOUBLE", {"double", "double", "double", "number", "float64", "float", "f64"}},
    {"BINARY",
     {"std::vector<std::uint8_t>", "byte[]", "byte[]", "Uint8Array", "[]byte", "bytes", "Vec<u8>"}},
    {"VARBINARY",
     {"std::vector<std::uint8_t>", "byte[]", "byte[]", "Uint8Array", "[]byte", "bytes", "Vec<u8>"}},
    {"LONGVARBINARY",
     {"std::vector<std::uint8_t>", "byte[]", "byte[]", "Uint8Array", "[]byte", "bytes", "Vec<u8>"}},
    {"BLOB",
     {"std::vector<std::uint8_t>", "byte[]", "byte[]", "Uint8Array", "[]byte", "bytes", "Vec<u8>"}},
    {"DATE",
     {"std::chrono::year_month_day", "DateTime", "java.time.LocalDate", "Date", "time.Time",
      "datetime.date", "String"}},
    {"TIME",
     {"std::chrono::seconds", "TimeSpan", "java.time.LocalTime", "string", "time.Time",
      "datetime.time", "String"}},
    {"TIMESTAMP",
     {"std::chrono::system_clock::time_point", "DateTime", "java.time.LocalDateTime", "Date",
      "time.Time", "datetime.datetime", "std::time::SystemTime"}},
    {"UUID", {"std::string", "Guid", "java.util.UUID", "string", "string", "uuid.UUID", "String"}},
};

constexpr std::string_view kSuffixes[kTypeLanguages] = {"cpp", "cs", "java", "ts",
                                                        "go",  "py", "rust"};

std::string_view Trim(std::string_view s) {
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The type of `dataType` (upper case): the project's entry, the built-in row, or null.
const std::string_view* Find(TypeLanguage language, std::string_view dataType,
                             const TypeOverrides& overrides, std::string_view& found) {
    if (auto it = overrides.find(dataType); it != overrides.end()) {
        found = it->second;
        return &found;
    }
    for (const LanguageTypeRow& row : kRows) {
        if (row.dataType == dataType) {
            found = row.types[static_cast<size_t>(language)];
            return &found;
        }
    }
    return nullptr;
}

std::string_view BaseType(TypeLanguage language, const ColumnTypeFacts& column,
                          const TypeOverrides& overrides, std::string& upper) {
    upper = com::ToUpperAscii(column.dataType);
    std::string_view found;
    bool exact = upper == "DECIMAL" || upper == "NUMERIC" || upper == "NUMBER";
    // A project's entry for the exact type itself comes before the whole-number rule.
    if (exact && column.scale == 0 && column.precision >= 1 && column.precision <= 18 &&
        !overrides.count(upper)) {
        if (Find(language, column.precision <= 9 ? "INTEGER" : "BIGINT", overrides, found))
            return found;
    }
    if (Find(language, upper, overrides, found)) return found;
    if (Find(language, "VARCHAR", overrides, found)) return found;
    return kRows[0].types[static_cast<size_t>(language)];
}

// The primitive types of Java and their boxed forms.
std::string_view Boxed(std::string_view type) {
    static constexpr std::pair<std::string_view, std::string_view> kBoxes[] = {
        {"boolean", "Boolean"}, {"byte", "Byte"}, {"char", "Character"}, {"short", "Short"},
        {"int", "Integer"},     {"long", "Long"}, {"float", "Float"},    {"double", "Double"},
    };
    for (auto [primitive, box] : kBoxes) {
        if (type == primitive) return box;
    }
    return type;
}

void Optional(TypeLanguage language, std::string_view type, std::string& out) {
    switch (language) {
        case TypeLanguage::Cpp:
            out.append("std::optional<").append(type).append(">");
            return;
        case TypeLanguage::CSharp:
            // References are nullable as they are; value types take "?".
            out.append(type);
            if (type != "string" && type != "object" && !type.ends_with("[]")) out += '?';
            return;
        case TypeLanguage::Java:
            out.append(Boxed(type));
            return;
        case TypeLanguage::TypeScript:
            out.append(type).append(" | null");
            return;
        case TypeLanguage::Go:
            // Slices and maps have nil already; everything else is pointed to.
            if (!type.starts_with("[]") && !type.starts_with("map[") && !type.starts_with("*"))
                out += '*';
            out.append(type);
            return;
        case TypeLanguage::Python:
            out.append(type).append(" | None");
            return;
        case TypeLanguage::Rust:
            out.append("Option<").append(type).append(">");
            return;
    }
}

}  // namespace

int32_t TypeLanguageOfTag(int32_t code) {
    switch (code) {
        case tag::DASCPP:
            return static_cast<int32_t>(TypeLanguage::Cpp);
        case tag::DASCS:
            return static_cast<int32_t>(TypeLanguage::CSharp);
        case tag::DASJAVA:
            return static_cast<int32_t>(TypeLanguage::Java);
        case tag::DASTS:
            return static_cast<int32_t>(TypeLanguage::TypeScript);
        case tag::DASGO:
            return static_cast<int32_t>(TypeLanguage::Go);
        case tag::DASPY:
            return static_cast<int32_t>(TypeLanguage::Python);
        case tag::DASRUST:
            return static_cast<int32_t>(TypeLanguage::Rust);
        default:
            return -1;
    }
}

std::string_view TypeLanguageSuffix(TypeLanguage language) {
    return kSuffixes[static_cast<size_t>(language)];
}

std::span<const LanguageTypeRow> LanguageTypeTable() {
    return kRows;
}

TypeOverrides ParseTypeOverrides(std::string_view text, std::vector<TypeFileProblem>& problems) {
    TypeOverrides overrides;
    int32_t number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#') continue;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back({number, "expected DATATYPE=type"});
            continue;
        }
        std::string dataType = com::ToUpperAscii(Trim(line.substr(0, equals)));
        std::string_view type = Trim(line.substr(equals + 1));
        if (dataType.empty()) {
            problems.push_back({number, "no data type before \"=\""});
            continue;
        }
        if (type.empty()) {
            problems.push_back({number, "no type after \"=\" for " + dataType});
            continue;
        }
        auto [it, added] = overrides.insert_or_assign(dataType, std::string(type));
        if (!added) problems.push_back({number, dataType + " given again; this line wins"});
    }
    return overrides;
}

void LanguageType(TypeLanguage language, const ColumnTypeFacts& column,
                  const TypeOverrides& overrides, std::string& out) {
    out.clear();
    std::string upper;
    std::string_view type = BaseType(language, column, overrides, upper);
    if (column.nullable) {
        Optional(language, type, out);
    } else {
        out.append(type);
    }
}

}  // namespace morva::tpx

#include "engine/script/type_maps.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace morva::tpx {
namespace {

constexpr TypeLanguage kAll[] = {
    TypeLanguage::Cpp, TypeLanguage::CSharp, TypeLanguage::Java, TypeLanguage::TypeScript,
    TypeLanguage::Go,  TypeLanguage::Python, TypeLanguage::Rust};

std::string TypeOf(TypeLanguage language, std::string_view dataType, int32_t precision = 0,
                   int32_t scale = 0, bool nullable = false, const TypeOverrides& overrides = {}) {
    std::string out = "left over";
    LanguageType(language, ColumnTypeFacts{dataType, precision, scale, nullable}, overrides, out);
    return out;
}

// Every data type name the SQL readers give a column, tolerant and classic.
constexpr std::string_view kReaderTypes[] = {
    "BIGINT",   "BINARY", "BIT",       "BLOB",    "BOOLEAN",     "CHAR",          "DATE",
    "DECIMAL",  "DOUBLE", "FLOAT",     "INTEGER", "NUMERIC",     "REAL",          "SMALLINT",
    "TEXT",     "TIME",   "TIMESTAMP", "UUID",    "VARBINARY",   "VARCHAR",       "XML",
    "VARCHAR2", "NUMBER", "NCHAR",     "TINYINT", "LONGVARCHAR", "LONGVARBINARY",
};

TEST(TypeMapTest, EveryReaderTypeHasARowInEveryLanguage) {
    std::set<std::string_view> rows;
    for (const LanguageTypeRow& row : LanguageTypeTable()) {
        EXPECT_TRUE(rows.insert(row.dataType).second) << row.dataType << " twice";
        for (std::string_view type : row.types) EXPECT_FALSE(type.empty()) << row.dataType;
    }
    for (std::string_view type : kReaderTypes) EXPECT_TRUE(rows.count(type)) << type;
}

TEST(TypeMapTest, EachLanguageMapsTheCommonTypes) {
    struct Case {
        std::string_view dataType;
        std::array<std::string_view, kTypeLanguages> types;
    };
    const Case cases[] = {
        {"varchar", {"std::string", "string", "String", "string", "string", "str", "String"}},
        {"INTEGER", {"std::int32_t", "int", "int", "number", "int32", "int", "i32"}},
        {"BIGINT", {"std::int64_t", "long", "long", "number", "int64", "int", "i64"}},
        {"BOOLEAN", {"bool", "bool", "boolean", "boolean", "bool", "bool", "bool"}},
        {"BLOB",
         {"std::vector<std::uint8_t>", "byte[]", "byte[]", "Uint8Array", "[]byte", "bytes",
          "Vec<u8>"}},
        {"TIMESTAMP",
         {"std::chrono::system_clock::time_point", "DateTime", "java.time.LocalDateTime", "Date",
          "time.Time", "datetime.datetime", "std::time::SystemTime"}},
    };
    for (const Case& c : cases) {
        for (TypeLanguage language : kAll)
            EXPECT_EQ(TypeOf(language, c.dataType), c.types[static_cast<size_t>(language)])
                << c.dataType << " in " << TypeLanguageSuffix(language);
    }
}

TEST(TypeMapTest, ExactNumericsWithoutDecimalsAreWholeNumbersByPrecision) {
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "NUMERIC", 9, 0), "int");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "NUMBER", 10, 0), "long");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "DECIMAL", 18, 0), "long");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "DECIMAL", 19, 0), "java.math.BigDecimal");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "DECIMAL", 9, 2), "java.math.BigDecimal");
    EXPECT_EQ(TypeOf(TypeLanguage::CSharp, "NUMERIC", 0, 0), "decimal");
    // The project's entry for INTEGER serves the whole numbers too; one for the exact type
    // itself wins over the rule.
    TypeOverrides overrides{{"INTEGER", "Int"}};
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "NUMERIC", 5, 0, false, overrides), "Int");
    overrides["NUMERIC"] = "Num";
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "NUMERIC", 5, 0, false, overrides), "Num");
}

TEST(TypeMapTest, UnknownTypesAreTextAndNullableColumnsTakeTheOptionalForm) {
    for (TypeLanguage language : kAll)
        EXPECT_EQ(TypeOf(language, "GEOMETRY"), TypeOf(language, "VARCHAR"));
    EXPECT_EQ(TypeOf(TypeLanguage::Cpp, "", 0, 0, true), "std::optional<std::string>");
    EXPECT_EQ(TypeOf(TypeLanguage::Cpp, "INTEGER", 0, 0, true), "std::optional<std::int32_t>");
    EXPECT_EQ(TypeOf(TypeLanguage::CSharp, "INTEGER", 0, 0, true), "int?");
    EXPECT_EQ(TypeOf(TypeLanguage::CSharp, "VARCHAR", 0, 0, true), "string");
    EXPECT_EQ(TypeOf(TypeLanguage::CSharp, "BLOB", 0, 0, true), "byte[]");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "INTEGER", 0, 0, true), "Integer");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "BIT", 0, 0, true), "Boolean");
    EXPECT_EQ(TypeOf(TypeLanguage::Java, "DATE", 0, 0, true), "java.time.LocalDate");
    EXPECT_EQ(TypeOf(TypeLanguage::TypeScript, "INTEGER", 0, 0, true), "number | null");
    EXPECT_EQ(TypeOf(TypeLanguage::Go, "INTEGER", 0, 0, true), "*int32");
    EXPECT_EQ(TypeOf(TypeLanguage::Go, "BLOB", 0, 0, true), "[]byte");
    EXPECT_EQ(TypeOf(TypeLanguage::Python, "DATE", 0, 0, true), "datetime.date | None");
    EXPECT_EQ(TypeOf(TypeLanguage::Rust, "TEXT", 0, 0, true), "Option<String>");
}

TEST(TypeFileTest, ReadsEntriesAndReportsEachBadLine) {
    std::vector<TypeFileProblem> problems;
    TypeOverrides o = ParseTypeOverrides(
        "# money as integers of cents\r\n"
        "decimal = std::int64_t\r\n"
        "\n"
        "   \n"
        "GEOMETRY=Shape\n"
        "no equals sign\n"
        "=int\n"
        "JSON=\n"
        "geometry = Geometry   \n"
        "DOUBLE PRECISION=double",
        problems);
    EXPECT_EQ(o, (TypeOverrides{{"DECIMAL", "std::int64_t"},
                                {"GEOMETRY", "Geometry"},
                                {"DOUBLE PRECISION", "double"}}));
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].line, 6);
    EXPECT_EQ(problems[0].reason, "expected DATATYPE=type");
    EXPECT_EQ(problems[1].line, 7);
    EXPECT_EQ(problems[1].reason, "no data type before \"=\"");
    EXPECT_EQ(problems[2].line, 8);
    EXPECT_EQ(problems[2].reason, "no type after \"=\" for JSON");
    EXPECT_EQ(problems[3].line, 9);
    EXPECT_EQ(problems[3].reason, "GEOMETRY given again; this line wins");
    EXPECT_EQ(TypeOf(TypeLanguage::Cpp, "Decimal", 9, 2, true, o), "std::optional<std::int64_t>");
}

}  // namespace
}  // namespace morva::tpx

#include "engine/store/type_tables.h"

#include <gtest/gtest.h>

namespace morva::tpx {
namespace {

std::string Map(const char* dataType, int32_t scale) {
    const std::optional<std::string> stored = dataType;
    auto mapped = MapDataType(stored, scale);
    return mapped ? std::string(*mapped) : std::string("<absent>");
}

TEST(MapDataTypeTest, NamesMatchIgnoringCase) {
    EXPECT_EQ("String", Map("varchar2", 0));
    EXPECT_EQ("String", Map("Char", 3));
    EXPECT_EQ("DateTime", Map("timestamp", 0));
    EXPECT_EQ("VarBytes", Map("LongVarBinary", 0));
}

TEST(MapDataTypeTest, ExactNumericsWithoutScaleBecomeIntegers) {
    EXPECT_EQ("Integer", Map("NUMERIC", 0));
    EXPECT_EQ("Float", Map("NUMERIC", 2));
    EXPECT_EQ("Integer", Map("Number", 0));
    EXPECT_EQ("Integer", Map("decimal", 0));
    EXPECT_EQ("Float", Map("DECIMAL", -1));
    // Approximate numerics stay floating whatever the scale.
    EXPECT_EQ("Float", Map("FLOAT", 0));
    EXPECT_EQ("Float", Map("REAL", 0));
    EXPECT_EQ("Float", Map("DOUBLE", 0));
    // Other types ignore the scale.
    EXPECT_EQ("Smallint", Map("TINYINT", 4));
}

TEST(MapDataTypeTest, UnknownTypeMapsToItselfAsStored) {
    EXPECT_EQ("Money", Map("Money", 0));
    EXPECT_EQ("", Map("", 0));
    // A name that only starts like a row does not match it.
    EXPECT_EQ("CHARACTER", Map("CHARACTER", 0));
    EXPECT_EQ("INT", Map("INT", 0));

    std::optional<std::string> stored = "money";
    auto mapped = MapDataType(stored, 0);
    ASSERT_TRUE(mapped);
    EXPECT_EQ(stored->data(), mapped->data()) << "the stored text itself, not a copy";
}

TEST(MapDataTypeTest, AbsentTypeGivesAbsentResult) {
    const std::optional<std::string> absent;
    EXPECT_FALSE(MapDataType(absent, 0));
}

TEST(MapDataTypeTest, TableHoldsTheRowsInOrder) {
    auto table = DataTypeTable();
    ASSERT_EQ(21u, table.size());
    EXPECT_EQ("CHAR", table.front().sqlName);
    EXPECT_EQ("TIMESTAMP", table.back().sqlName);
    for (const DataTypeRow& row : table) {
        // Every row must be reachable: an earlier row with the same name would shadow it.
        EXPECT_EQ(row.fieldName, Map(std::string(row.sqlName).c_str(), 1)) << row.sqlName;
    }
}

}  // namespace
}  // namespace morva::tpx

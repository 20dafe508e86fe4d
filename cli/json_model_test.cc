#include "cli/json_model.h"

#include <gtest/gtest.h>

#include "component/file_name.h"
#include "sqlcompiler/table_file_dump.h"
#include "workbench/schema/schema_dump.h"

namespace morva::cli {
namespace {

// Two tables with a reference between them and a schema over both.
const char* kShop = R"({"database": "SHOP", "tables": [
  {"name": "CUSTOMER", "type": "Master", "label": "Customers", "columns": [
    {"name": "ID", "type": "Key", "label": "ID", "dataType": "INTEGER", "length": 0,
     "displayWidth": 10, "flags": 1, "precision": 0, "scale": 0, "lookupTable": "",
     "lookupColumn": "", "lookupKey": "", "lookupItems": []}], "references": []},
  {"name": "ORDERS", "columns": [{"name": "ID"}, {"name": "CUST"}],
   "references": [{"master": "customer", "pairs": [{"masterColumn": "ID", "localColumn": "CUST"}]}]}
], "schemas": [
  {"name": "All", "tables": [{"name": "ORDERS", "columns": [{"name": "CUST", "type": "RefTop"}],
    "references": [{"table": "CUSTOMER", "pairs": [{"refColumn": "ID", "keyColumn": "CUST"}]}]}]}
]})";

std::string Problem(std::string_view text) {
    JsonModel model;
    std::string error;
    EXPECT_FALSE(ReadJsonModel(text, &model, &error)) << text;
    return error;
}

// The shop model with `from` replaced by `to` once.
std::string Shop(std::string_view from, std::string_view to) {
    std::string text = kShop;
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(JsonModelTest, ReadsTablesReferencesAndSchemasWithDefaults) {
    JsonModel model;
    std::string error;
    ASSERT_TRUE(ReadJsonModel(kShop, &model, &error)) << error;
    EXPECT_EQ(model.database, "SHOP");
    ASSERT_EQ(model.tables.size(), 2u);
    EXPECT_EQ(model.tables[0].columns[0].displayWidth, 10);
    EXPECT_EQ(model.tables[0].columns[0].flags, 1);
    EXPECT_EQ(model.tables[1].type, "");
    EXPECT_EQ(model.tables[1].columns[1].dataType, "");
    ASSERT_EQ(model.tables[1].groups.size(), 1u);
    EXPECT_EQ(model.tables[1].groups[0].masterTable, "customer");  // as written
    ASSERT_EQ(model.schemas.size(), 1u);
    const schema::TSchemaInfor& t = model.schemas[0].Tables[0];
    EXPECT_EQ(t.ColumnTypes, std::vector<std::string>{"RefTop"});
    ASSERT_EQ(t.RefTables.Count(), 1);
    EXPECT_EQ(t.RefTables[0].pairs[0].RefColumn, "ID");
    EXPECT_EQ(t.RefTables[0].pairs[0].KeyColumn, "CUST");
}

TEST(JsonModelTest, DumpReadsBackToTheSameTablesAndSchemas) {
    sql::TableFile t;
    t.name = "T\xC3\xA9";                                // UTF-8 stays UTF-8
    t.label = "caf\xE9 \"q\" \x01\xC0\x80\xED\xA0\x80";  // bytes of another code page
    sql::ColumnEntry c;
    c.name = "A";
    c.length = INT32_MIN;
    c.precision = INT32_MAX;
    c.lookupItems = {"x\xFF", "\xC3\xA9", ""};
    t.columns.push_back(c);
    t.groups.push_back({"t\xC3\xA9", {{"A", "A"}}});
    schema::TSchema s;
    s.Name = "S\xE9";
    s.DbName = "DB";
    schema::TSchemaInfor st;
    st.TableName = t.name;
    st.AppendColumn("A", "Key", "\xE9t\xE9");
    st.RefTables.AddTable(t.name);
    st.RefTables.AddPair(t.name, "A", "A");
    s.Tables.push_back(st);

    std::string json = schema::DumpDatabaseJson("DB", {t}, {s});
    JsonModel model;
    std::string error;
    ASSERT_TRUE(ReadJsonModel(json, &model, &error)) << error << "\n" << json;
    EXPECT_EQ(model.tables, std::vector<sql::TableFile>{t});
    ASSERT_EQ(model.schemas.size(), 1u);
    EXPECT_EQ(model.schemas[0], s);
    // A character U+0080 to U+00FF written as itself is its UTF-8; only the escape is a byte.
    ASSERT_TRUE(ReadJsonModel(R"({"tables": [{"name": "é\u00e9\u00E9"}]})", &model, &error));
    EXPECT_EQ(model.tables.back().name, "\xC3\xA9\xE9\xE9");
    ASSERT_TRUE(ReadJsonModel(R"({"tables": [{"name": "A", "label": "\u0100\ud83d\ude00\n\/"}]})",
                              &model, &error));
    EXPECT_EQ(model.tables.back().label, "\xC4\x80\xF0\x9F\x98\x80\n/");
}

TEST(JsonModelTest, SyntaxErrorsGiveLineAndColumn) {
    EXPECT_EQ(Problem("{\"tables\": [\n  {\"name\": \"A\",}\n]}"),
              "line 2, column 16: syntax error while parsing object key - unexpected '}'; "
              "expected string literal");
    EXPECT_EQ(Problem(""),
              "line 1, column 1: syntax error while parsing value - unexpected end "
              "of input; expected '[', '{', or a literal");
    EXPECT_EQ(Problem("{\"tables\": [{\"name\": \"\xC3\"}]}"),
              "line 1, column 24: syntax error while parsing value - invalid string: ill-formed "
              "UTF-8 byte; last read: '\"\xC3\"'");
    EXPECT_EQ(Problem("{\"tables\": [], \"tables\": []}"), "$.tables: member given twice");
    EXPECT_EQ(Problem("{\"tables\": [{\"name\": \"A\", \"name\": \"B\"}]}"),
              "$.tables[0].name: member given twice");
}

TEST(JsonModelTest, MembersHaveTheirTypesAndRequiredOnesArePresent) {
    EXPECT_EQ(Problem("[]"), "$: must be an object");
    EXPECT_EQ(Problem("{}"), "$: missing member \"tables\"");
    EXPECT_EQ(Problem("{\"tables\": {}}"), "$.tables: must be an array");
    EXPECT_EQ(Problem("{\"tables\": [{}]}"), "$.tables[0]: missing member \"name\"");
    EXPECT_EQ(Problem(Shop("\"label\": \"Customers\"", "\"label\": 3")),
              "$.tables[0].label: must be a string");
    EXPECT_EQ(Problem(Shop("\"flags\": 1", "\"flags\": 1.5")),
              "$.tables[0].columns[0].flags: must be an integer");
    EXPECT_EQ(Problem(Shop("\"flags\": 1", "\"flags\": true")),
              "$.tables[0].columns[0].flags: must be an integer");
    EXPECT_EQ(Problem(Shop("\"flags\": 1", "\"flags\": 1, \"colour\": 1")),
              "$.tables[0].columns[0].colour: unknown member");
    EXPECT_EQ(Problem(Shop("\"lookupItems\": []", "\"lookupItems\": [\"a\", 2]")),
              "$.tables[0].columns[0].lookupItems[1]: must be a string");
    EXPECT_EQ(Problem(Shop("{\"masterColumn\": \"ID\", ", "{")),
              "$.tables[1].references[0].pairs[0]: missing member \"masterColumn\"");
    EXPECT_EQ(Problem(Shop("{\"name\": \"All\", ", "{")), "$.schemas[0]: missing member \"name\"");
}

TEST(JsonModelTest, NumbersAndTextsMustFitTheirFields) {
    EXPECT_EQ(Problem(Shop("\"length\": 0", "\"length\": 2147483648")),
              "$.tables[0].columns[0].length: 2147483648 is out of range (-2147483648 to "
              "2147483647)");
    EXPECT_EQ(Problem(Shop("\"length\": 0", "\"length\": -2147483649")),
              "$.tables[0].columns[0].length: -2147483649 is out of range (-2147483648 to "
              "2147483647)");
    std::string long256(256, 'x');
    EXPECT_EQ(Problem(Shop("Customers", long256)),
              "$.tables[0].label: text of 256 bytes is longer than the 255 bytes a field holds");
    // An escaped byte counts as one byte.
    std::string escaped;
    for (int i = 0; i < 255; ++i) escaped += "\\u00e9";
    JsonModel model;
    std::string error;
    EXPECT_TRUE(ReadJsonModel(Shop("Customers", escaped), &model, &error)) << error;
    EXPECT_EQ(Problem(Shop("\"lookupItems\": []", "\"lookupItems\": [\"" + long256 + "\"]")),
              "$.tables[0].columns[0].lookupItems[0]: text of 256 bytes is longer than the 255 "
              "bytes a field holds");
}

TEST(JsonModelTest, NamesAreUniqueAndCanNameFiles) {
    EXPECT_EQ(Problem(Shop("\"name\": \"ORDERS\"", "\"name\": \"Customer\"")),
              "$.tables[1].name: duplicate table \"Customer\"");
    EXPECT_EQ(Problem(Shop("{\"name\": \"CUST\"}", "{\"name\": \"id\"}")),
              "$.tables[1].columns[1].name: duplicate column \"id\"");
    EXPECT_EQ(Problem(Shop("\"name\": \"ORDERS\"", "\"name\": \"../ORDERS\"")),
              "$.tables[1].name: cannot name a file \"../ORDERS\": " +
                  com::UnsafeFileNameReason("../ORDERS"));
    EXPECT_EQ(Problem(Shop("\"name\": \"ORDERS\"", "\"name\": \"\"")),
              "$.tables[1].name: must not be empty");
    EXPECT_EQ(Problem(Shop("{\"name\": \"CUST\"}", "{\"name\": \"\"}")),
              "$.tables[1].columns[1].name: must not be empty");
    EXPECT_EQ(Problem(Shop("{\"name\": \"All\", ", "{\"name\": \"a/b\", ")),
              "$.schemas[0].name: cannot name a file \"a/b\": " + com::UnsafeFileNameReason("a/b"));
    std::string two = Shop("]}\n]}", "]}, {\"name\": \"all\"}\n]}");
    EXPECT_EQ(Problem(two), "$.schemas[1].name: duplicate schema \"all\"");
}

TEST(JsonModelTest, ReferencesNameTablesAndColumnsOfTheModel) {
    const std::string kHint = " (--keep-dangling keeps such a reference)";
    EXPECT_EQ(Problem(Shop("\"master\": \"customer\"", "\"master\": \"NOPE\"")),
              "$.tables[1].references[0].master: unknown table \"NOPE\"" + kHint);
    EXPECT_EQ(Problem(Shop("\"masterColumn\": \"ID\"", "\"masterColumn\": \"CUST\"")),
              "$.tables[1].references[0].pairs[0].masterColumn: table \"customer\" has no "
              "column \"CUST\"" +
                  kHint);
    EXPECT_EQ(Problem(Shop("\"localColumn\": \"CUST\"", "\"localColumn\": \"X\"")),
              "$.tables[1].references[0].pairs[0].localColumn: table \"ORDERS\" has no column "
              "\"X\"" +
                  kHint);
    // Schemas choose among the model's tables and columns.
    EXPECT_EQ(Problem(Shop("{\"name\": \"ORDERS\", \"columns\": [{\"name\": \"CUST\", ",
                           "{\"name\": \"ORDER\", \"columns\": [{\"name\": \"CUST\", ")),
              "$.schemas[0].tables[0].name: unknown table \"ORDER\"");
    EXPECT_EQ(Problem(Shop("[{\"name\": \"CUST\", \"type\": \"RefTop\"}]",
                           "[{\"name\": \"CUST\"}, {\"name\": \"cust\"}]")),
              "$.schemas[0].tables[0].columns[1].name: duplicate column \"cust\"");
    EXPECT_EQ(Problem(Shop("[{\"name\": \"CUST\", \"type\": \"RefTop\"}]", "[{\"name\": \"Q\"}]")),
              "$.schemas[0].tables[0].columns[0].name: table \"ORDERS\" has no column \"Q\"");
    EXPECT_EQ(Problem(Shop("{\"table\": \"CUSTOMER\"", "{\"table\": \"X\"")),
              "$.schemas[0].tables[0].references[0].table: unknown table \"X\"" + kHint);
    EXPECT_EQ(Problem(Shop("\"refColumn\": \"ID\"", "\"refColumn\": \"CUST\"")),
              "$.schemas[0].tables[0].references[0].pairs[0].refColumn: table \"CUSTOMER\" "
              "has no column \"CUST\"" +
                  kHint);
    EXPECT_EQ(Problem(Shop("\"keyColumn\": \"CUST\"", "\"keyColumn\": \"NAME\"")),
              "$.schemas[0].tables[0].references[0].pairs[0].keyColumn: table \"ORDERS\" has "
              "no column \"NAME\"" +
                  kHint);
    EXPECT_EQ(Problem(Shop("\"references\": [{\"table\": \"CUSTOMER\", \"pairs\": [",
                           "\"references\": [{\"table\": \"CUSTOMER\", \"pairs\": []}, "
                           "{\"table\": \"customer\", \"pairs\": [")),
              "$.schemas[0].tables[0].references[1].table: duplicate reference to \"customer\"");
}

TEST(JsonModelTest, DanglingReferencesAreKeptOnlyWhenAsked) {
    // A reference to a table the model lacks, one from a column its own table lacks, one to a
    // column its master lacks, and a schema's reference to a table the model lacks.
    std::string text = Shop("\"master\": \"customer\"", "\"master\": \"REGION\"");
    text.replace(text.find("\"localColumn\": \"CUST\""), 21,
                 "\"localColumn\": \"Q\"}, {\"masterColumn\": \"R\", \"localColumn\": \"CUST\"");
    text.replace(text.find("\"table\": \"CUSTOMER\""), 19, "\"table\": \"REGION\"");
    JsonModel model;
    std::string error;
    EXPECT_FALSE(ReadJsonModel(text, &model, &error));
    ASSERT_TRUE(ReadJsonModel(text, &model, &error, true)) << error << "\n" << text;
    EXPECT_EQ(model.tables[1].groups[0].pairs[0].localColumn, "Q");
    EXPECT_EQ(model.tables[1].groups[0].pairs[1].masterColumn, "R");
    EXPECT_EQ(model.schemas[0].Tables[0].RefTables[0].name, "REGION");
    // A known master's missing column is kept too.
    text = Shop("\"masterColumn\": \"ID\"", "\"masterColumn\": \"R\"");
    EXPECT_TRUE(ReadJsonModel(text, &model, &error, true)) << error;
    // Names must still be names.
    EXPECT_FALSE(
        ReadJsonModel(Shop("\"master\": \"customer\"", "\"master\": \"\""), &model, &error, true));
    EXPECT_EQ(error, "$.tables[1].references[0].master: must not be empty");
}

}  // namespace
}  // namespace morva::cli

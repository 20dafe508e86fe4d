#include "sqlcompiler/tests/corpus_model.h"

#include <gtest/gtest.h>

namespace morva::sql::corpus {
namespace {

std::string Canon(const std::string& declared) {
    return TypeText(Canonical(declared));
}

TEST(SqlCorpusModel, DeclaredTypesOfEveryDialectBecomeCanonical) {
    for (const char* v : {"character varying(40)", "VARCHAR2(40 CHAR)", "[NVARCHAR] (40)",
                          "NATIONAL CHARACTER VARYING(40)", "varchar(40) CHARACTER SET utf8"})
        EXPECT_EQ(Canon(v), "VARCHAR(40)") << v;
    for (const char* v : {"int4", "INT", "INT UNSIGNED", "int(10) unsigned", "[int]", "serial"})
        EXPECT_EQ(Canon(v), "INTEGER") << v;
    EXPECT_EQ(Canon("bigint(13)"), "BIGINT");
    EXPECT_EQ(Canon("tinyint(3) unsigned"), "SMALLINT");
    EXPECT_EQ(Canon("numeric(4,2)"), "NUMERIC(4,2)");
    EXPECT_EQ(Canon("[NUMERIC] (13,4)"), "NUMERIC(13,4)");
    EXPECT_EQ(Canon("NUMBER(19,0)"), "NUMERIC(19,0)");
    EXPECT_EQ(Canon("NUMBER"), "NUMERIC");
    EXPECT_EQ(Canon("DECIMAL(5)"), "DECIMAL(5,0)");
    EXPECT_EQ(Canon("CHAR"), "CHAR(1)");
    EXPECT_EQ(Canon("character(2)"), "CHAR(2)");
    EXPECT_EQ(Canon("timestamp(6) without time zone"), "TIMESTAMP");
    EXPECT_EQ(Canon("timestamp with time zone"), "TIMESTAMP");
    EXPECT_EQ(Canon("DATETIME"), "TIMESTAMP");
    EXPECT_EQ(Canon("double precision"), "DOUBLE");
    EXPECT_EQ(Canon("real"), "FLOAT");
    EXPECT_EQ(Canon("BLOB SUB_TYPE TEXT"), "TEXT");
    EXPECT_EQ(Canon("BLOB SUB_TYPE 0 SEGMENT SIZE 80"), "BLOB");
    EXPECT_EQ(Canon("[VARBINARY] (max)"), "BLOB");
    EXPECT_EQ(Canon("NVARCHAR(max)"), "TEXT");
    EXPECT_EQ(Canon("CLOB"), "TEXT");
    EXPECT_EQ(Canon("text[]"), "TEXT");
    EXPECT_EQ(Canon("bool"), "BOOLEAN");
    // No canonical name: the name as written.
    EXPECT_EQ(Canon("uuid"), "uuid");
    EXPECT_EQ(Canon("TRid"), "TRid");
}

TEST(SqlCorpusModel, CompactTextSortsTablesAndReferencesAndDropsSelfReferences) {
    std::vector<Table> tables = {
        {"orders",
         {{"id", "INTEGER", true}, {"parent", "INTEGER", false}},
         {{"Orders", {{"id", "parent"}}},
          {"region", {{"code", "rcode"}, {"no", "rno"}}},
          {"customer", {{"id", "cust"}}}}},
        {"customer", {{"id", "INTEGER", true}}, {}},
    };
    EXPECT_EQ(CompactText(tables),
              "table CUSTOMER\n"
              "  column ID INTEGER key\n"
              "table ORDERS\n"
              "  column ID INTEGER key\n"
              "  column PARENT INTEGER\n"
              "  ref CUSTOMER ID=CUST\n"
              "  ref REGION CODE=RCODE,NO=RNO\n");
    std::vector<Table> read;
    std::string error;
    ASSERT_TRUE(ParseCompactText("# comment\n" + CompactText(tables), &read, &error)) << error;
    EXPECT_EQ(CompactText(read), CompactText(tables));
    read.clear();
    EXPECT_FALSE(ParseCompactText("table T\n  colum A INTEGER\n", &read, &error));
    EXPECT_EQ(error, "line 2:   colum A INTEGER");
    read.clear();
    EXPECT_FALSE(ParseCompactText("column A INTEGER\n", &read, &error));
}

TEST(SqlCorpusModel, DumpJsonGivesTypesKeysAndReferences) {
    const std::string json =
        R"({"database": "D", "tables": [
  {"name": "ITEM", "type": "Sub", "label": "Caf\u00e9 \"x\"", "columns": [
    {"name": "ID", "type": "Key", "label": "", "dataType": "INTEGER", "length": 0, "displayWidth": 10, "flags": 1, "precision": 0, "scale": 0, "lookupTable": "", "lookupColumn": "", "lookupKey": "", "lookupItems": []},
    {"name": "PRICE", "type": "Normal", "label": "", "dataType": "NUMERIC", "length": 0, "displayWidth": 10, "flags": 2, "precision": 10, "scale": 2, "lookupTable": "", "lookupColumn": "", "lookupKey": "", "lookupItems": ["a", "b"]},
    {"name": "NOTE", "type": "Normal", "label": "", "dataType": "VARCHAR", "length": 200, "displayWidth": 200, "flags": 0, "precision": 0, "scale": 0, "lookupTable": "", "lookupColumn": "", "lookupKey": "", "lookupItems": []}], "references": [{"master": "ORDERS", "pairs": [{"masterColumn": "ID", "localColumn": "ORDER_ID"}, {"masterColumn": "NO", "localColumn": "ORDER_NO"}]}]}
]}
)";
    std::vector<Table> tables;
    std::string error;
    ASSERT_TRUE(TablesFromDumpJson(json, &tables, &error)) << error;
    EXPECT_EQ(CompactText(tables),
              "table ITEM\n"
              "  column ID INTEGER key\n"
              "  column PRICE NUMERIC(10,2)\n"
              "  column NOTE VARCHAR(200)\n"
              "  ref ORDERS ID=ORDER_ID,NO=ORDER_NO\n");
    tables.clear();
    EXPECT_FALSE(TablesFromDumpJson(json.substr(0, json.size() / 2), &tables, &error));
    EXPECT_FALSE(TablesFromDumpJson("Generate Information to D\n", &tables, &error));
}

}  // namespace
}  // namespace morva::sql::corpus

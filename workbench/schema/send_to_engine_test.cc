#include <gtest/gtest.h>

#include <stdexcept>

#include "workbench/schema/recording_engine.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/test_database.h"

namespace morva::schema {
namespace {

using testing::OrderDatabase;
using testing::RecordingEngine;
using Calls = std::vector<std::string>;

Calls Send(const TSchema& s, const TDatabaseInfor& db) {
    auto engine = com::MakeObject<RecordingEngine>();
    s.SendToEngine(*engine, db);
    return engine->calls;
}

TEST(SendToEngineTest, EmptySchemaSendsOnlyCreateDatabase) {
    TSchema s;
    s.DbName = "SHOP";
    EXPECT_EQ(Send(s, OrderDatabase()), Calls{"CreateDatabase(\"SHOP\",0)"});
}

TEST(SendToEngineTest, TablesThenReferencesThenLookupsInSchemaOrder) {
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("Main", "T", "L", db);
    // The referring table comes first: its reference points forwards.
    std::swap(s->Tables[0], s->Tables[1]);
    s->Tables[1].ColumnLabels[1] = "";
    Calls expected{
        "CreateDatabase(\"SHOP\",2)",
        "AddTable(\"ORDERS\",\"Sub\",\"Orders\",4,1)",
        "AddColumnIntoTable(\"ORDERS\",\"Key\",\"ORDER_NO\",\"Order\",\"INTEGER\",0,101,0,0)",
        "AddColumnIntoTable(\"ORDERS\",\"RefTop\",\"CUST_NO\",\"Customer\",\"INTEGER\",0,40,0,0)",
        "AddColumnIntoTable(\"ORDERS\",\"Normal\",\"TOTAL\",\"Total\",\"NUMERIC\",10,50,10,2)",
        "AddColumnIntoTable(\"ORDERS\",\"Normal\",\"NOTE\",null,\"VARCHAR\",80,320,0,0)",
        "AddTable(\"CUSTOMER\",\"Master\",\"Customers\",3,0)",
        "AddColumnIntoTable(\"CUSTOMER\",\"Key\",\"CUST_NO\",\"Number\",\"INTEGER\",0,41,0,0)",
        "AddColumnIntoTable(\"CUSTOMER\",\"Normal\",\"NAME\",null,\"VARCHAR\",40,160,0,0)",
        "AddColumnIntoTable(\"CUSTOMER\",\"Normal\",\"KIND\",\"Kind\",\"CHAR\",1,4,0,0)",
        "CreateRefTable(\"ORDERS\",\"CUSTOMER\",1)",
        "AddRefColumn(\"ORDERS\",\"CUSTOMER\",\"CUST_NO\",\"CUST_NO\")",
        "SetLookupItem(\"CUSTOMER\",\"KIND\",\"A\")",
        "SetLookupItem(\"CUSTOMER\",\"KIND\",\"B\")",
    };
    EXPECT_EQ(Send(*s, db), expected);
}

TEST(SendToEngineTest, SchemaColumnOrderAndDatabaseSpellingAndFacts) {
    TDatabaseInfor db = OrderDatabase();
    TSchema s;
    s.DbName = "SHOP";
    s.Tables.push_back({"ORDERS", "", "", {}, {"TOTAL", "ORDER_NO"}, {"Money", ""}, {"", "No"}});
    EXPECT_EQ(
        Send(s, db),
        (Calls{"CreateDatabase(\"SHOP\",1)", "AddTable(\"ORDERS\",null,null,2,0)",
               "AddColumnIntoTable(\"ORDERS\",\"Money\",\"TOTAL\",null,\"NUMERIC\",10,50,10,2)",
               "AddColumnIntoTable(\"ORDERS\",null,\"ORDER_NO\",\"No\",\"INTEGER\",0,101,0,0)"}));
}

TEST(SendToEngineTest, LookupTableNeedsAllThreeTextsItemsAlwaysGo) {
    TDatabaseInfor db = OrderDatabase();
    ColumnRecord* kind = db.Tables[0].FindColumn("KIND");
    kind->LookupTable = "KINDS";
    kind->LookupColumn = "TEXT";
    kind->LookupItems = {"", "A"};
    TSchema s;
    s.Tables.push_back({"CUSTOMER", "", "", {}, {"KIND"}, {""}, {""}});
    Calls calls = Send(s, db);
    Calls tail(calls.end() - 2, calls.end());
    EXPECT_EQ(tail, (Calls{"SetLookupItem(\"CUSTOMER\",\"KIND\",null)",
                           "SetLookupItem(\"CUSTOMER\",\"KIND\",\"A\")"}));

    kind->LookupKey = "ID";
    calls = Send(s, db);
    EXPECT_EQ(calls[3], "SetLookupTable(\"CUSTOMER\",\"KIND\",\"KINDS\",\"TEXT\",\"ID\")");
}

TEST(SendToEngineTest, WidthAndFlagsPackIntoOneInteger) {
    TDatabaseInfor db;
    TTableInfor t(2);
    t.TableName = "T";
    t.AddColumn(true, "A", "", "", "X", 0, 25, kColumnKey, 0, 0);
    t.AddColumn(true, "B", "", "", "X", 0, 7, kColumnKey | kColumnReadOnly, 0, 0);
    db.Tables.push_back(t);
    TSchema s;
    s.Tables.push_back(TSchemaInfor::FromTable(db.Tables[0]));
    Calls calls = Send(s, db);
    EXPECT_EQ(calls[2], "AddColumnIntoTable(\"T\",null,\"A\",null,\"X\",0,101,0,0)");
    EXPECT_EQ(calls[3], "AddColumnIntoTable(\"T\",null,\"B\",null,\"X\",0,31,0,0)");
}

TEST(SendToEngineTest, FailingCallStopsWithTheStatusText) {
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("Main", "", "", db);
    auto engine = com::MakeObject<RecordingEngine>();
    engine->failing = "AddColumnIntoTable";
    try {
        s->SendToEngine(*engine, db);
        FAIL() << "no error";
    } catch (const com::ComError& e) {
        EXPECT_STREQ(e.what(), com::StatusText(com::E_FAIL).c_str());
    }
    EXPECT_EQ(engine->calls.size(), 3u);
}

TEST(SendToEngineTest, MissingTableOrColumnStopsThere) {
    TDatabaseInfor db = OrderDatabase();
    TSchema s;
    s.Tables.push_back({"CUSTOMER", "", "", {}, {"NAME", "GONE"}, {"", ""}, {"", ""}});
    auto engine = com::MakeObject<RecordingEngine>();
    EXPECT_THROW(
        {
            try {
                s.SendToEngine(*engine, db);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Column GONE not found in table CUSTOMER");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(engine->calls.size(), 3u);

    s.Tables[0].TableName = "customer";  // tables match exactly
    engine->calls.clear();
    EXPECT_THROW(s.SendToEngine(*engine, db), std::runtime_error);
    EXPECT_EQ(engine->calls, Calls{"CreateDatabase(null,1)"});
}

// Columns are found by exact name in wide tables too, the first of equal names giving the
// facts, and one table's columns are never found for the next table.
TEST(SendToEngineTest, WideTablesDuplicateColumnsAndAlternatingEmptyTexts) {
    TDatabaseInfor db;
    db.Name = "W";
    TTableInfor wide(41);
    wide.TableName = "WIDE";
    for (int i = 0; i < 40; ++i)
        wide.AddColumn(true, "C" + std::to_string(i), "Normal", "", "INTEGER", i, 0, 0, 0, 0);
    wide.AddColumn(true, "C5", "Normal", "", "VARCHAR", 99, 0, 0, 0, 0);
    TTableInfor narrow(1);
    narrow.TableName = "NARROW";
    narrow.AddColumn(true, "N", "Normal", "", "", 7, 0, 0, 0, 0);
    db.Tables.push_back(std::move(wide));
    db.Tables.push_back(std::move(narrow));

    TSchema s;
    s.DbName = "W";
    TSchemaInfor t{"WIDE", "", "", {}, {}, {}, {}};
    for (int i = 39; i >= 0; --i)
        t.AppendColumn("C" + std::to_string(i), i % 2 ? "T" : "", i % 2 ? "" : "L");
    s.Tables.push_back(t);
    s.Tables.push_back({"NARROW", "", "", {}, {"N"}, {""}, {""}});
    Calls calls = Send(s, db);
    ASSERT_EQ(calls.size(), 44u);
    EXPECT_EQ(calls[2], "AddColumnIntoTable(\"WIDE\",\"T\",\"C39\",null,\"INTEGER\",39,0,0,0)");
    EXPECT_EQ(calls[3], "AddColumnIntoTable(\"WIDE\",null,\"C38\",\"L\",\"INTEGER\",38,0,0,0)");
    EXPECT_EQ(calls[36], "AddColumnIntoTable(\"WIDE\",\"T\",\"C5\",null,\"INTEGER\",5,0,0,0)");
    EXPECT_EQ(calls[41], "AddColumnIntoTable(\"WIDE\",null,\"C0\",\"L\",\"INTEGER\",0,0,0,0)");
    EXPECT_EQ(calls[43], "AddColumnIntoTable(\"NARROW\",null,\"N\",null,null,7,0,0,0)");

    s.Tables[1].AppendColumn("C1", "", "");
    EXPECT_THROW(Send(s, db), std::runtime_error);
}

// Of two tables of the same name the first gives the column facts, as FindTable finds it.
TEST(SendToEngineTest, FirstOfEqualTableNamesGivesTheFacts) {
    TDatabaseInfor db = OrderDatabase();
    TTableInfor second(1);
    second.TableName = "CUSTOMER";
    second.AddColumn(true, "ONLY_HERE", "Normal", "", "INTEGER", 0, 10, 0, 0, 0);
    db.Tables.push_back(std::move(second));
    TSchema s;
    s.Tables.push_back({"CUSTOMER", "", "", {}, {"NAME"}, {""}, {""}});
    EXPECT_NO_THROW(Send(s, db));
    s.Tables[0] = {"CUSTOMER", "", "", {}, {"ONLY_HERE"}, {""}, {""}};
    EXPECT_THROW(Send(s, db), std::runtime_error);
}

}  // namespace
}  // namespace morva::schema

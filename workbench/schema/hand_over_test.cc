// The hand-over against the real engine control: what a script sees of the schema.

#include <gtest/gtest.h>

#include "engine/host/cmorva.h"
#include "engine/host/store_loader.h"
#include "engine/store/store.h"
#include "engine/store/testing/store_dump.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/test_database.h"

namespace morva::schema {
namespace {

/// Hands `s` over, compiles and runs `script`, and returns the run's log text.
std::string RunOver(const TSchema& s, const TDatabaseInfor& db, const std::string& script) {
    auto engine = tpx::NewMorva();
    s.SendToEngine(*engine, db);
    engine->InitDatabase();
    engine->Clear();
    engine->SetScript(std::string("t.tpx"), script);
    engine->SetSchema(s.Name, s.SchemaType, s.SchemaLabel);
    engine->RunScript();
    std::string log;
    engine->GetLogText(&log);
    return log;
}

TEST(HandOverTest, ForwardReferencesEmptyLabelsAndLookupsReachTheScript) {
    TDatabaseInfor db = testing::OrderDatabase();
    auto s = TSchema::CreateFromDatabase("main", "Delphi", "Shop", db);
    std::swap(s->Tables[0], s->Tables[1]);  // ORDERS refers to CUSTOMER, which comes later
    s->Tables[1].ColumnLabels[1] = "";      // CUSTOMER.NAME without a label
    std::string log = RunOver(
        *s, db,
        "<TEXT>\n<S> <STYPE> <SL>\n<TABLES><T>:<REFTABLES> -> <REFT>(<REFCOLUMNS><FOREIGNKEY>="
        "<REFC></REFCOLUMNS>)</REFTABLES><COLUMNS> <L><LOOKUPITEMS>[<LOOKUPITEM>]</LOOKUPITEMS>"
        "</COLUMNS>\n</TABLES>\n</TEXT>\n");
    EXPECT_EQ(log,
              "t.tpx Compiling...\r\n0 Error,  0 Warning\r\nStart script...\r\n"
              "MAIN Delphi Shop\r\n"
              "ORDERS: -> CUSTOMER(CUST_NO=CUST_NO) Order Customer Total NOTE\r\n"
              "CUSTOMER: Number NAME Kind[A][B]\r\n"
              "End script.\r\n");
}

TEST(HandOverTest, TablesAndColumnsOutsideTheSchemaAreNotSent) {
    TDatabaseInfor db = testing::OrderDatabase();
    TSchema s;
    s.Tables.push_back(
        {"ORDERS", "", "", db.Tables[1].RefTables, {"TOTAL", "ORDER_NO"}, {"", ""}, {"", ""}});
    std::string log =
        RunOver(s, db,
                "<TEXT>\n<TABLES><T><REFTABLES> -> <REFT></REFTABLES>:<COLUMNS> "
                "<C>/<DISPSIZE>/<ISKEY>/<ISREADONLY></COLUMNS>\n</TABLES>\n</TEXT>\n");
    EXPECT_EQ(log,
              "t.tpx Compiling...\r\n0 Error,  0 Warning\r\nStart script...\r\n"
              "ORDERS: TOTAL/12/0/1 ORDER_NO/25/1/0\r\n"
              "End script.\r\n");
}

/// The dumps of the stores that the engine control and a store loader build from `s`, the
/// hand-over's failure text (empty when it went through) checked equal for both.
std::pair<std::string, std::string> BothStores(const TSchema& s, const TDatabaseInfor& db) {
    auto handOver = [&](auto& target) {
        try {
            s.SendToEngine(target, db);
            target.InitDatabase();
            return std::string();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
    };
    auto engine = tpx::NewMorva();
    tpx::StoreLoader loader;
    std::string engineError = handOver(*engine);
    EXPECT_EQ(handOver(loader), engineError);
    return {tpx::DumpStore(tpx::AsCMorva(engine.get())->database()),
            tpx::DumpStore(loader.store())};
}

TEST(HandOverTest, StoreLoaderBuildsTheEngineControlsStore) {
    TDatabaseInfor db = testing::OrderDatabase();
    auto s = TSchema::CreateFromDatabase("main", "Delphi", "Shop", db);
    std::swap(s->Tables[0], s->Tables[1]);
    auto [fromEngine, fromLoader] = BothStores(*s, db);
    EXPECT_NE(fromLoader.find("CUSTOMER"), std::string::npos);
    EXPECT_EQ(fromLoader, fromEngine);

    // A column the database lacks stops both at the same table, keeping what came before.
    s->Tables[1].ColumnNames.push_back("NOPE");
    s->Tables[1].ColumnTypes.push_back("");
    s->Tables[1].ColumnLabels.push_back("");
    std::tie(fromEngine, fromLoader) = BothStores(*s, db);
    EXPECT_NE(fromLoader.find("ORDERS"), std::string::npos);
    EXPECT_EQ(fromLoader, fromEngine);
}

// Handing a whole database over in place builds the store that a schema made from it builds:
// deselected tables and columns stay out, the first of equal table and column names gives the
// facts, and empty texts arrive as absent ones.
TEST(HandOverTest, WholeDatabaseInPlaceBuildsTheSchemasStore) {
    TDatabaseInfor db = testing::OrderDatabase();
    db.Tables[0].FindColumn("NAME")->Selected = false;
    db.Tables[1].TableLabel = "";
    TTableInfor extra(3);
    extra.TableName = "EXTRA";
    extra.AddColumn(true, "A", "Key", "First", "INTEGER", 0, 5, kColumnKey, 0, 0);
    extra.AddColumn(true, "A", "", "Second", "VARCHAR", 9, 3, 0, 0, 0);
    extra.AddColumn(true, "B", "", "", "CHAR", 1, 1, kColumnReadOnly, 0, 0);
    db.Tables.push_back(extra);
    TTableInfor hidden(1);
    hidden.TableName = "HIDDEN";
    hidden.Selected = false;
    hidden.AddColumn(true, "H", "", "", "INTEGER", 0, 1, 0, 0, 0);
    db.Tables.push_back(hidden);
    db.Tables.push_back(extra);  // a second table of the same name

    auto s = TSchema::CreateFromDatabase("", "", "", db);
    tpx::StoreLoader fromSchema, inPlace;
    s->SendToEngine(fromSchema, db);
    SendDatabaseToEngine(inPlace, db);
    fromSchema.InitDatabase();
    inPlace.InitDatabase();
    std::string dump = tpx::DumpStore(inPlace.store());
    EXPECT_EQ(dump, tpx::DumpStore(fromSchema.store()));
    EXPECT_NE(dump.find("EXTRA"), std::string::npos);
    EXPECT_EQ(dump.find("HIDDEN"), std::string::npos);

    // A database lacking nothing cannot fail; an empty one sends only its name.
    TDatabaseInfor empty;
    empty.Name = "E";
    tpx::StoreLoader none;
    SendDatabaseToEngine(none, empty);
    ASSERT_NE(none.store(), nullptr);
    EXPECT_EQ(none.store()->tables().count(), 0);
}

}  // namespace
}  // namespace morva::schema

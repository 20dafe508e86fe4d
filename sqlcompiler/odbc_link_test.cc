#include "sqlcompiler/odbc_link.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "component/message_box.h"
#include "component/testing/message_box_recorder.h"
#include "sqlcompiler/fake_odbc.h"
#include "sqlcompiler/sqlcomp.h"
#include "sqlcompiler/table_file.h"
#include "sqlcompiler/testing/model_dump.h"

namespace morva::sql {
namespace {

using testing::DumpModel;

namespace fs = std::filesystem;
using testing::FakeColumn;
using testing::FakeOdbc;
using testing::FakeTable;

using BoxRecorder = com::testing::MessageBoxRecorder;

class Sink : public com::Object<ISqlCompEvents> {
  public:
    std::vector<std::string> events;
    HRESULT OnError(int32_t lineno, const BStr& errMsg) override {
        events.push_back(std::to_string(lineno) + "|" + errMsg.value_or(""));
        return com::S_OK;
    }
    HRESULT OnWarning(const BStr& errMsg) override {
        events.push_back("W " + errMsg.value_or("<null>"));
        return com::S_OK;
    }
};

struct Folder {
    Folder() {
        std::string templ = (fs::temp_directory_path() / "odbcXXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::string path;
};

// A shop catalogue: a view, keys over several columns, a self reference and a reference to
// a table that is not listed. Its names match case-sensitively, so the lower-case table is
// found by neither the columns nor the keys step.
std::unique_ptr<FakeOdbc> ShopCatalogue() {
    auto fake = std::make_unique<FakeOdbc>();
    FakeTable lines{"order_lines",
                    {{"ORDER_ID"}, {"LINE_NO"}, {"PRICE", SQL_DECIMAL, "DECIMAL", 10, 12, 2, ""}},
                    {"ORDER_ID", "LINE_NO"},
                    {{"ORDERS", "ID", "ORDER_ID"}}};
    FakeTable orders{
        "ORDERS",
        {{"ID", SQL_INTEGER, "INTEGER", 10, 4, 7, "Order number"},
         {"PARENT", SQL_INTEGER, "INTEGER", 10, 4, 0, std::nullopt},
         {"WEIGHT", SQL_DOUBLE, "DOUBLE", 15, 8, 3, std::nullopt},
         {"CODE", SQL_VARCHAR, "VARCHAR(10)", 10, 10, 10, "Code"}},
        {"ID"},
        {{"ORDERS", "ID", "PARENT"}, {"ARCHIVE", "ID", "ID"}, {"ARCHIVE", "NO", "PARENT"}}};
    FakeTable view{"V_ORDERS", {{"ID"}}, {}, {}};
    fake->tables = {lines, orders, view};
    return fake;
}

TEST(OdbcLinkTest, CatalogueBecomesTheModelInTheStatedOrderOfCalls) {
    auto owned = ShopCatalogue();
    FakeOdbc* fake = owned.get();
    BoxRecorder boxes;
    Compilation c;
    c.ResetCompilation("");
    OdbcLink link(std::move(owned));
    ASSERT_TRUE(link.ReadCatalogue(c, "shop", "me", "secret"));
    EXPECT_TRUE(link.primaryKeysSupported());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(fake->connectedDsn, "shop");
    EXPECT_EQ(fake->connectedUser, "me");
    EXPECT_EQ(fake->connectedPassword, "secret");
    EXPECT_EQ(fake->statementsOpen, 0);
    std::vector<std::string> expectedStart{"AllocEnv",
                                           "AllocConnect",
                                           "SetConnectOption 103=15",
                                           "Connect",
                                           "GetFunctions 0",
                                           "AllocStmt",
                                           "Tables <absent> <absent> <absent> TABLE,VIEW",
                                           "BindCol 3 type 1 size 129"};
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), fake->calls.begin()));
    // Columns and keys are asked for by the upper-case name.
    EXPECT_NE(std::find(fake->calls.begin(), fake->calls.end(), "Columns ORDER_LINES"),
              fake->calls.end());
    EXPECT_EQ(fake->calls.back(), "Disconnect");

    EXPECT_EQ(DumpModel(c.model()),
              "TABLE ORDER_LINES type=\"\" label=\"order_lines\"\n"
              "TABLE ORDERS type=\"Sub\" label=\"ORDERS\"\n"
              "  COLUMN ID type=\"Key\" label=\"Order number\" data=\"INTEGER\" length=4 flags=1 "
              "precision=10 scale=0\n"
              "  COLUMN PARENT type=\"Normal\" label=\"PARENT\" data=\"INTEGER\" length=4 flags=0 "
              "precision=10 scale=0\n"
              "  COLUMN WEIGHT type=\"Normal\" label=\"WEIGHT\" data=\"DOUBLE\" length=8 flags=0 "
              "precision=15 scale=3\n"
              "  COLUMN CODE type=\"Normal\" label=\"Code\" data=\"VARCHAR(10)\" length=10 "
              "flags=0 precision=10 scale=0\n"
              "  REF ARCHIVE ID=ID NO=PARENT\n"
              "TABLE V_ORDERS type=\"\" label=\"V_ORDERS\"\n"
              "  COLUMN ID type=\"Normal\" label=\"ID\" data=\"INTEGER\" length=4 flags=0 "
              "precision=10 scale=0\n");
}

TEST(OdbcLinkTest, LaterListedMasterAndCutMasterNames) {
    auto fake = std::make_unique<FakeOdbc>();
    std::string longName(40, 'M');
    fake->tables = {{"DETAIL", {{"A"}, {"B"}}, {}, {{"MASTER", "ID", "A"}, {longName, "ID", "B"}}},
                    {"MASTER", {{"ID"}}, {"ID"}, {}},
                    {longName, {{"ID"}}, {}, {}}};
    Compilation c;
    c.ResetCompilation("");
    OdbcLink link(std::move(fake));
    ASSERT_TRUE(link.ReadCatalogue(c, "d", "", ""));
    const auto& tables = c.model().tables;
    EXPECT_EQ(tables[0]->type, "Sub");
    ASSERT_EQ(tables[0]->references.size(), 2u);
    EXPECT_EQ(tables[0]->references[1].masterTable, std::string(34, 'M'));
    EXPECT_EQ(tables[1]->type, "Master");
    EXPECT_EQ(tables[2]->type, "");  // the cut name matches no table
    // Catalogue references leave column types alone.
    EXPECT_EQ(tables[0]->columns[0]->type, "Normal");
}

TEST(OdbcLinkTest, OnlySuccessCountsForTablesAndColumns) {
    for (bool tablesStep : {true, false}) {
        auto owned = ShopCatalogue();
        FakeOdbc* fake = owned.get();
        (tablesStep ? fake->tablesResult : fake->columnsResult) = SQL_SUCCESS_WITH_INFO;
        fake->diagnosticState = "01004";
        fake->diagnosticMessage = "String data, right truncated";
        BoxRecorder boxes;
        Compilation c;
        c.ResetCompilation("");
        OdbcLink link(std::move(owned));
        EXPECT_FALSE(link.ReadCatalogue(c, "shop", "", ""));
        EXPECT_EQ(boxes.boxes,
                  std::vector<std::string>{"ODBC Error!: 01004: String data, right truncated"});
        EXPECT_EQ(fake->calls.back(), "Disconnect");
        EXPECT_EQ(fake->statementsOpen, 0);
    }
}

TEST(OdbcLinkTest, FailingKeysStepFailsAndWithoutPrimaryKeysNoKeysAreRead) {
    {
        auto owned = ShopCatalogue();
        owned->failAllocStmtAt = 5;  // tables, three columns steps, then the second keys step
        BoxRecorder boxes;
        Compilation c;
        c.ResetCompilation("");
        OdbcLink link(std::move(owned));
        EXPECT_FALSE(link.ReadCatalogue(c, "shop", "", ""));
        EXPECT_EQ(boxes.boxes,
                  std::vector<std::string>{"ODBC Error!: Cannot allocate statement handle"});
    }
    auto owned = ShopCatalogue();
    FakeOdbc* fake = owned.get();
    owned->supportsPrimaryKeys = false;
    Compilation c;
    c.ResetCompilation("");
    OdbcLink link(std::move(owned));
    ASSERT_TRUE(link.ReadCatalogue(c, "shop", "", ""));
    EXPECT_EQ(c.model().tables[1]->columns[0]->type, "Normal");
    EXPECT_TRUE(c.model().tables[1]->references.empty());
    for (const std::string& call : fake->calls) EXPECT_FALSE(call.starts_with("PrimaryKeys"));
}

TEST(OdbcLinkTest, UnavailableDriverManagerAndMissingDataSources) {
    BoxRecorder boxes;
    auto fake = std::make_unique<FakeOdbc>();
    fake->failAllocConnect = true;
    FakeOdbc* raw = fake.get();
    Compilation c;
    c.ResetCompilation("");
    OdbcLink link(std::move(fake));
    EXPECT_FALSE(link.available());
    link.ListDataSources();
    EXPECT_FALSE(link.ReadCatalogue(c, "x", "", ""));
    EXPECT_EQ(boxes.boxes, (std::vector<std::string>{"ODBC Error!: Cannot found ODBC driver",
                                                     "ODBC Error!: ODBC is not available"}));
    EXPECT_EQ(raw->calls, (std::vector<std::string>{"AllocEnv", "AllocConnect", "FreeEnv"}));

    boxes.boxes.clear();
    OdbcLink empty(std::make_unique<FakeOdbc>());
    empty.ListDataSources();
    EXPECT_TRUE(empty.dataSources().empty());
    EXPECT_EQ(boxes.boxes,
              std::vector<std::string>{"ODBC Error!: Cannot found Data Source Name(s)\n"});
}

TEST(OdbcLinkTest, DataSourceNamesAreCutTo31Bytes) {
    auto fake = std::make_unique<FakeOdbc>();
    fake->dataSources = {"first", std::string(40, 'x')};
    OdbcLink link(std::move(fake));
    link.ListDataSources();
    EXPECT_EQ(link.dataSources(), (std::vector<std::string>{"first", std::string(31, 'x')}));
}

TEST(SqlCompOdbcTest, GenerateFromOdbcWritesTablesAndShowsTheSummaryBox) {
    auto fake = ShopCatalogue();
    fake->tables.push_back({"BAD/NAME", {{"A"}}, {}, {}});
    auto comp = com::MakeObject<SqlComp, ISqlComp>(std::move(fake));
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxRecorder boxes;
    Folder dir;
    EXPECT_EQ(comp->GenerateFromODBCBy(std::string("shop"), std::string("me"), std::string("pw"),
                                       dir.path),
              com::S_OK);
    EXPECT_EQ(sink->events,
              (std::vector<std::string>{"1|4 table detected.", "1|\tORDER_LINES", "1|\tORDERS",
                                        "1|\tV_ORDERS", "1|\tBAD/NAME", "1|*** Fail ***"}));
    EXPECT_EQ(boxes.boxes,
              std::vector<std::string>{"Morva ODBC Driver: Database shop with 4 tables created"});
    std::vector<TableFile> tables;
    std::string error;
    ASSERT_TRUE(LoadDatabaseFolder(dir.path, &tables, &error)) << error;
    EXPECT_EQ(tables.size(), 3u);
}

TEST(SqlCompOdbcTest, FailedConnectWritesNothingAndKeepsThePasswordOut) {
    auto fake = ShopCatalogue();
    fake->connectResult = SQL_ERROR;
    fake->diagnosticState = "28000";
    fake->diagnosticMessage = "password authentication failed";
    auto comp = com::MakeObject<SqlComp, ISqlComp>(std::move(fake));
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxRecorder boxes;
    Folder dir;
    comp->GenerateFromODBCBy(std::string("shop"), std::string("me"), std::string("hunter2"),
                             dir.path);
    EXPECT_TRUE(sink->events.empty());
    EXPECT_EQ(boxes.boxes,
              std::vector<std::string>{"ODBC Error!: 28000: password authentication failed"});
    EXPECT_TRUE(fs::is_empty(dir.path));
}

TEST(SqlCompOdbcTest, GetDataSourcesEndsWithAnEmptyName) {
    auto fake = std::make_unique<FakeOdbc>();
    fake->dataSources = {"one", "two"};
    auto comp = com::MakeObject<SqlComp, ISqlComp>(std::move(fake));
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    EXPECT_EQ(comp->Invoke(kDispGetDataSources, {}, nullptr), com::S_OK);
    EXPECT_EQ(sink->events, (std::vector<std::string>{"W one", "W two", "W "}));
    sink->events.clear();
    BoxRecorder boxes;
    auto none = com::MakeObject<SqlComp, ISqlComp>(std::make_unique<FakeOdbc>());
    none.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    none->GetDataSources();
    EXPECT_EQ(sink->events, std::vector<std::string>{"W "});
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace morva::sql

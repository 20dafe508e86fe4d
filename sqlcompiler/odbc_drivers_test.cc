// Catalogue extraction through the real driver manager against real drivers: SQLite through
// its ODBC driver, and PostgreSQL 15 through psqlODBC with a private server. Data sources are
// configured only through files written here and the ODBCSYSINI and ODBCINI variables.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "component/message_box.h"
#include "component/testing/message_box_recorder.h"
#include "sqlcompiler/sqlcomp.h"
#include "sqlcompiler/table_file.h"
#include "sqlcompiler/table_file_dump.h"
#include "tests/support/postgres_server.h"

// The drivers and the PostgreSQL client library keep a few allocations until the process
// ends; they are theirs, not ours, so the leak checker of sanitizer builds skips them. The
// drivers are kept loaded (below) so that their leaks can still be told apart at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsqlite3odbc\nleak:psqlodbca.so\nleak:libpq.so\n";
}

namespace morva::sql {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOdbcDriverDir = ODBC_DRIVER_DIR;

using BoxRecorder = com::testing::MessageBoxRecorder;

class Sink : public com::Object<ISqlCompEvents> {
  public:
    std::vector<std::string> lines;
    std::vector<std::string> names;
    HRESULT OnError(int32_t lineno, const BStr& errMsg) override {
        lines.push_back(std::to_string(lineno) + "|" + errMsg.value_or(""));
        return com::S_OK;
    }
    HRESULT OnWarning(const BStr& errMsg) override {
        names.push_back(errMsg.value_or(""));
        return com::S_OK;
    }
};

// The driver manager reads ODBCSYSINI once per process, at its first use, so it is pointed
// at an empty folder of this run's own before any test starts: no system data sources and no
// system drivers. Each suite's data sources go into its own user file named by ODBCINI,
// which is read at every use, and name their drivers by path.
class SystemFolder {
  public:
    SystemFolder() {
        std::string templ = (fs::temp_directory_path() / "morva-odbcinstXXXXXX").string();
        folder_ = ::mkdtemp(templ.data());
        std::ofstream(folder_ + "/odbcinst.ini") << "";
        std::ofstream(folder_ + "/odbc.ini") << "";
        ::setenv("ODBCSYSINI", folder_.c_str(), 1);
        ::setenv("ODBCINI", (folder_ + "/odbc.ini").c_str(), 1);
        for (const char* driver : {"/libsqlite3odbc.so", "/psqlodbca.so"})
            ::dlopen((std::string(kOdbcDriverDir) + driver).c_str(), RTLD_NOW);
    }
    ~SystemFolder() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

  private:
    std::string folder_;
};
const SystemFolder systemFolder;

const std::string kSqliteDriver = std::string(kOdbcDriverDir) + "/libsqlite3odbc.so";
const std::string kPostgresDriver = std::string(kOdbcDriverDir) + "/psqlodbca.so";

// A folder for the data sources and databases of one suite.
class OdbcConfig {
  public:
    OdbcConfig() {
        std::string templ = (fs::temp_directory_path() / "morva-odbcXXXXXX").string();
        folder = ::mkdtemp(templ.data());
    }
    ~OdbcConfig() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    /// Writes `dataSources` as the user's data sources and points ODBCINI at them.
    void Write(const std::string& dataSources) const {
        std::ofstream(folder + "/odbc.ini") << dataSources;
        ::setenv("ODBCINI", (folder + "/odbc.ini").c_str(), 1);
    }
    std::string folder;
};

struct Extraction {
    std::vector<std::string> lines;
    std::vector<std::string> boxes;
    std::string dump;  // what `morva-cli dump` prints for the written folder
    size_t files = 0;
};

Extraction Extract(const std::string& dsn, const std::string& user, const std::string& password,
                   const std::string& dbPath) {
    auto comp = com::MakeObject<SqlComp, ISqlComp>();
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxRecorder boxes;
    std::string error;
    EXPECT_TRUE(EnsureDatabaseFolder(dbPath, &error)) << error;
    EXPECT_EQ(comp->GenerateFromODBCBy(dsn, user, password, dbPath), com::S_OK);
    Extraction result{sink->lines, boxes.boxes, "", 0};
    std::vector<TableFile> tables;
    EXPECT_TRUE(LoadDatabaseFolder(dbPath, &tables, &error)) << error;
    result.dump = DumpTablesText(tables);
    result.files = tables.size();
    return result;
}

class SqliteOdbcTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        config_ = new OdbcConfig;
        std::string db = config_->folder + "/shop.db";
        sqlite3* handle = nullptr;
        ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
        const char* schema =
            "CREATE TABLE customer (id INTEGER NOT NULL PRIMARY KEY, name VARCHAR(40),"
            "  region_code CHAR(2), region_no INTEGER,"
            "  FOREIGN KEY (region_code, region_no) REFERENCES region (code, no));"
            "CREATE TABLE orders (id INTEGER NOT NULL PRIMARY KEY,"
            "  customer_id INTEGER REFERENCES customer (id),"
            "  parent_id INTEGER REFERENCES orders (id), total DECIMAL(10,2), ordered DATE);"
            "CREATE TABLE region (code CHAR(2) NOT NULL, no INTEGER NOT NULL, name VARCHAR(30),"
            "  PRIMARY KEY (code, no));"
            "CREATE VIEW big_orders AS SELECT id, total FROM orders WHERE total > 100;";
        char* message = nullptr;
        ASSERT_EQ(sqlite3_exec(handle, schema, nullptr, nullptr, &message), SQLITE_OK) << message;
        sqlite3_close(handle);
        config_->Write("[shop]\nDriver=" + kSqliteDriver + "\nDatabase=" + db + "\nNoCreat=1\n\n" +
                       "[nowhere]\nDriver=" + kSqliteDriver + "\nDatabase=" + config_->folder +
                       "/missing/none.db\nNoCreat=1\n");
    }
    static void TearDownTestSuite() {
        delete config_;
        config_ = nullptr;
    }
    static OdbcConfig* config_;
};
OdbcConfig* SqliteOdbcTest::config_ = nullptr;

TEST_F(SqliteOdbcTest, DataSourcesAreListedFromTheTestsOwnFiles) {
    auto comp = com::MakeObject<SqlComp, ISqlComp>();
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxRecorder boxes;
    comp->GetDataSources();
    EXPECT_EQ(sink->names, (std::vector<std::string>{"shop", "nowhere", ""}));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SqliteOdbcTest, CatalogueBecomesTableFiles) {
    Extraction x = Extract("shop", "", "", config_->folder + "/db/shop");
    EXPECT_EQ(x.boxes,
              std::vector<std::string>{"Morva ODBC Driver: Database shop with 4 tables created"});
    // The driver lists tables before views.
    EXPECT_EQ(x.lines, (std::vector<std::string>{"1|4 table detected.", "1|\tCUSTOMER",
                                                 "1|\tORDERS", "1|\tREGION", "1|\tBIG_ORDERS"}));
    // DECIMAL(10,2) arrives with type code 12 (VARCHAR), so its scale becomes 0. The self
    // reference of ORDERS is not recorded; REGION, listed later, is still a master.
    EXPECT_EQ(x.dump, R"dump(TABLE BIG_ORDERS type="" label="big_orders"
  COLUMN ID type="Normal" label="id" data="INTEGER" length=10 width=10 flags=0 precision=9 scale=0
  COLUMN TOTAL type="Normal" label="total" data="DECIMAL(10,2)" length=10 width=10 flags=0 precision=2 scale=0
TABLE CUSTOMER type="SubMaster" label="customer"
  COLUMN ID type="Key" label="id" data="INTEGER" length=10 width=10 flags=1 precision=9 scale=0
  COLUMN NAME type="Normal" label="name" data="VARCHAR(40)" length=40 width=40 flags=0 precision=40 scale=0
  COLUMN REGION_CODE type="Normal" label="region_code" data="CHAR(2)" length=2 width=2 flags=0 precision=2 scale=0
  COLUMN REGION_NO type="Normal" label="region_no" data="INTEGER" length=10 width=10 flags=0 precision=9 scale=0
  REF REGION CODE=REGION_CODE NO=REGION_NO
TABLE ORDERS type="Sub" label="orders"
  COLUMN ID type="Key" label="id" data="INTEGER" length=10 width=10 flags=1 precision=9 scale=0
  COLUMN CUSTOMER_ID type="Normal" label="customer_id" data="INTEGER" length=10 width=10 flags=0 precision=9 scale=0
  COLUMN PARENT_ID type="Normal" label="parent_id" data="INTEGER" length=10 width=10 flags=0 precision=9 scale=0
  COLUMN TOTAL type="Normal" label="total" data="DECIMAL(10,2)" length=10 width=10 flags=0 precision=2 scale=0
  COLUMN ORDERED type="Normal" label="ordered" data="DATE" length=10 width=10 flags=0 precision=0 scale=0
  REF CUSTOMER ID=CUSTOMER_ID
TABLE REGION type="Master" label="region"
  COLUMN CODE type="Key" label="code" data="CHAR(2)" length=2 width=2 flags=1 precision=2 scale=0
  COLUMN NO type="Key" label="no" data="INTEGER" length=10 width=10 flags=1 precision=9 scale=0
  COLUMN NAME type="Normal" label="name" data="VARCHAR(30)" length=30 width=30 flags=0 precision=30 scale=0
)dump");
}

TEST_F(SqliteOdbcTest, WrongDatabasePathFailsAndWritesNothing) {
    Extraction x = Extract("nowhere", "", "", config_->folder + "/db/nowhere");
    ASSERT_EQ(x.boxes.size(), 1u);
    EXPECT_TRUE(x.boxes[0].starts_with("ODBC Error!: ")) << x.boxes[0];
    EXPECT_TRUE(x.lines.empty());
    EXPECT_EQ(x.files, 0u);
    EXPECT_FALSE(fs::exists(config_->folder + "/missing"));
}

TEST(OdbcWithoutDataSourcesTest, ListingShowsTheBoxAndEndsTheList) {
    OdbcConfig config;
    config.Write("");
    auto comp = com::MakeObject<SqlComp, ISqlComp>();
    auto sink = com::MakeObject<Sink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxRecorder boxes;
    comp->GetDataSources();
    EXPECT_EQ(sink->names, std::vector<std::string>{""});
    EXPECT_EQ(boxes.boxes,
              std::vector<std::string>{"ODBC Error!: Cannot found Data Source Name(s)\n"});
}

class PostgresOdbcTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = new testing::PostgresServer;
        if (!server_->Start(&why_)) return;
        std::string error;
        bool ok = server_->RunSql("postgres", "CREATE DATABASE shop", &error) &&
                  server_->RunSql("shop",
                                  "CREATE TABLE customer (id INTEGER PRIMARY KEY,"
                                  "  name VARCHAR(40), region_code CHAR(2), region_no INTEGER);"
                                  "CREATE TABLE region (code CHAR(2), no INTEGER,"
                                  "  name VARCHAR(30), PRIMARY KEY (code, no));"
                                  "ALTER TABLE customer ADD FOREIGN KEY (region_code, region_no)"
                                  "  REFERENCES region (code, no);"
                                  "CREATE TABLE orders (id INTEGER PRIMARY KEY,"
                                  "  customer_id INTEGER REFERENCES customer (id),"
                                  "  parent_id INTEGER REFERENCES orders (id),"
                                  "  total NUMERIC(10,2), ordered DATE);"
                                  "CREATE VIEW big_orders AS SELECT id, total FROM orders;"
                                  "CREATE TABLE \"MixedCase\" (\"Id\" INTEGER PRIMARY KEY);",
                                  &error);
        if (!ok) why_ = "cannot fill the database: " + error;
        config_ = new OdbcConfig;
        config_->Write("[pgshop]\nDriver=" + kPostgresDriver + "\nServername=127.0.0.1\nPort=" +
                       std::to_string(server_->port()) + "\nDatabase=shop\n");
    }
    static void TearDownTestSuite() {
        delete server_;  // stops the server
        server_ = nullptr;
        delete config_;
        config_ = nullptr;
    }
    void SetUp() override {
        if (!server_->running()) GTEST_SKIP() << "PostgreSQL cannot start: " << why_;
        ASSERT_TRUE(why_.empty()) << why_;
    }
    static testing::PostgresServer* server_;
    static OdbcConfig* config_;
    static std::string why_;
};
testing::PostgresServer* PostgresOdbcTest::server_ = nullptr;
OdbcConfig* PostgresOdbcTest::config_ = nullptr;
std::string PostgresOdbcTest::why_;

TEST_F(PostgresOdbcTest, CatalogueBecomesTableFiles) {
    Extraction x =
        Extract("pgshop", server_->user(), server_->password(), config_->folder + "/db/pgshop");
    EXPECT_EQ(x.boxes,
              std::vector<std::string>{"Morva ODBC Driver: Database pgshop with 5 tables created"});
    EXPECT_EQ(x.lines,
              (std::vector<std::string>{"1|5 table detected.", "1|\tMIXEDCASE", "1|\tBIG_ORDERS",
                                        "1|\tCUSTOMER", "1|\tORDERS", "1|\tREGION"}));
    // The lower-case names are found through their upper-case forms; the quoted mixed-case
    // table is not, and is written without columns.
    EXPECT_EQ(x.dump, R"dump(TABLE BIG_ORDERS type="" label="big_orders"
  COLUMN ID type="Normal" label="id" data="int4" length=4 width=4 flags=0 precision=10 scale=0
  COLUMN TOTAL type="Normal" label="total" data="numeric" length=12 width=12 flags=0 precision=10 scale=2
TABLE CUSTOMER type="SubMaster" label="customer"
  COLUMN ID type="Key" label="id" data="int4" length=4 width=4 flags=1 precision=10 scale=0
  COLUMN NAME type="Normal" label="name" data="varchar" length=160 width=160 flags=0 precision=40 scale=0
  COLUMN REGION_CODE type="Normal" label="region_code" data="bpchar" length=8 width=8 flags=0 precision=2 scale=0
  COLUMN REGION_NO type="Normal" label="region_no" data="int4" length=4 width=4 flags=0 precision=10 scale=0
  REF REGION CODE=REGION_CODE NO=REGION_NO
TABLE MIXEDCASE type="" label="MixedCase"
TABLE ORDERS type="Sub" label="orders"
  COLUMN ID type="Key" label="id" data="int4" length=4 width=4 flags=1 precision=10 scale=0
  COLUMN CUSTOMER_ID type="Normal" label="customer_id" data="int4" length=4 width=4 flags=0 precision=10 scale=0
  COLUMN PARENT_ID type="Normal" label="parent_id" data="int4" length=4 width=4 flags=0 precision=10 scale=0
  COLUMN TOTAL type="Normal" label="total" data="numeric" length=12 width=12 flags=0 precision=10 scale=2
  COLUMN ORDERED type="Normal" label="ordered" data="date" length=6 width=6 flags=0 precision=10 scale=0
  REF CUSTOMER ID=CUSTOMER_ID
TABLE REGION type="Master" label="region"
  COLUMN CODE type="Key" label="code" data="bpchar" length=8 width=8 flags=1 precision=2 scale=0
  COLUMN NO type="Key" label="no" data="int4" length=4 width=4 flags=1 precision=10 scale=0
  COLUMN NAME type="Normal" label="name" data="varchar" length=120 width=120 flags=0 precision=30 scale=0
)dump");
}

TEST_F(PostgresOdbcTest, WrongPasswordShowsTheDiagnosticAndWritesNothing) {
    Extraction x =
        Extract("pgshop", server_->user(), "not-the-password", config_->folder + "/db/wrong");
    ASSERT_EQ(x.boxes.size(), 1u);
    EXPECT_TRUE(x.boxes[0].starts_with("ODBC Error!: ")) << x.boxes[0];
    EXPECT_NE(x.boxes[0].find("password authentication failed"), std::string::npos) << x.boxes[0];
    EXPECT_EQ(x.boxes[0].find("not-the-password"), std::string::npos);
    EXPECT_TRUE(x.lines.empty());
    EXPECT_EQ(x.files, 0u);
}

}  // namespace
}  // namespace morva::sql

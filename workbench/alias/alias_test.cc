#include "workbench/alias/alias.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdlib>
#include <filesystem>

#include "tests/support/postgres_server.h"
#include "workbench/alias/build_from_alias.h"

namespace morva::alias {
namespace {

namespace fs = std::filesystem;

/// Qt loads its database drivers only inside an application object.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "alias_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication app(argc, argv);
}

std::string TempPath(const std::string& leaf) {
    return (fs::temp_directory_path() / ("morva-alias-" + std::to_string(::getpid()) + leaf))
        .string();
}

Alias SampleAlias() {
    Alias a = DefaultAlias();
    a.database = SAMPLE_DATABASE;
    return a;
}

const schema::ColumnRecord& Column(const schema::TDatabaseInfor& db, const std::string& table,
                                   const std::string& column) {
    const schema::TTableInfor* t = db.FindTable(table);
    EXPECT_NE(t, nullptr) << table;
    const schema::ColumnRecord* c = t ? t->FindColumn(column) : nullptr;
    EXPECT_NE(c, nullptr) << table << "." << column;
    static schema::ColumnRecord none;
    return c ? *c : none;
}

TEST(FieldTypesTest, NamesFollowTheLogicalTypes) {
    EXPECT_STREQ(FieldTypeNames(FieldType::ftCurrency), "INTEGER");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftWord), "SMALLINT");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftBoolean), "BIT");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftBCD), "BINARY");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftMemo), "BINARY");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftDateTime), "TIMESTAMP");
    EXPECT_STREQ(FieldTypeNames(FieldType::ftUnknown), "INTEGER");
}

TEST(FieldTypesTest, DeclaredTypesMapIgnoringCaseAndSizes) {
    EXPECT_EQ(FieldTypeOfDeclared("varchar(40)"), FieldType::ftString);
    EXPECT_EQ(FieldTypeOfDeclared("character varying"), FieldType::ftString);
    EXPECT_EQ(FieldTypeOfDeclared("NUMERIC(12, 2)"), FieldType::ftFloat);
    EXPECT_EQ(FieldTypeOfDeclared("timestamp without time zone"), FieldType::ftDateTime);
    EXPECT_EQ(FieldTypeOfDeclared("UNSIGNED BIG INT"), FieldType::ftInteger);
    EXPECT_EQ(FieldTypeOfDeclared("money"), FieldType::ftCurrency);
    EXPECT_EQ(FieldTypeOfDeclared(""), FieldType::ftUnknown);
}

TEST(AliasStoreTest, DefaultFirstThenStoredAliasesByName) {
    std::string path = TempPath("-settings.ini");
    AliasStore store(path);
    ASSERT_EQ(store.List().size(), 1u);
    EXPECT_EQ(store.List()[0].name, kDefaultAliasName);

    Alias pg{"shop", "QPSQL", "shop", "127.0.0.1", 5433, "morva", ""};
    Alias other{"Archive", "QSQLITE", "/tmp/a.db", "", 0, "", ""};
    std::string error;
    ASSERT_TRUE(store.Save(pg, &error)) << error;
    ASSERT_TRUE(store.Save(other, &error)) << error;
    std::vector<Alias> all = store.List();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1], other);
    EXPECT_EQ(all[2], pg);
    EXPECT_EQ(store.Find("SHOP"), pg);

    Alias mine{"orderentry", "QSQLITE", "/elsewhere.db", "", 0, "", ""};
    ASSERT_TRUE(store.Save(mine, &error));
    EXPECT_EQ(store.Find(kDefaultAliasName)->database, "/elsewhere.db");
    EXPECT_EQ(store.List().size(), 3u);
    EXPECT_TRUE(store.Remove("ORDERENTRY"));
    EXPECT_FALSE(store.Remove("nothing"));
    EXPECT_EQ(store.Find(kDefaultAliasName)->driver, "QSQLITE");
    fs::remove(path);
}

// The sample database is found from the program's folder (the build's copy beside bin/), so
// no build folder's path is compiled in; the environment variable still wins.
TEST(AliasStoreTest, DefaultAliasFindsTheSampleDatabaseFromTheProgramsFolder) {
    const char* set = std::getenv("MORVA_SAMPLE_DATABASE");
    const std::string saved = set ? set : "";
    ::unsetenv("MORVA_SAMPLE_DATABASE");
    EXPECT_EQ(fs::path(DefaultAlias().database), fs::path(SAMPLE_DATABASE));
    ::setenv("MORVA_SAMPLE_DATABASE", "/elsewhere/sample.db", 1);
    EXPECT_EQ(DefaultAlias().database, "/elsewhere/sample.db");
    if (set)
        ::setenv("MORVA_SAMPLE_DATABASE", saved.c_str(), 1);
    else
        ::unsetenv("MORVA_SAMPLE_DATABASE");
}

TEST(AliasSqliteTest, SampleDatabaseBuildsWithTypesSizesAndKeys) {
    EnsureApplication();
    AliasConnection connection;
    std::string error;
    ASSERT_TRUE(connection.Open(SampleAlias(), &error)) << error;
    std::vector<std::string> tables = connection.Tables();
    EXPECT_EQ(tables, (std::vector<std::string>{"COUNTRY", "CUSTOMER", "EMPLOYEE", "ORDERS",
                                                "ORDER_LINE", "PAYMENT", "PRODUCT", "SUPPLIER"}));

    schema::TDatabaseInfor db;
    ASSERT_TRUE(BuildFromBde(db, SampleAlias(), tables, &error)) << error;
    EXPECT_EQ(db.Name, kDefaultAliasName);
    ASSERT_EQ(db.Tables.size(), 8u);
    const schema::TTableInfor& customer = *db.FindTable("CUSTOMER");
    EXPECT_EQ(customer.TableType, "Normal");
    EXPECT_EQ(customer.TableLabel, "Normal");
    EXPECT_EQ(customer.Capacity(), 9);

    const schema::ColumnRecord& no = Column(db, "CUSTOMER", "CUST_NO");
    EXPECT_EQ(no.Type, "Key");
    EXPECT_EQ(no.Flags, 1);
    EXPECT_EQ(no.DataType, "INTEGER");
    EXPECT_EQ(no.Label, "CUST_NO");

    const schema::ColumnRecord& name = Column(db, "CUSTOMER", "NAME");
    EXPECT_EQ(name.Type, "Normal");
    EXPECT_EQ(name.DataType, "VARCHAR");
    EXPECT_EQ(name.Length, 40);
    EXPECT_EQ(name.DisplayWidth, 40);

    const schema::ColumnRecord& limit = Column(db, "CUSTOMER", "CREDIT_LIMIT");
    EXPECT_EQ(limit.DataType, "FLOAT");
    EXPECT_EQ(limit.Precision, 12);
    EXPECT_EQ(limit.Length, 2);
    EXPECT_EQ(limit.Scale, 0);

    EXPECT_EQ(Column(db, "COUNTRY", "COUNTRY_CODE").Length, 2);
    EXPECT_EQ(Column(db, "COUNTRY", "COUNTRY_CODE").Flags, 1);
    EXPECT_EQ(Column(db, "ORDER_LINE", "LINE_NO").DataType, "SMALLINT");
    EXPECT_EQ(Column(db, "ORDER_LINE", "LINE_NO").Flags, 1);
    EXPECT_EQ(Column(db, "ORDER_LINE", "PRODUCT_NO").Flags, 0);
    EXPECT_EQ(Column(db, "ORDERS", "ORDER_DATE").DataType, "DATE");
    EXPECT_EQ(Column(db, "ORDERS", "ORDER_DATE").Type, "Key");  // indexed
    EXPECT_EQ(Column(db, "PRODUCT", "PICTURE").DataType, "BINARY");
}

TEST(AliasSqliteTest, MissingTableOrFileStopsTheBuild) {
    EnsureApplication();
    schema::TDatabaseInfor db;
    std::string error;
    EXPECT_FALSE(BuildFromBde(db, SampleAlias(), {"COUNTRY", "NOPE", "ORDERS"}, &error));
    EXPECT_EQ(error, "NOPE: no such table");
    ASSERT_EQ(db.Tables.size(), 1u);
    EXPECT_EQ(db.Tables[0].TableName, "COUNTRY");

    Alias missing = SampleAlias();
    missing.database = "/nonexistent/x.db";
    EXPECT_FALSE(BuildFromBde(db, missing, {"COUNTRY"}, &error));
    EXPECT_EQ(error, "alias ORDERENTRY: /nonexistent/x.db: no such file");
    EXPECT_TRUE(db.Tables.empty());
}

class AliasPostgresTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        EnsureApplication();
        server_ = new morva::testing::PostgresServer;
        std::string why;
        if (!server_->Start(&why)) return;
        ready_ = server_->RunSql("postgres", "CREATE DATABASE shop", &why) &&
                 server_->RunSql("shop",
                                 "CREATE TABLE customer (cust_no integer PRIMARY KEY, "
                                 "name varchar(40) NOT NULL, credit_limit numeric(12,2), "
                                 "rating real, kind char(1), joined date, seen timestamp, "
                                 "active boolean, picture bytea, notes text, fee money); "
                                 "CREATE TABLE orders (order_no serial PRIMARY KEY, "
                                 "cust_no integer REFERENCES customer, amount numeric(9,3), "
                                 "line smallint, placed date); "
                                 "CREATE INDEX orders_by_date ON orders (placed)",
                                 &why);
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        if (!ready_) GTEST_SKIP() << "no PostgreSQL server could be started";
    }
    static Alias ShopAlias() {
        Alias a{"SHOP", "QPSQL", "shop", server_->host(), server_->port(), server_->user(), ""};
        a.password = server_->password();
        return a;
    }

    static inline morva::testing::PostgresServer* server_ = nullptr;
    static inline bool ready_ = false;
};

TEST_F(AliasPostgresTest, TablesAndBuiltInformation) {
    AliasConnection connection;
    std::string error;
    ASSERT_TRUE(connection.Open(ShopAlias(), &error)) << error;
    EXPECT_EQ(connection.Tables(), (std::vector<std::string>{"customer", "orders"}));

    schema::TDatabaseInfor db;
    ASSERT_TRUE(BuildFromBde(db, ShopAlias(), {"orders", "customer"}, &error)) << error;
    EXPECT_EQ(db.Name, "SHOP");
    ASSERT_EQ(db.Tables.size(), 2u);
    EXPECT_EQ(db.Tables[0].TableName, "orders");
    EXPECT_EQ(db.Tables[1].Capacity(), 11);

    const schema::ColumnRecord& no = Column(db, "customer", "cust_no");
    EXPECT_EQ(no.DataType, "INTEGER");
    EXPECT_EQ(no.Flags, 1);
    EXPECT_EQ(no.Type, "Key");
    const schema::ColumnRecord& name = Column(db, "customer", "name");
    EXPECT_EQ(name.DataType, "VARCHAR");
    EXPECT_EQ(name.Length, 40);
    EXPECT_EQ(name.DisplayWidth, 40);
    EXPECT_EQ(name.Flags, 0);
    const schema::ColumnRecord& limit = Column(db, "customer", "credit_limit");
    EXPECT_EQ(limit.DataType, "FLOAT");
    EXPECT_EQ(limit.Precision, 12);
    EXPECT_EQ(limit.Length, 2);
    EXPECT_EQ(limit.DisplayWidth, 14);
    EXPECT_EQ(Column(db, "customer", "rating").DataType, "FLOAT");
    EXPECT_EQ(Column(db, "customer", "rating").Precision, 0);
    EXPECT_EQ(Column(db, "customer", "kind").Length, 1);
    EXPECT_EQ(Column(db, "customer", "joined").DataType, "DATE");
    EXPECT_EQ(Column(db, "customer", "seen").DataType, "TIMESTAMP");
    EXPECT_EQ(Column(db, "customer", "active").DataType, "BIT");
    EXPECT_EQ(Column(db, "customer", "picture").DataType, "BINARY");
    EXPECT_EQ(Column(db, "customer", "notes").DataType, "VARCHAR");
    EXPECT_EQ(Column(db, "customer", "fee").DataType, "INTEGER");  // a currency field

    EXPECT_EQ(Column(db, "orders", "order_no").Flags, 1);
    EXPECT_EQ(Column(db, "orders", "amount").Precision, 9);
    EXPECT_EQ(Column(db, "orders", "amount").Length, 3);
    EXPECT_EQ(Column(db, "orders", "line").DataType, "SMALLINT");
    EXPECT_EQ(Column(db, "orders", "cust_no").Flags, 0);
    EXPECT_EQ(Column(db, "orders", "placed").Flags, 1);  // indexed
}

TEST_F(AliasPostgresTest, WrongPortIsAnErrorNamingTheAlias) {
    Alias wrong = ShopAlias();
    wrong.port = 1;
    schema::TDatabaseInfor db;
    std::string error;
    EXPECT_FALSE(BuildFromBde(db, wrong, {"customer"}, &error));
    EXPECT_EQ(error.rfind("alias SHOP: ", 0), 0u) << error;
}

}  // namespace
}  // namespace morva::alias

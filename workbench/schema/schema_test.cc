#include "workbench/schema/schema.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "workbench/schema/schema_dump.h"
#include "workbench/schema/test_database.h"

namespace morva::schema {
namespace {

using testing::OrderDatabase;
using testing::TempDir;

std::string Int(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Str(const std::string& s) {
    return std::string(1, static_cast<char>(s.size())) + s;
}

const std::string kHeader = Int(0x012BB136) + Int(0x01000000);

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SchemaFileTest, EmptySchemaIsHeaderIdentityAndZeroTables) {
    TSchema s;
    s.Name = "Main";
    s.SchemaType = "Delphi";
    s.SchemaLabel = "";
    s.DbName = "SHOP";
    EXPECT_EQ(s.Encode(), kHeader + Str("Main") + Str("Delphi") + Str("") + Str("SHOP") + Int(0));
}

TEST(SchemaFileTest, TableWithoutColumnsOrReferences) {
    TSchema s;
    s.Tables.push_back({"T", "Normal", "Label", {}, {}, {}, {}});
    EXPECT_EQ(s.Encode(), kHeader + Str("") + Str("") + Str("") + Str("") + Int(1) + Str("T") +
                              Str("Normal") + Str("Label") + Int(0) + Int(0));
}

TEST(SchemaFileTest, ColumnsAndReferenceBlocks) {
    TSchemaInfor t;
    t.TableName = "ORDERS";
    t.AppendColumn("ORDER_NO", "Key", "Order");
    t.AppendColumn("CUST_NO", "RefTop", "");
    t.RefTables.AddTable("CUSTOMER");
    t.RefTables.AddPair("CUSTOMER", "CUST_NO", "CUST_NO");
    t.RefTables.AddPair("CUSTOMER", "SHOP", "SHOP_NO");
    t.RefTables.AddTable("EMPTY");
    TSchema s;
    s.Tables.push_back(t);
    std::string expected = kHeader + Str("") + Str("") + Str("") + Str("") + Int(1) +
                           Str("ORDERS") + Str("") + Str("") + Int(2) + Str("ORDER_NO") +
                           Str("Key") + Str("Order") + Str("CUST_NO") + Str("RefTop") + Str("") +
                           Int(2) + Str("CUSTOMER") + Int(2) + Str("CUST_NO") + Str("CUST_NO") +
                           Str("SHOP") + Str("SHOP_NO") + Str("EMPTY") + Int(0);
    EXPECT_EQ(s.Encode(), expected);

    TSchema back;
    ASSERT_TRUE(TSchema::Decode(expected, &back));
    EXPECT_EQ(back, s);
}

TEST(SchemaFileTest, LongTextsAreCutWithoutSplittingUtf8) {
    TSchema s;
    s.Name = std::string(254, 'x') + "\xC3\xA9";  // 256 bytes, the last character two bytes
    std::string bytes = s.Encode();
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 254);
    TSchema back;
    ASSERT_TRUE(TSchema::Decode(bytes, &back));
    EXPECT_EQ(back.Name, std::string(254, 'x'));
}

TEST(SchemaFileTest, SaveLoadAndDeleteAtTheStandardPath) {
    TempDir dir;
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("Main", "Delphi", "Shop schema", db);
    std::string error;
    ASSERT_TRUE(s->Save(dir.path(), &error)) << error;
    std::string path = dir.path() + "/SHOP/Schema/Main.CSF";
    EXPECT_TRUE(std::filesystem::exists(path));
    auto back = TSchema::Load(dir.path(), "SHOP", "Main", &error);
    EXPECT_EQ(*back, *s);
    EXPECT_EQ(SchemaNames(dir.path() + "/SHOP/Schema"), std::vector<std::string>{"Main"});
    ASSERT_TRUE(s->Delete(dir.path(), &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(s->Delete(dir.path(), &error));
}

TEST(SchemaFileTest, NamesThatLeaveTheFolderAreRefused) {
    TempDir dir;
    for (auto [db, name] : {std::pair{"SHOP", "../../escaped"}, std::pair{"..", "x"},
                            std::pair{"SHOP", ""}, std::pair{"a/b", "x"}}) {
        TSchema s;
        s.DbName = db;
        s.Name = name;
        std::string error;
        EXPECT_FALSE(s.Save(dir.path(), &error)) << db << " " << name;
        EXPECT_EQ(error, "'" + std::string(db) + "/" + name + "' cannot name a schema file");
        EXPECT_FALSE(s.Delete(dir.path(), &error));
        error.clear();
        TSchema::Load(dir.path(), db, name, &error);
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SchemaFileTest, WrongMagicOrVersionIsRejected) {
    TempDir dir;
    std::string path = dir.path() + "/bad.CSF";
    std::string body = Str("N") + Str("") + Str("") + Str("DB") + Int(0);
    for (const std::string& header :
         {Int(0x012BB137) + Int(0x01000000), Int(0x012BB136) + Int(0x01000001)}) {
        WriteBytes(path, header + body);
        std::string error;
        auto s = TSchema::LoadFrom(path, &error);
        EXPECT_EQ(error, "Invalid file format(" + path + ")");
        EXPECT_EQ(*s, TSchema());
    }
    EXPECT_TRUE(SchemaNames(dir.path()).empty());
}

TEST(SchemaFileTest, TruncatedFileKeepsTheCompleteTables) {
    TSchema s;
    s.Name = "N";
    s.Tables.push_back({"A", "", "", {}, {"X"}, {"Normal"}, {"x"}});
    s.Tables.push_back({"B", "", "", {}, {"Y"}, {"Normal"}, {"y"}});
    std::string bytes = s.Encode();
    TempDir dir;
    std::string path = dir.path() + "/cut.CSF";
    WriteBytes(path, bytes.substr(0, bytes.size() - 3));
    std::string error;
    auto back = TSchema::LoadFrom(path, &error);
    EXPECT_EQ(error, "Invalid file format(" + path + ")");
    EXPECT_EQ(back->Name, "N");
    ASSERT_EQ(back->Tables.size(), 1u);
    EXPECT_EQ(back->Tables[0].TableName, "A");

    // A huge count with nothing behind it fails quickly instead of allocating.
    std::string huge = kHeader + Str("N") + Str("") + Str("") + Str("") + Int(0x7FFFFFFF);
    TSchema h;
    EXPECT_FALSE(TSchema::Decode(huge, &h));
    EXPECT_FALSE(TSchema::Decode(kHeader + Str("N") + Str("") + Str("") + Str("") + Int(-1), &h));
}

TEST(SchemaFileTest, MissingFileReportsTheFileError) {
    std::string error;
    auto s = TSchema::LoadFrom("/nonexistent/x.CSF", &error);
    EXPECT_EQ(error, "/nonexistent/x.CSF: No such file or directory");
    EXPECT_TRUE(s->Tables.empty());
}

TEST(SchemaNamesTest, ReadsNamesFromHeadersInNameOrder) {
    TempDir dir;
    TSchema a, b;
    a.Name = "Alpha stored";
    b.Name = "beta stored";
    std::string error;
    ASSERT_TRUE(b.SaveTo(dir.path() + "/b.csf", &error));
    ASSERT_TRUE(a.SaveTo(dir.path() + "/A.CSF", &error));
    WriteBytes(dir.path() + "/C.CSF", "junk");
    WriteBytes(dir.path() + "/D.txt", a.Encode());
    EXPECT_EQ(SchemaNames(dir.path()), (std::vector<std::string>{"Alpha stored", "beta stored"}));
}

TEST(RefTablesTest, NamesAreUniqueIgnoringCaseAndPairsCompareExactly) {
    TRefTables r;
    r.AddTable("Orders");
    r.AddTable("ORDERS");
    EXPECT_EQ(r.Count(), 1);
    r.AddPair("orders", "A", "B");
    r.AddPair("MISSING", "A", "B");
    EXPECT_EQ(r.FindPair("ORDERS", "A", "B"), 0);
    EXPECT_EQ(r.FindPair("ORDERS", "a", "B"), -1);
    EXPECT_FALSE(r.PairExists("MISSING", "A", "B"));
    TRefTables copy;
    copy.AddTable("OLD");
    copy.CopyFrom(r);
    EXPECT_EQ(copy, r);
}

// A reference block read back: a name repeated in another letter case joins the first entry
// with its pairs, and the look-up by name survives copying and clearing.
TEST(RefTablesTest, ReadJoinsNamesIgnoringCaseAndKeepsTheFirstSpelling) {
    std::string block = Int(3) + Str("Orders") + Int(1) + Str("ID") + Str("ORDER_ID") +
                        Str("Cust") + Int(0) + Str("ORDERS") + Int(1) + Str("NO") + Str("ORDER_NO");
    com::FieldReader in(block);
    TRefTables r;
    r.AddTable("STALE");
    ASSERT_TRUE(r.Read(in));
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(r.Count(), 2);
    EXPECT_EQ(r[0].name, "Orders");
    EXPECT_EQ(r[0].pairs, (std::vector<TRefColumn>{{"ID", "ORDER_ID"}, {"NO", "ORDER_NO"}}));
    EXPECT_EQ(r.IndexOf("cust"), 1);
    EXPECT_EQ(r.IndexOf("STALE"), -1);
    TRefTables copy;
    copy.CopyFrom(r);
    copy.AddTable("CUST");
    copy.AddPair("cust", "A", "B");
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.FindPair("Cust", "A", "B"), 0);
    copy.Clear();
    copy.AddTable("cust");
    EXPECT_EQ(copy.IndexOf("CUST"), 0);
    com::FieldWriter out;
    r.Write(out);
    EXPECT_EQ(out.bytes(), Int(2) + Str("Orders") + Int(2) + Str("ID") + Str("ORDER_ID") +
                               Str("NO") + Str("ORDER_NO") + Str("Cust") + Int(0));
}

TEST(SchemaCreateTest, TakesSelectedTablesAndColumnsInDatabaseOrder) {
    TDatabaseInfor db = OrderDatabase();
    db.Tables[0].Selected = false;
    db.Tables[1].ColumnAt(2)->Selected = false;
    auto s = TSchema::CreateFromDatabase("S", "T", "L", db);
    EXPECT_EQ(DumpSchema(*s),
              "schema \"S\" type \"T\" label \"L\" database \"SHOP\"\n"
              "table \"ORDERS\" type \"Sub\" label \"Orders\"\n"
              "  column \"ORDER_NO\" type \"Key\" label \"Order\"\n"
              "  column \"CUST_NO\" type \"RefTop\" label \"Customer\"\n"
              "  column \"NOTE\" type \"Normal\" label \"\"\n"
              "  references \"CUSTOMER\"\n"
              "    \"CUST_NO\" -> \"CUST_NO\"\n");
}

TEST(SchemaSynchroniseTest, DeselectedColumnLeavesAllThreeListsInOrder) {
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("S", "", "", db);
    s->Tables[1].ColumnLabels[3] = "user label";
    db.Tables[1].ColumnAt(1)->Selected = false;
    s->Synchronise(db);
    const TSchemaInfor& t = s->Tables[1];
    EXPECT_EQ(t.ColumnNames, (std::vector<std::string>{"ORDER_NO", "TOTAL", "NOTE"}));
    EXPECT_EQ(t.ColumnTypes, (std::vector<std::string>{"Key", "Normal", "Normal"}));
    // A selected column is overwritten with the database's texts.
    EXPECT_EQ(t.ColumnLabels, (std::vector<std::string>{"Order", "Total", ""}));
}

TEST(SchemaSynchroniseTest, TablesKeepTheUserOrderAndNewOnesGoLast) {
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("S", "", "", db);
    std::swap(s->Tables[0], s->Tables[1]);
    s->Tables.push_back({"GONE", "", "", {}, {"X"}, {""}, {""}});
    TTableInfor extra(1);
    extra.TableName = "EXTRA";
    extra.AddColumn(true, "ID", "Key", "Id", "INTEGER", 0, 10, 1, 0, 0);
    db.Tables.insert(db.Tables.begin(), extra);
    s->Synchronise(db);
    ASSERT_EQ(s->Tables.size(), 4u);
    EXPECT_EQ(s->Tables[0].TableName, "ORDERS");
    EXPECT_EQ(s->Tables[1].TableName, "CUSTOMER");
    EXPECT_EQ(s->Tables[2].TableName, "GONE");
    EXPECT_EQ(s->Tables[3].TableName, "EXTRA");

    db.Tables[2].Selected = false;  // ORDERS
    s->Synchronise(db);
    EXPECT_EQ(s->FindTable("ORDERS"), -1);
    EXPECT_EQ(s->Tables.size(), 3u);
}

TEST(SchemaSynchroniseTest, ColumnsMatchIgnoringCaseAndTakeTheDatabaseSpelling) {
    TDatabaseInfor db = OrderDatabase();
    auto s = TSchema::CreateFromDatabase("S", "", "", db);
    s->Tables[0].ColumnNames[1] = "name";
    db.Tables[0].TableLabel = "Clients";
    db.Tables[0].RefTables.AddTable("OTHER");
    s->Synchronise(db);
    EXPECT_EQ(s->Tables[0].ColumnNames, (std::vector<std::string>{"CUST_NO", "NAME", "KIND"}));
    EXPECT_EQ(s->Tables[0].TableLabel, "Clients");
    EXPECT_EQ(s->Tables[0].RefTables, db.Tables[0].RefTables);
    // Find column of the database itself compares exactly.
    EXPECT_EQ(db.Tables[0].FindColumn("name"), nullptr);
}

TEST(SchemaApplyTest, MarksAndLabelsTheDatabase) {
    TDatabaseInfor db = OrderDatabase();
    TSchema s;
    s.Tables.push_back({"ORDERS",
                        "Detail",
                        "Bestellung",
                        {},
                        {"NOTE", "ORDER_NO"},
                        {"Memo", "Key"},
                        {"Remark", "No."}});
    db.SetAllMarks(false);
    std::string error;
    ASSERT_TRUE(s.ApplyToDatabase(db, &error)) << error;
    const TTableInfor& t = db.Tables[1];
    EXPECT_TRUE(t.Selected);
    EXPECT_FALSE(db.Tables[0].Selected);
    EXPECT_EQ(t.TableType, "Detail");
    EXPECT_EQ(t.TableLabel, "Bestellung");
    EXPECT_EQ(t.CountSelectedColumns(), 2);
    EXPECT_EQ(t.FindColumn("NOTE")->Label, "Remark");
    EXPECT_EQ(t.FindColumn("NOTE")->Type, "Memo");
    EXPECT_EQ(t.RefTables.Count(), 0);
}

TEST(SchemaApplyTest, StopsAtTheFirstMissingTableOrColumn) {
    TDatabaseInfor db = OrderDatabase();
    db.SetAllMarks(false);
    TSchema s;
    s.Tables.push_back(
        {"CUSTOMER", "", "", {}, {"NAME", "Missing", "KIND"}, {"", "", ""}, {"", "", ""}});
    s.Tables.push_back({"ORDERS", "", "", {}, {}, {}, {}});
    std::string error;
    EXPECT_FALSE(s.ApplyToDatabase(db, &error));
    EXPECT_EQ(error, "Column Missing not found in table CUSTOMER");
    EXPECT_TRUE(db.Tables[0].FindColumn("NAME")->Selected);
    EXPECT_FALSE(db.Tables[0].FindColumn("KIND")->Selected);
    EXPECT_FALSE(db.Tables[1].Selected);

    TSchema t;
    t.Tables.push_back({"NOPE", "", "", {}, {}, {}, {}});
    EXPECT_FALSE(t.ApplyToDatabase(db, &error));
    EXPECT_EQ(error, "Table NOPE not found in database SHOP");
}

TEST(SchemaCopyTest, CopyIsDeepAndAssignTablesKeepsTheIdentity) {
    auto s = TSchema::CreateFromDatabase("S", "T", "L", OrderDatabase());
    auto c = s->Copy();
    c->Tables[0].ColumnNames[0] = "changed";
    EXPECT_EQ(s->Tables[0].ColumnNames[0], "CUST_NO");
    TSchema other;
    other.Name = "Other";
    other.AssignTables(*s);
    EXPECT_EQ(other.Name, "Other");
    EXPECT_EQ(other.Tables, s->Tables);
}

TEST(SchemaDumpTest, JsonEscapesTexts) {
    TSchema s;
    s.Name = "a\"b\\c\n";
    s.Tables.push_back({"T", "", "", {}, {"C"}, {""}, {"x"}});
    EXPECT_EQ(DumpSchemaJson(s),
              "{\"name\": \"a\\\"b\\\\c\\u000a\", \"type\": \"\", \"label\": \"\", \"database\": "
              "\"\", \"tables\": [\n  {\"name\": \"T\", \"type\": \"\", \"label\": \"\", "
              "\"columns\": [{\"name\": \"C\", \"type\": \"\", \"label\": \"x\"}], "
              "\"references\": []}\n]}\n");
}

}  // namespace
}  // namespace morva::schema

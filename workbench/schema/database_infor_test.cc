#include "workbench/schema/database_infor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "component/message_box.h"
#include "workbench/schema/test_database.h"

namespace morva::schema {
namespace {

using testing::OrderDatabase;
using testing::TempDir;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(TableInforTest, AddColumnStopsAtTheCapacity) {
    TTableInfor t(5);
    for (int i = 0; i < 6; ++i)
        t.AddColumn(true, "C" + std::to_string(i), "Normal", "", "INTEGER", 0, 10, 0, 0, 0);
    EXPECT_EQ(t.ColumnCount(), 5);
    EXPECT_EQ(t.ColumnAt(5), nullptr);
    EXPECT_EQ(t.ColumnAt(-1), nullptr);
    EXPECT_EQ(t.ColumnAt(4)->Name, "C4");
    EXPECT_EQ(TTableInfor(0).AddColumn(true, "X", "", "", "", 0, 0, 0, 0, 0), nullptr);
}

TEST(TableInforTest, TextsAreCutTo255Bytes) {
    TTableInfor t(1);
    ColumnRecord* c = t.AddColumn(true, std::string(300, 'n'), "", "", "", 0, 0, 0, 0, 0);
    EXPECT_EQ(c->Name.size(), 255u);
    TDatabaseInfor::SetTableLabel(t, std::string(256, 'l'));
    EXPECT_EQ(t.TableLabel.size(), 255u);
}

// A whole record moves in with the same cut (never inside a UTF-8 sequence) and the same
// capacity as the texts, its lookup data kept.
TEST(TableInforTest, RecordsMoveInCutAndWithinTheCapacity) {
    TTableInfor t(1);
    ColumnRecord r;
    r.Name = std::string(254, 'n') + "\xC3\xA9";  // the two-byte letter would end at 256
    r.Label = "L";
    r.DataType = std::string(300, 'd');
    r.LookupItems = {"A", "B"};
    ColumnRecord* c = t.AddColumn(ColumnRecord(r));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name, std::string(254, 'n'));
    EXPECT_EQ(c->DataType.size(), 255u);
    EXPECT_EQ(c->Label, "L");
    EXPECT_EQ(c->LookupItems, r.LookupItems);
    TTableInfor viaTexts(1);
    const ColumnRecord* v =
        viaTexts.AddColumn(false, r.Name, r.Type, r.Label, r.DataType, 0, 0, 0, 0, 0);
    EXPECT_EQ(c->Name, v->Name);
    EXPECT_EQ(c->DataType, v->DataType);
    EXPECT_EQ(t.AddColumn(ColumnRecord(r)), nullptr);
    EXPECT_EQ(t.ColumnCount(), 1);
}

TEST(DatabaseInforTest, FindIsExactAndMarksCount) {
    TDatabaseInfor db = OrderDatabase();
    EXPECT_NE(db.FindTable("ORDERS"), nullptr);
    EXPECT_EQ(db.FindTable("orders"), nullptr);
    db.SetAllMarks(false);
    EXPECT_EQ(db.FindTable("ORDERS")->CountSelectedColumns(), 0);
    EXPECT_FALSE(db.Tables[0].Selected);
    db.Tables[1].ColumnAt(1)->Selected = true;
    EXPECT_EQ(db.Tables[1].CountSelectedColumns(), 1);
}

TEST(DatabaseFilesTest, SaveAndLoadRoundTripWithoutMarks) {
    TempDir dir;
    TDatabaseInfor db = OrderDatabase();
    db.Tables[0].FindColumn("KIND")->LookupTable = "KINDS";
    std::string error;
    ASSERT_TRUE(db.SaveDatabase(dir.path(), &error)) << error;
    EXPECT_TRUE(fs::is_directory(dir.path() + "/SHOP/Schema"));
    std::string before = ReadAll(dir.path() + "/SHOP/ORDERS");

    db.SetAllMarks(false);
    ASSERT_TRUE(db.SaveDatabase(dir.path(), &error)) << error;
    EXPECT_EQ(ReadAll(dir.path() + "/SHOP/ORDERS"), before);

    auto back = TDatabaseInfor::LoadDatabase(dir.path(), "SHOP", &error);
    ASSERT_TRUE(back) << error;
    db.SetAllMarks(true);
    EXPECT_EQ(*back, db);
    EXPECT_EQ(back->Tables[1].Capacity(), 4);
}

TEST(DatabaseFilesTest, ForeignFileFailsTheLoad) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(OrderDatabase().SaveDatabase(dir.path(), &error));
    std::ofstream(dir.path() + "/SHOP/notes.txt") << "hello";
    EXPECT_EQ(TDatabaseInfor::LoadDatabase(dir.path(), "SHOP", &error), nullptr);
    EXPECT_EQ(error, "Invalid file format(" + dir.path() + "/SHOP/notes.txt)");
    EXPECT_EQ(TDatabaseInfor::LoadDatabase(dir.path(), "NONE", &error), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST(DatabaseFilesTest, ConfirmNewDatabaseAsksOnlyForAnExistingFolder) {
    TempDir dir;
    std::vector<std::string> asked;
    int answer = com::IDNO;
    auto previous = com::SetMessageBoxHook(
        [&](const std::string& text, const std::string&, com::MbIcon, com::MbButtons b) {
            asked.push_back(text);
            EXPECT_EQ(b, com::MbButtons::YesNo);
            return answer;
        });
    EXPECT_TRUE(TDatabaseInfor::ConfirmNewDatabase(dir.path(), "SHOP"));
    EXPECT_TRUE(asked.empty());
    fs::create_directory(dir.path() + "/SHOP");
    EXPECT_FALSE(TDatabaseInfor::ConfirmNewDatabase(dir.path(), "SHOP"));
    answer = com::IDYES;
    EXPECT_TRUE(TDatabaseInfor::ConfirmNewDatabase(dir.path(), "SHOP"));
    EXPECT_EQ(asked, std::vector<std::string>(2, "Database SHOP already exist. Continue anyway ?"));
    com::SetMessageBoxHook(previous);
}

TEST(DatabaseFilesTest, DeleteRemovesSchemaFolderTablesAndFolder) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(OrderDatabase().SaveDatabase(dir.path(), &error));
    std::ofstream(dir.path() + "/SHOP/Schema/Main.CSF") << "x";
    ASSERT_TRUE(TDatabaseInfor::DeleteDatabaseFolder(dir.path(), "SHOP", &error)) << error;
    EXPECT_FALSE(fs::exists(dir.path() + "/SHOP"));
    fs::create_directories(dir.path() + "/KEEP/sub");
    EXPECT_FALSE(TDatabaseInfor::DeleteDatabaseFolder(dir.path(), "KEEP", &error));
    EXPECT_NE(error.find("KEEP"), std::string::npos);
}

// A database name that would leave the database folder is refused by every folder function,
// with the name and the reason, and nothing is written anywhere.
TEST(DatabaseFilesTest, NamesThatLeaveTheDatabaseFolderAreRefused) {
    TempDir root;
    const std::string databaseDir = root.path() + "/Database";
    fs::create_directories(databaseDir + "/inner/Schema");
    struct Case {
        const char* name;
        const char* reason;
    };
    for (Case c :
         {Case{"..", "\"..\" names the parent folder"}, Case{"a/../..", "the name contains \"/\""},
          Case{"/abs", "the name contains \"/\""}, Case{"", "the name is empty"},
          Case{".", "\".\" names the folder itself"}}) {
        const std::string expected =
            "'" + std::string(c.name) + "' cannot name a database: " + c.reason;
        TDatabaseInfor db = OrderDatabase();
        db.Name = c.name;
        std::string error;
        EXPECT_FALSE(db.SaveDatabase(databaseDir, &error)) << c.name;
        EXPECT_EQ(error, expected);
        error.clear();
        EXPECT_EQ(TDatabaseInfor::LoadDatabase(databaseDir, c.name, &error), nullptr) << c.name;
        EXPECT_EQ(error, expected);
        error.clear();
        EXPECT_FALSE(TDatabaseInfor::DeleteDatabaseFolder(databaseDir, c.name, &error)) << c.name;
        EXPECT_EQ(error, expected);
        EXPECT_FALSE(DatabaseFolder(databaseDir, c.name, nullptr).has_value());
    }
    EXPECT_EQ(DatabaseFolder(databaseDir, "inner", nullptr), databaseDir + "/inner");
    EXPECT_TRUE(fs::exists(databaseDir + "/inner/Schema"));
    std::vector<std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(root.path()))
        entries.push_back(fs::relative(e.path(), root.path()));
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Database", "Database/inner", "Database/inner/Schema"}));
}

}  // namespace
}  // namespace morva::schema

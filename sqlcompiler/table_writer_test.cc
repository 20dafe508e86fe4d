#include "sqlcompiler/table_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sqlcompiler/compilation.h"
#include "sqlcompiler/script_reader.h"
#include "sqlcompiler/testing/parse_script_text.h"
#include "sqlcompiler/testing/write_table_file.h"

namespace morva::sql {
namespace {

namespace fs = std::filesystem;
using testing::ParseScriptText;
using testing::WriteTableFile;

std::string I32(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}
std::string S(std::string_view s) {
    return std::string(1, static_cast<char>(s.size())) + std::string(s);
}
const std::string kHeader = I32(19640630) + I32(0x01000000);

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Folder {
    Folder() {
        std::string templ = (fs::temp_directory_path() / "writerXXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::string path;
};

const Model& Compile(Compilation& c, std::string_view text) {
    c.ResetCompilation("t.sql");
    ParseScriptText(c, text);
    return c.model();
}

TEST(TableWriterTest, CompilerValuesForAPlainIntegerColumn) {
    Compilation c;
    const Model& m = Compile(c, "CREATE TABLE Plain (A INTEGER);");
    Folder dir;
    ASSERT_TRUE(WriteTableFile(*m.tables[0], dir.path));
    std::string expected = kHeader + S("PLAIN") + S("") + S("Plain") + I32(1) + I32(1) + S("A") +
                           S("Normal") + S("A") + S("INTEGER") + I32(0) + I32(10) + I32(0) +
                           I32(0) + I32(0) + S("") + S("") + S("") + I32(0) + I32(0);
    EXPECT_EQ(FileBytes(dir.path + "/PLAIN"), expected);
}

TEST(TableWriterTest, EmptyTableAndDisplayWidthFromLength) {
    Compilation c;
    const Model& m = Compile(c, "CREATE TABLE E (V VARCHAR(40) /* Text */);");
    TableFile f = ToTableFile(*m.tables[0]);
    EXPECT_EQ(f.columns[0].displayWidth, 40);
    EXPECT_EQ(f.columns[0].label, "Text");
    TableDef empty;
    empty.name = "NONE";
    Folder dir;
    ASSERT_TRUE(WriteTableFile(empty, dir.path));
    EXPECT_EQ(FileBytes(dir.path + "/NONE"),
              kHeader + S("NONE") + S("") + S("") + I32(0) + I32(0) + I32(0));
}

TEST(TableWriterTest, GroupsAndItemsInModelOrder) {
    Compilation c;
    const Model& m = Compile(c,
                             "CREATE TABLE M (ID INTEGER, NO INTEGER);\n"
                             "CREATE TABLE D (A INTEGER, /* Kind\n  x=1\n  y=2 */\n B INTEGER,\n"
                             " FOREIGN KEY (A, B) REFERENCES M (ID, NO));");
    std::string bytes = EncodeTableFile(ToTableFile(*m.tables[1]));
    std::string tail = I32(2) + S("x=1") + S("y=2");
    EXPECT_NE(bytes.find(tail), std::string::npos);
    EXPECT_TRUE(bytes.ends_with(I32(1) + S("M") + I32(2) + S("ID") + S("A") + S("NO") + S("B")));
}

TEST(TableWriterTest, NamesThatCouldLeaveTheFolderAreNotWritten) {
    Folder dir;
    fs::create_directory(dir.path + "/db");
    for (const char* name : {"", ".", "..", "../ESCAPE", "A/B"}) {
        TableDef t;
        t.name = name;
        EXPECT_FALSE(WriteTableFile(t, dir.path + "/db")) << name;
    }
    EXPECT_TRUE(fs::is_empty(dir.path + "/db"));
    EXPECT_FALSE(fs::exists(dir.path + "/ESCAPE"));
}

TEST(TableWriterTest, LongNameIsCutTheSameInFileNameAndField) {
    Compilation c;
    std::string name(300, 'N');
    const Model& m = Compile(c, "CREATE TABLE " + name + " (A INTEGER);");
    Folder dir;
    ASSERT_TRUE(WriteTableFile(*m.tables[0], dir.path));
    TableFile back;
    std::string error;
    ASSERT_TRUE(ReadTableFile(dir.path + "/" + name.substr(0, 255), &back, &error)) << error;
    EXPECT_EQ(back.name, name.substr(0, 255));
    EXPECT_EQ(back.label, name.substr(0, 255));
}

TEST(TableWriterTest, RealWorldScriptGivesWhatAReaderExpects) {
    const char* root = std::getenv("MORVA_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    Compilation c;
    int errors = 0;
    c.SetReporter([&](int32_t, const std::string& text) {
        if (text.find("): ") != std::string::npos) ++errors;
    });
    c.ResetCompilation(std::string(root) + "/sqlcompiler/tests/golden/realworld_shop/input.sql");
    ASSERT_TRUE(CompileScript(c));
    EXPECT_EQ(errors, 0);
    Folder dir;
    for (const auto& t : c.model().tables) {
        ASSERT_TRUE(WriteTableFile(*t, dir.path));
        // The compiler writes straight from its model; the bytes are those of the TableFile.
        EXPECT_EQ(EncodeTable(*t), EncodeTableFile(ToTableFile(*t))) << t->name;
    }
    std::vector<TableFile> tables;
    std::string error;
    ASSERT_TRUE(LoadDatabaseFolder(dir.path, &tables, &error)) << error;
    ASSERT_EQ(tables.size(), 12u);
    auto find = [&](std::string_view name) {
        for (const TableFile& t : tables)
            if (t.name == name) return t;
        ADD_FAILURE() << name;
        return TableFile{};
    };
    TableFile orders = find("ORDERS");
    EXPECT_EQ(orders.type, "MasterSub");
    EXPECT_EQ(orders.columns[0].type, "Key");
    EXPECT_EQ(orders.columns[5].lookupItems,
              (std::vector<std::string>{"N=New", "P=Paid", "S=Shipped", "C=Cancelled"}));
    ASSERT_EQ(orders.groups.size(), 2u);
    EXPECT_EQ(orders.groups[1].masterTable, "EMPLOYEE");
    TableFile shipment = find("SHIPMENT");
    ASSERT_EQ(shipment.groups.size(), 1u);
    EXPECT_EQ(shipment.groups[0].pairs.size(), 2u);
    TableFile customer = find("CUSTOMER");
    EXPECT_EQ(customer.label, "Customers");
    EXPECT_EQ(customer.columns[1].displayWidth, 40);  // NAME, from its domain
    EXPECT_EQ(customer.columns[4].flags, 2);          // computed contact name
    EXPECT_EQ(find("CATEGORY").groups.size(), 0u);    // only a self reference
}

}  // namespace
}  // namespace morva::sql

#include "sqlcompiler/table_file.h"

#include <algorithm>
#include <random>

#include "sqlcompiler/table_file_dump.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace morva::sql {
namespace {

namespace fs = std::filesystem;

// Hand-written bytes: a little-endian int32 and a length-prefixed text.
std::string I32(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}
std::string S(std::string_view s) {
    return std::string(1, static_cast<char>(s.size())) + std::string(s);
}

const std::string kHeader = std::string("\x36\xB1\x2B\x01", 4) + std::string("\x00\x00\x00\x01", 4);

std::string TempFolder() {
    std::string templ = (fs::temp_directory_path() / "tablefileXXXXXX").string();
    return mkdtemp(templ.data());
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spill(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TableFile RichTable() {
    TableFile t{"ORDERS", "SubMaster", "Orders", {}, {}};
    t.columns.push_back({"ID", "Key", "ID", "INTEGER", 0, 10, 1, 0, 0, "", "", "", {}});
    t.columns.push_back({"STATUS",
                         "RefTop",
                         "Status",
                         "CHAR",
                         1,
                         1,
                         0,
                         0,
                         0,
                         "LOOK",
                         "NAME",
                         "ID",
                         {"A=Active", "I=Inactive"}});
    t.groups.push_back({"CUSTOMER", {{"ID", "CUST_ID"}, {"NO", "CUST_NO"}}});
    return t;
}

TEST(TableFileTest, EmptyTableIsHeaderThreeTextsAndThreeZeroCounts) {
    TableFile t{"T", "", "t", {}, {}};
    EXPECT_EQ(EncodeTableFile(t), kHeader + S("T") + S("") + S("t") + I32(0) + I32(0) + I32(0));
}

TEST(TableFileTest, EncodesEveryFieldInOrder) {
    std::string expected =
        kHeader + S("ORDERS") + S("SubMaster") + S("Orders") + I32(2) + I32(2) +
        // first column
        S("ID") + S("Key") + S("ID") + S("INTEGER") + I32(0) + I32(10) + I32(1) + I32(0) + I32(0) +
        S("") + S("") + S("") + I32(0) +
        // second column, with lookup texts and items
        S("STATUS") + S("RefTop") + S("Status") + S("CHAR") + I32(1) + I32(1) + I32(0) + I32(0) +
        I32(0) + S("LOOK") + S("NAME") + S("ID") + I32(2) + S("A=Active") + S("I=Inactive") +
        // one group of two pairs, master column first
        I32(1) + S("CUSTOMER") + I32(2) + S("ID") + S("CUST_ID") + S("NO") + S("CUST_NO");
    EXPECT_EQ(EncodeTableFile(RichTable()), expected);
    TableFile back;
    ASSERT_TRUE(DecodeTableFile(expected, &back));
    EXPECT_EQ(back, RichTable());
}

TEST(TableFileTest, NegativeAndLargeIntegersAreTwosComplementLittleEndian) {
    TableFile t{"T", "", "", {}, {}};
    t.columns.push_back({"C", "", "", "", -1, 0x01020304, 2, 0, 0, "", "", "", {}});
    std::string bytes = EncodeTableFile(t);
    EXPECT_NE(bytes.find(std::string("\xFF\xFF\xFF\xFF\x04\x03\x02\x01", 8)), std::string::npos);
}

TEST(TableFileTest, LongTextsAreCutTo255BytesWithConsistentLength) {
    TableFile t{std::string(300, 'N'), "", "", {}, {}};
    std::string bytes = EncodeTableFile(t);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 255);
    TableFile back;
    ASSERT_TRUE(DecodeTableFile(bytes, &back));
    EXPECT_EQ(back.name, std::string(255, 'N'));
    // A two-byte letter straddling byte 255 is dropped whole.
    std::string utf8 = std::string(254, 'a') + "\xC3\xA9" + "z";
    EXPECT_EQ(CutText(utf8), std::string(254, 'a'));
}

TEST(TableFileTest, ReaderUsesSecondColumnCount) {
    std::string column = S("A") + S("Normal") + S("A") + S("INTEGER") + I32(0) + I32(10) + I32(0) +
                         I32(0) + I32(0) + S("") + S("") + S("") + I32(0);
    std::string bytes = kHeader + S("T") + S("") + S("T") + I32(7) + I32(1) + column + I32(0);
    TableFile t;
    ASSERT_TRUE(DecodeTableFile(bytes, &t));
    ASSERT_EQ(t.columns.size(), 1u);
    EXPECT_EQ(t.columns[0].dataType, "INTEGER");
}

TEST(TableFileTest, ReaderRejectsWrongMagicVersionTruncationAndGarbage) {
    std::string good = EncodeTableFile(RichTable());
    TableFile t;
    std::string badMagic = good;
    badMagic[0] = 0x37;
    EXPECT_FALSE(DecodeTableFile(badMagic, &t));
    std::string badVersion = good;
    badVersion[7] = 0x02;
    EXPECT_FALSE(DecodeTableFile(badVersion, &t));
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeTableFile(std::string_view(good).substr(0, n), &t)) << n;
    EXPECT_TRUE(DecodeTableFile(good + "x", &t));
    // A huge or negative count is refused without trying to hold it.
    EXPECT_FALSE(DecodeTableFile(kHeader + S("T") + S("") + S("") + I32(0) + I32(0x7FFFFFFF), &t));
    EXPECT_FALSE(DecodeTableFile(kHeader + S("T") + S("") + S("") + I32(0) + I32(0) + I32(-1), &t));
}

TEST(TableFileTest, FolderLoadSortsIgnoringCaseAndNamesInvalidFile) {
    std::string dir = TempFolder();
    std::string err;
    ASSERT_TRUE(EnsureDatabaseFolder(dir + "/db", &err)) << err;
    EXPECT_TRUE(fs::is_directory(dir + "/db/Schema"));
    ASSERT_TRUE(SaveDatabaseFolder(
        dir + "/db", {{"b", "", "", {}, {}}, {"A", "", "", {}, {}}, RichTable()}, &err))
        << err;
    EXPECT_EQ(Slurp(dir + "/db/ORDERS"), EncodeTableFile(RichTable()));
    std::vector<TableFile> tables;
    ASSERT_TRUE(LoadDatabaseFolder(dir + "/db", &tables, &err)) << err;
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].name, "A");
    EXPECT_EQ(tables[1].name, "b");
    EXPECT_EQ(tables[2], RichTable());

    Spill(dir + "/db/README.txt", "not a table");
    EXPECT_FALSE(LoadDatabaseFolder(dir + "/db", &tables, &err));
    EXPECT_EQ(err, "Invalid file format(" + dir + "/db/README.txt)");
    Spill(dir + "/db/README.txt", kHeader.substr(0, 6));
    EXPECT_FALSE(LoadDatabaseFolder(dir + "/db", &tables, &err));
    EXPECT_EQ(err, "Invalid file format(" + dir + "/db/README.txt)");
    fs::remove_all(dir);
}

// The reader takes a file in one read up to a size and in more reads beyond it: tables on both
// sides of that size read back whole, a large stray file and a truncated large table are
// turned away, and a missing file names the system's reason.
TEST(TableFileTest, ReaderReadsFilesOfEverySizeWhole) {
    std::string dir = TempFolder();
    std::string err;
    // Sizes on either side of the one-read size (64 KB), and well beyond it.
    for (size_t size : {100, 65535, 65536, 65537, 65538, 1000000}) {
        TableFile t{"T", "", "", {}, {}};
        t.groups.push_back({"M", {{"ID", "C0"}}});
        // Each column adds its name, three short texts, five integers, three empty texts and a
        // count.
        for (size_t bytes = EncodeTableFile(t).size(); bytes + 100 < size;) {
            std::string name = "C" + std::to_string(t.columns.size());
            bytes += 1 + name.size() + 7 + 2 + 8 + 5 * 4 + 3 + 4;
            t.columns.push_back({name, "Normal", "L", "INTEGER", 4, 4, 0, 0, 0, "", "", "", {}});
        }
        t.label = std::string(size - EncodeTableFile(t).size(), 'x');  // exactly `size` bytes
        ASSERT_TRUE(WriteTableFileTo(dir, t, &err)) << err;
        ASSERT_EQ(fs::file_size(dir + "/T"), size);
        TableFile back;
        ASSERT_TRUE(ReadTableFile(dir + "/T", &back, &err)) << size << ": " << err;
        EXPECT_EQ(back, t) << size;
        if (size > 65536) {
            Spill(dir + "/T", Slurp(dir + "/T").substr(0, size - 3));
            EXPECT_FALSE(ReadTableFile(dir + "/T", &back, &err));
            EXPECT_EQ(err, "Invalid file format(" + dir + "/T)");
        }
    }
    Spill(dir + "/big.txt", std::string(200000, 'x'));
    TableFile back;
    EXPECT_FALSE(ReadTableFile(dir + "/big.txt", &back, &err));
    EXPECT_EQ(err, "Invalid file format(" + dir + "/big.txt)");
    EXPECT_FALSE(ReadTableFile(dir + "/none", &back, &err));
    EXPECT_EQ(err, dir + "/none: No such file or directory");
    fs::remove_all(dir);
}

TEST(TableFileTest, WriterNeverLeavesTheFolderNorCreatesIt) {
    std::string dir = TempFolder();
    std::string err;
    for (const char* name : {"", ".", "..", "../x", "a/b"}) {
        EXPECT_FALSE(WriteTableFileTo(dir, {name, "", "", {}, {}}, &err)) << name;
    }
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_FALSE(WriteTableFileTo(dir + "/missing", {"T", "", "", {}, {}}, &err));
    EXPECT_FALSE(fs::exists(dir + "/missing"));
    // Replacing a file keeps no temporary copy behind.
    ASSERT_TRUE(WriteTableFileTo(dir, {"T", "", "1", {}, {}}, &err));
    ASSERT_TRUE(WriteTableFileTo(dir, {"T", "", "2", {}, {}}, &err));
    std::vector<std::string> names;
    ASSERT_TRUE(ListTableFiles(dir, &names, &err));
    EXPECT_EQ(names, std::vector<std::string>{"T"});
    fs::remove_all(dir);
}

TEST(TableFileTest, DamagedFilesAreRejectedOrReadButNeverOverrun) {
    std::string good = EncodeTableFile(RichTable());
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = good;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        bytes.resize(random() % (bytes.size() + 1));
        TableFile t;
        if (DecodeTableFile(bytes, &t)) {
            EXPECT_LE(EncodeTableFile(t).size(), bytes.size());
        }
    }
}

TEST(TableFileTest, JsonStringsAreAlwaysValid) {
    EXPECT_EQ(JsonString("a\"b\\c\n"), "\"a\\\"b\\\\c\\u000a\"");
    EXPECT_EQ(JsonString("Stra\xC3\x9F"
                         "e"),
              "\"Stra\xC3\x9F"
              "e\"");  // UTF-8 kept
    EXPECT_EQ(JsonString("Stra\xDF"
                         "e"),
              "\"Stra\\u00df"
              "e\"");                                         // a lone byte
    EXPECT_EQ(JsonString("\xE2\x82"), "\"\\u00e2\\u0082\"");  // cut sequence
    // Byte patterns shaped like UTF-8 that a JSON reader refuses: overlong forms, surrogates,
    // code points past U+10FFFF. Each byte is written as an escape of its own.
    EXPECT_EQ(JsonString("\xC0\x80"), "\"\\u00c0\\u0080\"");
    EXPECT_EQ(JsonString("\xE0\x80\x80"), "\"\\u00e0\\u0080\\u0080\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u0080\"");
    EXPECT_EQ(JsonString("\xF0\x80\x80\x80"), "\"\\u00f0\\u0080\\u0080\\u0080\"");
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"\\u00f4\\u0090\\u0080\\u0080\"");
    EXPECT_EQ(JsonString("\xF5\x80\x80\x80"), "\"\\u00f5\\u0080\\u0080\\u0080\"");
    // The edges that are valid stay as they are.
    EXPECT_EQ(JsonString("\xED\x9F\xBF\xF4\x8F\xBF\xBF"), "\"\xED\x9F\xBF\xF4\x8F\xBF\xBF\"");
}

TEST(TableFileTest, DeleteRemovesSchemaFilesTableFilesAndFolders) {
    std::string dir = TempFolder();
    std::string err;
    ASSERT_TRUE(SaveDatabaseFolder(dir + "/db", {RichTable()}, &err)) << err;
    Spill(dir + "/db/Schema/Main.CSF", "schema");
    EXPECT_TRUE(DeleteDatabaseFolder(dir + "/db", &err)) << err;
    EXPECT_FALSE(fs::exists(dir + "/db"));
    // A folder the database does not own makes the delete fail, naming the folder.
    ASSERT_TRUE(SaveDatabaseFolder(dir + "/db2", {RichTable()}, &err)) << err;
    fs::create_directory(dir + "/db2/other");
    EXPECT_FALSE(DeleteDatabaseFolder(dir + "/db2", &err));
    EXPECT_TRUE(err.starts_with(dir + "/db2: ")) << err;
    EXPECT_FALSE(fs::exists(dir + "/db2/ORDERS"));
    fs::remove_all(dir);
}

// An interrupted save leaves its temporary file behind; it is no table file, and a load that
// finds it (with no save running) removes it.
TEST(TableFileTest, LeftoverTemporaryFileIsSkippedAndRemoved) {
    std::string dir = TempFolder();
    std::string err;
    ASSERT_TRUE(SaveDatabaseFolder(dir + "/db", {RichTable()}, &err)) << err;
    Spill(dir + "/db/.table-Xy12Z9", kHeader.substr(0, 5));
    Spill(dir + "/db/.morva-Xy12Z9", "");
    std::vector<TableFile> tables;
    ASSERT_TRUE(LoadDatabaseFolder(dir + "/db", &tables, &err)) << err;
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0], RichTable());
    EXPECT_FALSE(fs::exists(dir + "/db/.table-Xy12Z9"));
    EXPECT_FALSE(fs::exists(dir + "/db/.morva-Xy12Z9"));
    // A deleted database takes any temporary with it.
    Spill(dir + "/db/.table-Xy12Z9", "");
    EXPECT_TRUE(DeleteDatabaseFolder(dir + "/db", &err)) << err;
    EXPECT_FALSE(fs::exists(dir + "/db"));
    fs::remove_all(dir);
}

// A save is one batch: a table that cannot be written leaves every previous file as it was,
// and a finished save leaves nothing but the table files.
TEST(TableFileTest, SaveReplacesAllFilesOrNone) {
    std::string dir = TempFolder();
    std::string err;
    ASSERT_TRUE(
        SaveDatabaseFolder(dir + "/db", {{"A", "", "1", {}, {}}, {"B", "", "1", {}, {}}}, &err))
        << err;
    EXPECT_FALSE(SaveDatabaseFolder(
        dir + "/db", {{"A", "", "2", {}, {}}, {"..", "", "2", {}, {}}, {"B", "", "2", {}, {}}},
        &err));
    EXPECT_EQ(err, "\"..\": not a valid table file name");
    std::vector<TableFile> tables;
    ASSERT_TRUE(LoadDatabaseFolder(dir + "/db", &tables, &err)) << err;
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].label, "1");
    EXPECT_EQ(tables[1].label, "1");
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(dir + "/db"))
        entries.push_back(e.path().filename());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"A", "B", "Schema"}));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace morva::sql

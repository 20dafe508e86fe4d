// The write modes and the type tags in compiled scripts: which values they change, how they
// meet padding and conditions, and the project's type files beside the script.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/script/exe.h"
#include "engine/script/script_api.h"
#include "engine/script/tags.h"
#include "engine/store/store.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

class LogHost : public EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string&) override {}
    std::string log;
};

class WriteModesTest : public ::testing::Test {
  protected:
    WriteModesTest() {
        CTable* a = db_.AddTable(std::string("book_author"), std::nullopt, std::nullopt);
        a->AddColumn(std::string("AuthorId"), std::string("Key"), std::nullopt,
                     std::string("INTEGER"), 4, CColumn::kFlagKey, 0, 0);
        a->AddColumn(std::string("class"), std::nullopt, std::string("<main> & \"Tom's\""),
                     std::string("NUMERIC"), 0, 0, 12, 2);
        a->AddColumn(std::string("x"), std::nullopt, std::nullopt, std::string("GEOMETRY"), 0, 0, 0,
                     0);
        db_.SetSchema(std::string("sales_db"), std::nullopt, std::nullopt);
        db_.ComputeWidths();
    }

    // The log text of compiling `script` under `name` and running it, with line feeds.
    std::string Run(const std::string& body, const std::string& name = "modes.tpx") {
        LogHost host;
        Exe exe;
        CompileText(host, name, "<TEXT>\n" + body + "</TEXT>\n", exe);
        RunProgram(host, exe, db_, RunOptions{});
        std::string log;
        for (char c : host.log) {
            if (c != '\r') log += c;
        }
        return log;
    }

    CDatabase db_{std::string("D")};
};

std::string Ran(const std::string& text) {
    return "modes.tpx Compiling...\n0 Error,  0 Warning\nStart script...\n" + text +
           "End script.\n";
}

TEST_F(WriteModesTest, CaseModesConvertNamesAndPaddingMeasuresTheResult) {
    EXPECT_EQ(Run("<TABLES><PASCAL><T> <CAMEL><T> <KEBAB><S> <ASIS><T>\n"
                  "<COLUMNS><LEFT><SNAKE><C>|<UPPER><C>|<LOWER><C>|<NORMAL>\n"
                  "</COLUMNS></TABLES>"),
              Ran("BookAuthor bookAuthor sales-db BOOK_AUTHOR\n"
                  "author_id  |AUTHORID   |authorid   |\n"
                  "class      |CLASS      |class      |\n"
                  "x          |X          |x          |\n"));
}

TEST_F(WriteModesTest, ModesChangeOnlyWrittenNamesAndStartAfreshEachRun) {
    // Labels and data types keep their case; a condition compares the value as stored.
    const std::string body =
        "<TABLES><COLUMNS><IF><ISKEY> == 1<THEN><SNAKE><C> <L> <D>\n"
        "<IF><C> == AUTHORID<THEN>stored\n</IF></IF></COLUMNS></TABLES><PASCAL><ESCHTML>"
        "<SAFECPP>";
    const std::string expected = Ran("author_id AuthorId INTEGER\nstored\n");
    EXPECT_EQ(Run(body), expected);
    EXPECT_EQ(Run(body), expected);
}

TEST_F(WriteModesTest, EscapeModesApplyToEveryTextValue) {
    const std::string body =
        "<TABLES><COLUMNS><IF><SIZEOFL> > 1<THEN>"
        "<ESCHTML><L>|<ESCSTR><L>|<ESCSQL><L>|<NOESC><L>\n"
        "</IF></COLUMNS></TABLES>";
    EXPECT_EQ(Run(body), Ran("&lt;main&gt; &amp; &quot;Tom&#39;s&quot;|<main> & \\\"Tom's\\\"|"
                             "<main> & \"Tom''s\"|<main> & \"Tom's\"\n"));
}

TEST_F(WriteModesTest, SafeModesEscapeReservedWordsAfterTheCaseConversion) {
    const std::string body =
        "<TABLES><COLUMNS><IF><ISREADONLY> == 0<THEN>"
        "<LOWER><SAFECPP><C> <SAFECS><C> <SAFERUST><C> <SAFESQL><C> <PASCAL><C> <NOSAFE><LOWER>"
        "<C>\n</IF></COLUMNS></TABLES>";
    EXPECT_EQ(Run(body), Ran("authorid authorid authorid authorid AuthorId authorid\n"
                             "class_ @class class class Class class\n"
                             "x x x x X x\n"));
}

TEST_F(WriteModesTest, TypeTagsMapTheColumnsAndKeysAreRequired) {
    EXPECT_EQ(Run("<TABLES><COLUMNS><DASCPP>;<DASCS>;<DASJAVA>;<DASTS>;<DASGO>;<DASPY>;"
                  "<DASRUST>\n</COLUMNS></TABLES>"),
              Ran("std::int32_t;int;int;number;int32;int;i32\n"
                  "std::optional<double>;decimal?;java.math.BigDecimal;number | null;*float64;"
                  "decimal.Decimal | None;Option<f64>\n"
                  "std::optional<std::string>;string;String;string | null;*string;str | None;"
                  "Option<String>\n"));
}

// Every mode tag of the vocabulary is one the run knows how to set.
TEST_F(WriteModesTest, EveryModeTagRuns) {
    for (const TagInfo& t : TagTable()) {
        if (t.role != TagRole::Mode) continue;
        std::string log = Run(std::string(t.spelling) + "<TABLES><T>\n</TABLES>");
        EXPECT_NE(log.find("End script."), std::string::npos) << t.spelling << log;
    }
}

class TypeFileRunTest : public WriteModesTest {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tpx_types_" + std::to_string(getpid()));
        fs::create_directories(folder_);
        std::ofstream(folder_ / "types.cpp") << "# project types\nGEOMETRY = geo::Shape\n"
                                                "NUMERIC=money\nbroken line\n";
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(TypeFileRunTest, EntriesBesideTheScriptOverrideTheTableAndBadLinesWarn) {
    const std::string script = (folder_ / "gen.tpx").string();
    const std::string types = (folder_ / "types.cpp").string();
    EXPECT_EQ(Run("<TABLES><COLUMNS><DASCPP> <DASCS>\n</COLUMNS></TABLES>", script),
              script + " Compiling...\n" + types +
                  "(4): Warning error: expected DATATYPE=type\n"
                  "0 Error,  1 Warning\nStart script...\n"
                  "std::int32_t int\nstd::optional<money> decimal?\n"
                  "std::optional<geo::Shape> string\nEnd script.\n");
    // A folder in the file's place is reported, not read as an empty file.
    fs::remove(folder_ / "types.cpp");
    fs::create_directory(folder_ / "types.cpp");
    EXPECT_NE(Run("<TABLES><COLUMNS><DASCPP>\n</COLUMNS></TABLES>", script)
                  .find(types + "(1): Warning error: the type file is not a file\n"),
              std::string::npos);
    // A script that uses no type tag of that language reads no type file.
    EXPECT_EQ(Run("<TABLES><T>\n</TABLES>", script),
              script +
                  " Compiling...\n0 Error,  0 Warning\nStart script...\nBOOK_AUTHOR\n"
                  "End script.\n");
}

}  // namespace
}  // namespace morva::tpx

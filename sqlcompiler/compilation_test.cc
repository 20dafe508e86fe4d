#include "sqlcompiler/compilation.h"
#include "sqlcompiler/testing/parse_script_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "component/message_box.h"
#include "sqlcompiler/keywords.h"
#include "sqlcompiler/table_writer.h"
#include "sqlcompiler/testing/model_dump.h"

namespace morva::sql {
namespace {

using testing::DumpModel;

using testing::ParseScriptText;

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Message lines as "line|text", tabs and newlines inside a text written as \t and \n.
struct Recorder {
    std::string log;
    void Attach(Compilation& c) {
        c.SetReporter([this](int32_t line, const std::string& text) {
            std::string escaped;
            for (char ch : text) {
                if (ch == '\n')
                    escaped += "\\n";
                else if (ch == '\t')
                    escaped += "\\t";
                else
                    escaped += ch;
            }
            log += std::to_string(line) + "|" + escaped + "\n";
        });
    }
};

// Compiles `text` as the script "t.sql" and returns its messages.
std::string CompileText(Compilation& c, std::string_view text) {
    Recorder r;
    r.Attach(c);
    c.ResetCompilation("t.sql");
    ParseScriptText(c, text);
    c.SetReporter(nullptr);
    return r.log;
}

// Every folder under tests/golden holds input.sql, expected.log and expected.dump. With
// MORVA_UPDATE_GOLDEN set the expected files are rewritten from the results instead.
TEST(SqlGoldenTest, EveryCaseGivesItsMessagesAndModel) {
    const char* root = std::getenv("MORVA_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    fs::path golden = fs::path(root) / "sqlcompiler/tests/golden";
    bool update = std::getenv("MORVA_UPDATE_GOLDEN") != nullptr;
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(golden)) {
        if (!entry.is_directory()) continue;
        ++cases;
        SCOPED_TRACE(entry.path().filename().string());
        fs::path script = entry.path() / "input.sql";
        Compilation c;
        Recorder r;
        r.Attach(c);
        c.ResetCompilation(script.string());
        CompileScript(c);
        std::string log = r.log;
        // Messages name the script as handed over; the expected files name it "input.sql".
        for (size_t at; (at = log.find(script.string())) != std::string::npos;)
            log.replace(at, script.string().size(), "input.sql");
        std::string dump = DumpModel(c.model());
        if (update) {
            std::ofstream(entry.path() / "expected.log", std::ios::binary) << log;
            std::ofstream(entry.path() / "expected.dump", std::ios::binary) << dump;
            continue;
        }
        EXPECT_EQ(log, ReadAll(entry.path() / "expected.log"));
        EXPECT_EQ(dump, ReadAll(entry.path() / "expected.dump"));
    }
    EXPECT_GE(cases, 8);
}

TEST(SqlScannerTest, CarriageReturnLineFeedIsOneNewline) {
    Compilation c;
    std::string log =
        CompileText(c, "CREATE TABLE T (\r\n A INTEGER, /* Amount */\r\n B ==\r\n);\r\n");
    EXPECT_EQ(log, "3|t.sql(3): syntax error\n");
    EXPECT_EQ(c.model().tables[0]->columns[0]->label, "Amount");
    EXPECT_EQ(c.line, 5);
}

TEST(SqlScannerTest, NumberFollowedByLettersIsNumberThenWord) {
    Compilation c;
    // 12AB gives INTLIT 12 and IDENT AB: as a size it is a syntax error after the number.
    EXPECT_EQ(CompileText(c, "CREATE TABLE T (A CHAR(12AB));"), "1|t.sql(1): syntax error\n");
    EXPECT_EQ(c.model().tables[0]->columns[0]->length, 0);
    // Too large a number wraps as a 32-bit conversion does.
    CompileText(c, "CREATE TABLE T (A CHAR(4294967297));");
    EXPECT_EQ(c.model().tables[0]->columns[0]->length, 1);
}

TEST(SqlScannerTest, StrayBytesAreCharactersNotTheEnd) {
    Compilation c;
    std::string text = "CREATE TABLE T (A INTEGER);";
    text += '\0';
    text += "\xC3\xA9 CREATE TABLE U (B INTEGER);";
    EXPECT_EQ(CompileText(c, text), "");
    EXPECT_EQ(c.model().tables.size(), 2u);
    // Inside a statement the same bytes are syntax errors, and the parse goes on after them.
    EXPECT_EQ(CompileText(c, std::string("CREATE TABLE T (A\0 INTEGER);", 28)),
              "1|t.sql(1): syntax error\n");
}

TEST(SqlScannerTest, UnclosedCommentAndQuoteAtEndOfInput) {
    Compilation c;
    EXPECT_EQ(CompileText(c, "CREATE TABLE T (A INTEGER); /* open\n"), "");
    EXPECT_EQ(c.model().tables.size(), 1u);
    // A quote that meets neither its mate nor a newline is a character; in skipped text it
    // is skipped like any other.
    EXPECT_EQ(CompileText(c, "INSERT 'abc"), "");
    EXPECT_EQ(CompileText(c, "CREATE TABLE T (A INTEGER DEFAULT 'abc"),
              "1|t.sql(1): syntax error\n");
}

TEST(SqlScannerTest, CommentLinesAreCutAt1023Characters) {
    Compilation c;
    std::string text =
        "CREATE TABLE T (A INTEGER /* " + std::string(2000, 'x') + "\n  item  \n*/);";
    CompileText(c, text);
    const ColumnDef& a = *c.model().tables[0]->columns[0];
    EXPECT_EQ(a.label, std::string(1023 - 1, 'x'));  // the blank after "/*" is the first byte
    EXPECT_EQ(a.lookupItems, (std::vector<std::string>{"item", "(None)"}));
}

// A token longer than the scanner's buffer makes it ask for a few bytes at a time; the input
// must keep coming until its real end, from a file as from a text.
TEST(SqlScannerTest, LongTokensDoNotEndTheInput) {
    const std::string tail = "\nCREATE TABLE LAST (A INTEGER);\n";
    fs::path script = fs::path(::testing::TempDir()) / "long_token.sql";
    for (size_t size : {size_t{16} << 10, size_t{64} << 10, size_t{1} << 20}) {
        for (std::string token : {"'" + std::string(size, 's') + "'", std::string(size, 'w'),
                                  "/*" + std::string(size, 'c') + "*/"}) {
            SCOPED_TRACE(std::to_string(size) + " " + token.substr(0, 2));
            std::string text = "INSERT INTO X VALUES (" + token + ");" + tail;
            Compilation c;
            EXPECT_EQ(CompileText(c, text), "");
            ASSERT_EQ(c.model().tables.size(), 1u);
            EXPECT_EQ(c.line, 3);
            std::ofstream(script, std::ios::binary) << text;
            Recorder r;
            r.Attach(c);
            c.ResetCompilation(script.string());
            EXPECT_TRUE(CompileScript(c));
            EXPECT_EQ(c.model().tables.size(), 1u);
            EXPECT_NE(r.log.find("|0 Errors, 0 Warning\n"), std::string::npos);
        }
    }
    fs::remove(script);
}

// Tokens and line ends of every length around the reader's and the scanner's buffer sizes,
// starting at every offset near a boundary: each one still leaves the table after it.
TEST(SqlScannerTest, TokensAcrossBufferBoundariesKeepTheInput) {
    for (size_t boundary : {size_t{8192}, size_t{16384}, size_t{32768}}) {
        for (size_t length = boundary - 16; length <= boundary + 6; ++length) {
            SCOPED_TRACE(length);
            Compilation c;
            std::string text = "INSERT '" + std::string(length, 'x') + "'\r\n" +
                               "CREATE TABLE Last ( /* Last */\r\n A INTEGER);\r\n";
            EXPECT_EQ(CompileText(c, text), "");
            ASSERT_EQ(c.model().tables.size(), 1u);
            EXPECT_EQ(c.model().tables[0]->label, "Last");
            EXPECT_EQ(c.line, 4);
        }
    }
}

// The look-up searches the spellings of the word's first letter: every spelling must be found,
// in any letter case, and a word beside one (a prefix, a longer word, a word before the first
// or after the last, a word that starts with no letter) not.
TEST(SqlKeywordTest, LookupFindsExactlyTheSpellings) {
    std::set<std::string_view> spellings;
    for (const Keyword& k : Keywords()) spellings.insert(k.spelling);
    ASSERT_EQ(spellings.size(), Keywords().size());
    for (const Keyword& k : Keywords()) {
        EXPECT_NE(k.token, 0) << k.spelling;
        EXPECT_EQ(LookupKeyword(k.spelling), k.token) << k.spelling;
        std::string longer = std::string(k.spelling) + "S";
        std::string shorter(k.spelling.substr(0, k.spelling.size() - 1));
        EXPECT_EQ(LookupKeyword(longer) != 0, spellings.contains(longer)) << longer;
        EXPECT_EQ(LookupKeyword(shorter) != 0, spellings.contains(shorter)) << shorter;
        std::string lower;
        for (char ch : k.spelling) lower += static_cast<char>(std::tolower(ch));
        EXPECT_EQ(LookupKeywordIgnoringCase(lower), k.token) << lower;
        EXPECT_EQ(LookupKeywordIgnoringCase(longer + "_X"), 0) << longer;
    }
    EXPECT_EQ(LookupKeywordIgnoringCase("Table"), LookupKeyword("TABLE"));
    EXPECT_EQ(LookupKeyword("ASCENDING"), LookupKeyword("ASC"));
    EXPECT_EQ(LookupKeyword("DESCENDING"), LookupKeyword("DESC"));
    for (std::string_view word :
         {"", "A", "ZZZ", "add", "Table", "VARYING2", "_ADD", "1ADD", "PRECISIONPRECISION"})
        EXPECT_EQ(LookupKeyword(word), 0) << word;
}

TEST(SqlParserTest, LongRunsOfSkippedTokensCompile) {
    Compilation c;
    std::string text = "CREATE TABLE A (X INTEGER);\n";
    for (int i = 0; i < 100000; ++i) text += "x ";
    text += "\nCREATE TABLE B (Y INTEGER);\n";
    EXPECT_EQ(CompileText(c, text), "");
    EXPECT_EQ(c.model().tables.size(), 2u);
    EXPECT_EQ(c.fatals(), 0);
}

TEST(SqlParserTest, FullStackIsFatalAndEndsTheParse) {
    Compilation c;
    Recorder r;
    r.Attach(c);
    c.ResetCompilation("t.sql");
    c.parseStackLimit = 16;
    ParseScriptText(
        c,
        "CREATE TABLE T (A INTEGER CONSTRAINT C REFERENCES M (\nX, Y));\nCREATE TABLE U (B "
        "INTEGER);");
    EXPECT_EQ(r.log, "2|t.sql(2): Compiler stack overflow, too big script\n");
    EXPECT_EQ(c.fatals(), 1);
    EXPECT_EQ(c.errors(), 1);
    EXPECT_EQ(c.model().tables.size(), 1u);
}

TEST(SqlParserTest, ResetForgetsEverything) {
    Compilation c;
    CompileText(c, "CREATE DOMAIN D VARCHAR(3); CREATE TABLE T (A D /* x */ ); CREATE TABLE (");
    EXPECT_EQ(c.errors(), 1);
    c.ResetCompilation("next.sql");
    EXPECT_TRUE(c.model().tables.empty());
    EXPECT_TRUE(c.model().domains.columns.empty());
    EXPECT_EQ(c.errors(), 0);
    EXPECT_EQ(c.line, 1);
    EXPECT_EQ(c.mode, kModeSkipping);
    // The domain of the previous compilation is gone: its name is now a plain type name.
    CompileText(c, "CREATE TABLE T (A D);");
    EXPECT_EQ(c.model().tables[0]->columns[0]->dataType, "D");
}

TEST(SqlCompileTest, MissingScriptReportsOnlyTheFatalLine) {
    Compilation c;
    Recorder r;
    r.Attach(c);
    c.ResetCompilation("/nonexistent/dir/x.sql");
    EXPECT_FALSE(CompileScript(c));
    EXPECT_EQ(r.log, "1|Fatal: Unable to open file /nonexistent/dir/x.sql\\n\n");
}

TEST(SqlCompileTest, MemoryErrorShowsTheBoxAndCountsFatal) {
    std::vector<std::string> boxes;
    auto previous = com::SetMessageBoxHook(
        [&](const std::string& text, const std::string& caption, com::MbIcon, com::MbButtons) {
            boxes.push_back(caption + ": " + text);
            return com::IDOK;
        });
    Compilation c;
    c.ResetCompilation("t.sql");
    c.ReportMemoryError();
    com::SetMessageBoxHook(previous);
    EXPECT_EQ(boxes, std::vector<std::string>{"SQL parser: Insufficent memory"});
    EXPECT_EQ(c.fatals(), 1);
}

// Token soup built from the language's own pieces and stray bytes: whatever it holds, the
// compiler finishes, and every table it builds survives a table file round trip.
TEST(SqlParserTest, AnyInputCompilesToTheEndWithoutHarm) {
    std::vector<std::string> pieces = {"CREATE",
                                       "TABLE",
                                       "ALTER",
                                       "ADD",
                                       "T",
                                       "c1",
                                       "12",
                                       "0",
                                       "'s'",
                                       "'open",
                                       "\"q\"",
                                       "(",
                                       ")",
                                       ",",
                                       ";",
                                       "/",
                                       "[",
                                       "]",
                                       ":",
                                       "-",
                                       ".",
                                       "*",
                                       "/*",
                                       "*/",
                                       "--",
                                       "\n",
                                       "\r\n",
                                       " ",
                                       "\t",
                                       "CHECK (",
                                       "COMPUTED BY (",
                                       "REFERENCES"};
    for (const Keyword& k : Keywords()) pieces.emplace_back(k.spelling);
    std::mt19937 random(20240607);
    Compilation c;
    for (int script = 0; script < 3000; ++script) {
        std::string text;
        int length = static_cast<int>(random() % 80);
        for (int i = 0; i < length; ++i) {
            if (random() % 20 == 0) {
                text += static_cast<char>(random() % 256);
            } else {
                text += pieces[random() % pieces.size()];
                text += ' ';
            }
        }
        c.ResetCompilation("fuzz.sql");
        ParseScriptText(c, text);
        ASSERT_EQ(c.fatals(), 0) << text;
        for (const auto& table : c.model().tables) {
            TableFile file = ToTableFile(*table);
            TableFile back;
            ASSERT_TRUE(DecodeTableFile(EncodeTableFile(file), &back)) << text;
            EXPECT_EQ(back.columns.size(), file.columns.size());
        }
    }
}

}  // namespace
}  // namespace morva::sql

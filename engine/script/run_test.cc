// Output files of a run: line ends and sizes beyond the writer's buffer.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>

#include "engine/host/cmorva.h"
#include "engine/store/store.h"
#include "engine/script/exe.h"
#include "engine/script/program_dump.h"
#include "engine/script/run.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

class RunOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = fs::temp_directory_path() / ("tpx_run_output_" + std::to_string(getpid()));
        fs::create_directories(work_);
        home_ = fs::current_path();
        fs::current_path(work_);
        morva_->CreateDatabase(std::string("D"), 0);
        for (const char* table : {"A", "B"})
            morva_->AddTable(std::string(table), std::nullopt, std::nullopt, 0, 0);
        morva_->InitDatabase();
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(work_);
    }
    std::string Run(const std::string& body, bool lineFeedOnly) {
        AsCMorva(morva_.get())->SetLineFeedOnly(lineFeedOnly);
        Compile("<TEXT><CREATE>big.txt</CREATE>\n" + body + "<CLOSE>\n</TEXT>\n");
        morva_->RunScript();
        std::ifstream in(work_ / "big.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The log after running `body` with no output file open: the text lands in the log.
    std::string RunIntoLog(const std::string& body) {
        Compile("<TEXT>\n" + body + "</TEXT>\n");
        morva_->Clear();
        morva_->RunScript();
        std::string log;
        morva_->GetLogText(&log);
        return log;
    }
    void Compile(const std::string& script) {
        morva_->SetScript(std::string("big.tpx"), script);
        EXPECT_TRUE(AsCMorva(morva_.get())->compiled());
    }

    com::ComPtr<IMorva> morva_ = NewMorva();
    fs::path work_, home_;
};

// Many short lines, then one line longer than the write buffer, then a last line.
std::string LongText(const char* lineEnd) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "line " + std::to_string(i) + lineEnd;
    return text + std::string(100000, 'x') + lineEnd + "end" + lineEnd;
}

TEST_F(RunOutputTest, LongOutputKeepsEveryLineEnd) {
    EXPECT_EQ(Run(LongText("\n"), false), LongText("\r\n"));
    EXPECT_EQ(Run(LongText("\n"), true), LongText("\n"));
}

// A separator block longer than the part of an output file that is written out early: the
// copy after the last table is still deleted, and the file holds what the log would.
TEST_F(RunOutputTest, SeparatorSpanningWrittenOutTextIsStillDeleted) {
    std::string block;
    for (int i = 0; i < 40000; ++i) block += "separator line " + std::to_string(i) + "\n";
    std::string body = "<TABLES><T><ELT>;\n" + block + "</ELT></TABLES>\nend\n";
    std::string file = Run(body, false);
    EXPECT_EQ(file.find("separator line 0\r\n"), file.rfind("separator line 0\r\n"));
    EXPECT_NE(file.find("separator line 39999\r\nB"), std::string::npos);
    EXPECT_NE(RunIntoLog(body).find(file), std::string::npos);
}

// A line feed inside a value ends a line of the output file like the script's own line ends
// do; the log keeps it as it stands.
TEST_F(RunOutputTest, LineFeedsInsideValuesFollowTheFilesLineEnds) {
    morva_->CreateDatabase(std::string("D"), 0);
    morva_->AddTable(std::string("A"), std::nullopt, std::string("two\nlines"), 0, 0);
    morva_->InitDatabase();
    std::string body = "<TABLES>[<TL>] <T>\n</TABLES>";
    EXPECT_EQ(Run(body, false), "[two\r\nlines] A\r\n");
    EXPECT_EQ(Run(body, true), "[two\nlines] A\n");
    EXPECT_NE(RunIntoLog(body).find("[two\nlines] A\r\n"), std::string::npos);
}

// Separator marks point at the bytes they were taken before, whatever happens to the line
// after: carriage returns going in before the line feeds of values, the line moving from an
// output file to the log, or another separator deleted before them.
class SeparatorMarkTest : public RunOutputTest {
  protected:
    void SetUp() override {
        RunOutputTest::SetUp();
        morva_->CreateDatabase(std::string("D"), 0);
    }
    // Adds table `table` with a column labelled by each of `labels`, named after the table.
    void AddTable(const char* table, std::initializer_list<const char*> labels) {
        morva_->AddTable(std::string(table), std::nullopt, std::nullopt, 0, 0);
        int n = 0;
        for (const char* label : labels) {
            std::string name = std::string(table) + std::to_string(++n);
            morva_->AddColumnIntoTable(std::string(table), std::nullopt, name, std::string(label),
                                       std::string("CHAR"), 1, 0, 0, 0);
        }
    }
    std::string RunScript(const std::string& script, bool lineFeedOnly) {
        AsCMorva(morva_.get())->SetLineFeedOnly(lineFeedOnly);
        Compile(script);
        morva_->Clear();
        morva_->RunScript();
        std::string log;
        morva_->GetLogText(&log);
        return log;
    }
    std::string File(const char* name) {
        std::ifstream in(work_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(SeparatorMarkTest, LineFeedsInValuesBeforeTheSeparator) {
    AddTable("A", {"a\nb", "c\nd"});
    morva_->InitDatabase();
    std::string body = "<TABLES><COLUMNS><L><ELC>, </ELC></COLUMNS>\n</TABLES>";
    EXPECT_EQ(Run(body, false), "a\r\nb, c\r\nd\r\n");
    EXPECT_EQ(Run(body, true), "a\nb, c\nd\n");
    EXPECT_NE(RunIntoLog(body).find("\r\na\nb, c\nd\r\nEnd script."), std::string::npos);
}

TEST_F(SeparatorMarkTest, LineThatCloseMovesToTheLogTakesItsSeparatorAlong) {
    AddTable("A", {});
    AddTable("BB", {});
    morva_->InitDatabase();
    const std::string script =
        "<TEXT>\nabcdefghijklmnopq\n<CREATE>a.txt</CREATE>\nline1\nline2\n"
        "<TABLES><T><ELT>,</ELT></TABLES><CLOSE>\nend\n</TEXT>\n";
    const std::string log =
        "Start script...\r\na.txt\r\nabcdefghijklmnopq\r\nA,BB\r\nend\r\nEnd script.\r\n";
    EXPECT_EQ(RunScript(script, false), log);
    EXPECT_EQ(File("a.txt"), "line1\r\nline2\r\n");
    EXPECT_EQ(RunScript(script, true), log);
    EXPECT_EQ(File("a.txt"), "line1\nline2\n");
}

// Settled on one line, <EL> first deletes the comma after the last column; the semicolon of
// <ELC> after it is still the one deleted, not a byte of the line end.
TEST_F(SeparatorMarkTest, TwoKindsSettledOnOneLine) {
    AddTable("A", {"x", "y"});
    AddTable("B", {"z"});
    morva_->InitDatabase();
    std::string body = "<TABLES><COLUMNS><C><EL>,</EL><ELC>;</ELC></COLUMNS></TABLES>\n";
    EXPECT_EQ(Run(body, false), "A1,;A2,;B1\r\n");
    EXPECT_NE(RunIntoLog(body).find("\r\nA1,;A2,;B1\r\nEnd"), std::string::npos);
}

// A run-time error after much of a file was written: a new file stays empty, an existing one
// keeps the text it had, whose changes are not yet visible either.
TEST_F(RunOutputTest, RunTimeErrorLeavesTheLongFileWithoutItsText) {
    std::string failing = LongText("\n") + "<VAR> v </VAR><EXPR> <$v> = 1 / 0; </EXPR>\n";
    Run(failing, false);
    EXPECT_TRUE(fs::exists(work_ / "big.txt"));
    EXPECT_EQ(fs::file_size(work_ / "big.txt"), 0u);
    EXPECT_EQ(Run(LongText("\n"), false), LongText("\r\n"));
    EXPECT_EQ(Run(failing, false), LongText("\r\n"));
}

class NoHost : public EngineControl {
  public:
    void WriteLog(std::string_view) override {}
    void CloseAsDfm(const std::string&) override {}
};

// A compiled program is only read by a run: two runs of one program at once each give what a
// run alone gives (variables counted up over every column, conditions that need the general
// evaluation), and the program dumps as before.
TEST_F(RunOutputTest, OneProgramRunsTwiceAtOnce) {
    morva_->CreateDatabase(std::string("D"), 0);
    for (int t = 0; t < 300; ++t) {
        std::string table = "T" + std::to_string(t);
        morva_->AddTable(table, std::nullopt, std::nullopt, 0, 0);
        for (int c = 0; c < 4; ++c) {
            morva_->AddColumnIntoTable(table, std::nullopt, table + "C" + std::to_string(c),
                                       std::nullopt, std::string("CHAR"), c + 1, 0, 0, 0);
        }
    }
    morva_->InitDatabase();
    Compile(
        "<TEXT>\n<VAR> n, total </VAR>\n"
        "<TABLES><EXPR> <$n> = 0; </EXPR><COLUMNS><EXPR> <$n>++; <$total> += <SIZE> * 2 + 1; "
        "</EXPR><IF> (<$n> > 2 && <SIZE> >= 3) || <C> == T7C0 <THEN><C>=<$n>,<$total>\n"
        "</IF></COLUMNS></TABLES>total=<$total>\n</TEXT>\n");
    const CMorva* engine = AsCMorva(morva_.get());
    const Program& program = engine->exe()->program();
    const CDatabase& db = *engine->database();
    const std::string dump = DumpProgram(program);
    auto run = [&] {
        NoHost host;
        Runner runner(program, host, db);
        return runner.Run();
    };
    const std::string alone = run();
    EXPECT_NE(alone.find("T6C3=4,168\r\nT7C0=1,171\r\nT7C2=3,"), std::string::npos);
    EXPECT_NE(alone.find("total=7200\r\n"), std::string::npos);  // 300 * (3 + 5 + 7 + 9)
    for (int round = 0; round < 5; ++round) {
        std::string first, second;
        std::thread other([&] { second = run(); });
        first = run();
        other.join();
        EXPECT_EQ(first, alone);
        EXPECT_EQ(second, alone);
    }
    EXPECT_EQ(run(), alone);
    EXPECT_EQ(DumpProgram(program), dump);
}

}  // namespace
}  // namespace morva::tpx

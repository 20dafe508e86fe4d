#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/host/cmorva.h"
#include "engine/script/diagnostics.h"
#include "engine/script/emitter.h"
#include "engine/script/exe.h"
#include "engine/script/messages.h"
#include "engine/script/program_dump.h"

namespace morva::tpx {
namespace {

class CompileTest : public ::testing::Test {
  protected:
    std::string Compile(const std::string& script) {
        morva_->Clear();
        morva_->SetScript(std::string("t.tpx"), script);
        std::string log;
        morva_->GetLogText(&log);
        return log;
    }
    const Program& program() { return AsCMorva(morva_.get())->exe()->program(); }

    com::ComPtr<IMorva> morva_ = NewMorva();
};

TEST_F(CompileTest, LongRunsOfBodyItemsTakeConstantStack) {
    std::string script = "<TEXT>" + std::string(100000, '.') + "</TEXT>" +
                         std::string(100000, '.') + std::string(50000, 'x');
    std::string log = Compile(script);
    EXPECT_EQ(log, "t.tpx Compiling...\r\n0 Error,  0 Warning\r\n");
    EXPECT_EQ(program().code.size(), 100001u);
}

// A token longer than the scanner's buffer (a comment line, a word) is read to its end and
// the script after it still compiles, whatever its length against the 8192-byte reads.
TEST_F(CompileTest, LongTokensDoNotEndTheScript) {
    std::vector<size_t> sizes = {size_t{16} << 10, size_t{64} << 10, size_t{1} << 20};
    for (size_t n = 8180; n <= 8200; ++n) sizes.push_back(n);
    for (size_t n = 16370; n <= 16390; ++n) sizes.push_back(n);
    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        std::string script = "<TEXT><COMMENT>" + std::string(size, 'c') + "\n" +
                             std::string(size, 'w') + "\n<$zz>\n</TEXT>";
        EXPECT_EQ(Compile(script),
                  "t.tpx Compiling...\r\nt.tpx(3): Variable Error: Undefined symbol "
                  "<$zz>\r\n1 Error,  0 Warning\r\n");
    }
}

TEST_F(CompileTest, DeepNestingOverflowsTheParserStack) {
    std::string script = "<TEXT>";
    for (int i = 0; i < 9000; ++i) script += "<IF> 1 <THEN>";
    std::string log = Compile(script);
    EXPECT_NE(log.find("Fatal error: Too big script: Compiler Stack Overflow\r\n1 Fatals.\r\n"),
              std::string::npos)
        << log.substr(0, 300);
    EXPECT_FALSE(AsCMorva(morva_.get())->compiled());
}

TEST_F(CompileTest, ModerateNestingCompiles) {
    std::string script = "<TEXT>";
    for (int i = 0; i < 1000; ++i) script += "<IF> 1 <THEN>";
    for (int i = 0; i < 1000; ++i) script += "</IF>";
    script += "</TEXT>";
    EXPECT_EQ(Compile(script), "t.tpx Compiling...\r\n0 Error,  0 Warning\r\n");
    EXPECT_EQ(program().conditions.size(), 1000u);
    EXPECT_EQ(program().conditions[0].endAddress, program().conditions[999].endAddress + 999);
}

TEST_F(CompileTest, RecompilingStartsAfresh) {
    Compile("<TEXT><VAR> a </VAR><IF> <$a> == 1 <THEN>x");  // stops with errors mid-condition
    std::string log = Compile("<TEXT><$a>\n</TEXT>");
    EXPECT_NE(log.find("t.tpx(1): Variable Error: Undefined symbol <$a>"), std::string::npos);
    EXPECT_NE(log.find("1 Error,  0 Warning"), std::string::npos);
    EXPECT_TRUE(program().conditions.empty());
    EXPECT_EQ(program().vars.size(), 0);
}

TEST_F(CompileTest, CharactersAboveAsciiStayCharacters) {
    Compile("<TEXT>\xC3\xA9</TEXT>");
    ASSERT_EQ(program().code.size(), 3u);
    EXPECT_EQ(program().code[1], 0xC3);
    EXPECT_EQ(program().code[2], 0xA9);
}

TEST_F(CompileTest, NumbersBeyondThirtyTwoBitsAreClamped) {
    Compile("<TEXT><IF> 99999999999 == 1 <THEN></IF></TEXT>");
    EXPECT_EQ(program().conditions[0].nodes[0].value, 2147483647);
}

TEST_F(CompileTest, MessagesCarryTheLineAtTheEndOfInput) {
    std::string log = Compile("<TEXT>\n\n<TABLES>");
    EXPECT_NE(log.find("t.tpx(3): syntax error: missing token </TABLES>"), std::string::npos);
}

// Plain body text is scanned in runs; the program, the line count and the messages must come out
// as if every word, blank and punctuation character were a token of its own.
TEST_F(CompileTest, BodyTextKeepsEveryByteAndLine) {
    std::string script = "<TEXT>unit u<T>;\r\n\t{ x==1; a+=2 } \\<b>\\\\c" + std::string(1, '\0') +
                         "\xC3\xA9\xFF.\n\n  end.<C>\n<$q></TEXT>";
    EXPECT_EQ(Compile(script),
              "t.tpx Compiling...\r\n"
              "t.tpx(5): Variable Error: Undefined symbol <$q>\r\n"
              "1 Error,  0 Warning\r\n");
    EXPECT_EQ(DumpProgram(program()),
              "code 48 words\n"
              "0000  <TEXT>\n"
              "0001  \"unit u\"\n"
              "0007  <T>\n"
              "0008  \";\\r\\n\"\n"
              "0011  \"\\t{ x==1; a+=2 } <b>\\\\\\\\c\\x00\\xC3\\xA9\\xFF.\\n\"\n"
              "0039  \"\\n\"\n"
              "0040  \"  end.\"\n"
              "0046  <C>\n"
              "0047  \"\\n\"\n");
}

TEST_F(CompileTest, TextAfterABodyEndedByAnErrorIsOutsideTheBody) {
    // </EXPR> ends the body with errors; the text after it is no syntax error of its own, and
    // the misplaced tag on line 3 is.
    EXPECT_EQ(Compile("<TEXT><COLUMNS></EXPR>a b c;\nd e\n<SIZE>"),
              "t.tpx Compiling...\r\n"
              "t.tpx(1): Warning error: Token that depand on table used outside of Tables block\r\n"
              "t.tpx(1): syntax error\r\n"
              "t.tpx(1): syntax error: missing token </COLUMNS>\r\n"
              "t.tpx(1): syntax error: missing token </TEXT>\r\n"
              "t.tpx(3): syntax error\r\n"
              "4 Error,  1 Warning\r\n");
}

TEST_F(CompileTest, WordsAfterASyntaxErrorCountTowardsReportingTheNext) {
    // After an error the parser reports the next one only once three tokens were taken: "a",
    // " " and "b" here, but not "a" and ";".
    std::string log = Compile("<TEXT><TABLES></COLUMNS>a b;</COLUMNS></TABLES></TEXT>");
    EXPECT_EQ(log,
              "t.tpx Compiling...\r\n"
              "t.tpx(1): syntax error\r\n"
              "t.tpx(1): syntax error: missing token </TABLES>\r\n"
              "t.tpx(1): syntax error: missing token </TEXT>\r\n"
              "t.tpx(1): syntax error\r\n"
              "4 Error,  0 Warning\r\n");
    log = Compile("<TEXT><TABLES></COLUMNS>a;</COLUMNS></TABLES></TEXT>");
    EXPECT_NE(log.find("3 Error,  0 Warning"), std::string::npos) << log;
}

TEST_F(CompileTest, TextAfterAConditionWithoutThenStaysConditionOperands) {
    // The condition never got its <THEN>, so the words after it are operands, one each.
    Compile("<TEXT><IF> 1 == <THEN>a b c d;e f g\n</IF></TEXT>");
    EXPECT_EQ(DumpProgram(program()),
              "code 3 words\n"
              "0000  <TEXT>\n"
              "0001  <IF> if#0\n"
              "if#0 then -1 else -1 end -1: 1 \"a\" \" \" \"b\" \" \" \"c\" \" \" \"d\" \"e\" \" "
              "\" \"f\" "
              "\" \" \"g\"\n");
}

// The warning about <COLUMNS> outside <TABLES> keeps its log line and names the tag with its
// line and column (in characters) beside it, wherever the bytes before it came from: a
// comment line, a run of text with an escape and a value tag, letters beyond ASCII.
TEST_F(CompileTest, ContextWarningsNameTheTagAndItsPlace) {
    const std::string script =
        "<TEXT>\n<COMMENT> a comment\nGr\u00f6\u00dfe \\< <T> x<Columns><C>\n</COLUMNS>\n"
        "<TABLES><COLUMNS></COLUMNS></TABLES>\n  <COLUMNS>\n</COLUMNS></TEXT>";
    std::string log = Compile(script);
    EXPECT_NE(log.find("t.tpx(3): Warning error: Token that depand on table used outside of "
                       "Tables block\r\n"),
              std::string::npos)
        << log;
    const std::vector<Diagnostic>& found = AsCMorva(morva_.get())->exe()->diagnostics();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].line, 3);
    EXPECT_EQ(found[0].column, 15);
    EXPECT_EQ(found[0].offset, script.find("<Columns>"));
    EXPECT_EQ(found[0].tag, 272);
    EXPECT_EQ(found[0].text, "<COLUMNS> depends on the current table but is used outside <TABLES>");
    EXPECT_EQ(found[1].line, 6);
    EXPECT_EQ(found[1].column, 3);
    Compile("<TEXT><TABLES><COLUMNS></COLUMNS></TABLES></TEXT>");
    EXPECT_TRUE(AsCMorva(morva_.get())->exe()->diagnostics().empty());
}

class ReporterTest : public CompileTest {};

TEST_F(ReporterTest, InvalidCodesWriteBugLinesAndStillCount) {
    Compile("");
    yySyntax(41);
    yyWarning(2);
    yyFatal(3);
    yySyntax(-1);
    std::string log;
    morva_->GetLogText(&log);
    EXPECT_EQ(log,
              "t.tpx Compiling...\r\n0 Error,  0 Warning\r\n"
              "\t*** BUG: In yySyntax(): Invalid error code 41\n\r\n"
              "\t*** BUG: In yyWarning(): Invalid error code 2\n\r\n"
              "\t*** BUG: In yyFatal(): Invalid error code 3\n\r\n"
              "\t*** BUG: In yySyntax(): Invalid error code -1\n\r\n");
    EXPECT_EQ(Engine().errorCount, 2);
    EXPECT_EQ(Engine().warningCount, 1);
    EXPECT_EQ(Engine().fatalCount, 1);
}

TEST_F(ReporterTest, ArgumentsAndTheParserOwnCalls) {
    Compile("");
    morva_->Clear();
    yySyntax(8, "x");
    yyParserError("syntax error");
    yyParserError("yacc stack overflow");
    std::string log;
    morva_->GetLogText(&log);
    EXPECT_EQ(log,
              "t.tpx(1): syntax error: missing ',' 'x'\r\n"
              "t.tpx(1): syntax error\r\n"
              "t.tpx(1): Fatal error: Too big script: Compiler Stack Overflow\r\n");
}

TEST_F(ReporterTest, ElseIfChainWithoutItsIfIsAnInvalidIfStack) {
    Compile("");
    morva_->Clear();
    CodeEmitter emitter;
    emitter.ElseIf();
    EXPECT_FALSE(emitter.Stopped());
    emitter.EndIf();
    EXPECT_TRUE(emitter.Stopped());
    std::string log;
    morva_->GetLogText(&log);
    EXPECT_EQ(log, "t.tpx(1): Fatal error: BUG: Invalid IF-Stack\r\n");
}

TEST_F(ReporterTest, LongMessagesAreWrittenWhole) {
    morva_->Clear();
    std::string long_text(5000, 'm');
    WriteMessage("%s|", long_text.c_str());
    std::string log;
    morva_->GetLogText(&log);
    EXPECT_EQ(log, long_text + "|\r\n");
}

TEST(EngineStateTest, MessagesBeforeAnyScriptNameNotYet) {
    auto morva = NewMorva();
    yyWarning(0);
    std::string log;
    morva->GetLogText(&log);
    EXPECT_EQ(log,
              "Not Yet(1): Warning error: Token that depand on table used outside of Tables "
              "block\r\n");
}

}  // namespace
}  // namespace morva::tpx

#include "engine/script/lint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "engine/script/program_dump.h"
#include "engine/script/script_api.h"
#include "engine/script/token.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

/// "LINE:COLUMN CHECK" of each finding, the shape most tests compare.
std::vector<std::string> Places(std::string_view script, const LintOptions& options = {}) {
    std::vector<std::string> out;
    for (const LintFinding& f : LintScript(script, options))
        out.push_back(std::to_string(f.line) + ":" + std::to_string(f.column) + " " + f.check);
    return out;
}

using Strings = std::vector<std::string>;

TEST(LintNearMissTest, NamesTheTagAWordMisspells) {
    std::vector<LintFinding> found = LintScript("<TEXT>\n<COLUMS><TPYE> <Tabels>\n</T>\n</TEXT>\n");
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].message, "not a tag: <COLUMS> is copied as text; did you mean <COLUMNS>?");
    EXPECT_EQ(found[0].offset, 7u);
    EXPECT_EQ(found[0].length, 8u);
    EXPECT_EQ(found[1].message, "not a tag: <TPYE> is copied as text; did you mean <TYPE>?");
    EXPECT_EQ(found[2].message, "not a tag: <Tabels> is copied as text; did you mean <TABLES>?");
    EXPECT_EQ(found[3].message, "not a tag: </T> is copied as text; <T> has no closing form");
    EXPECT_EQ(Places("<TEXT>\n<COLUMS><TPYE> <Tabels>\n</T>\n</TEXT>\n"),
              (Strings{"2:1 near-miss-tag", "2:9 near-miss-tag", "2:16 near-miss-tag",
                       "3:1 near-miss-tag"}));
}

TEST(LintNearMissTest, LeavesWordsThatAreNoSlipAlone) {
    // Type arguments, escapes, text outside the body, words far from every tag, one-letter
    // words, and tags the scanner takes as text in their place.
    EXPECT_TRUE(Places("<COLUMS> before\n<TEXT>\n#include <cstdint>\nstd::vector<int> v;\n"
                       "\\<COLUMS> <b> <x> <IN> <Customer>\n</TEXT>\n<COLUMS> after\n")
                    .empty());
    // In a markup body the elements of the markup are not misspelt tags.
    EXPECT_TRUE(Places("<TEXT>\n<table>\n<tr><td><C></td></tr>\n</table>\n</TEXT>\n").empty());
    // Columns count in characters: the multi-byte letter before the word is one.
    EXPECT_EQ(Places("<TEXT>\n\xC3\xA9 <COLUMS>\n</TEXT>\n"), (Strings{"2:3 near-miss-tag"}));
}

TEST(LintMarkupClashTest, LowerCaseTagsInMarkupAreFlagged) {
    std::string html =
        "<TEXT>\n<!DOCTYPE html>\n<html><body>\n<p>Table <T></p>\n<center>x</center>\n"
        "</body></html>\n</TEXT>\n";
    std::vector<LintFinding> found = LintScript(html);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].check, "markup-clash");
    EXPECT_EQ(found[0].message, "<p> is the tag <P> here; write \\<p> for a literal <p>");
    EXPECT_EQ(found[0].line, 4);
    EXPECT_EQ(found[1].message,
              "<center> is the tag <CENTER> here; write \\<center> for a literal <center>");
    // Upper case means the tag; an escape means the markup; the same tag outside markup is
    // only a tag.
    EXPECT_TRUE(Places("<TEXT>\n<html><body>\n<P>\\<p>x</p>\n</body></html>\n</TEXT>\n").empty());
    EXPECT_TRUE(Places("<TEXT>\nunit <s>;\n</TEXT>\n").empty());
}

TEST(LintMarkupClashTest, ElementsOfAnyMarkupCount) {
    // An XML body that opens and closes its own elements: <left> is one of them.
    std::string xml =
        "<TEXT>\n<?xml version=\"1.0\"?>\n<layout><left>a</left><Item>b</Item></layout>\n"
        "<text>x</text>\n</TEXT>\n";
    EXPECT_EQ(Places(xml), (Strings{"3:9 markup-clash", "4:1 markup-clash", "4:1 compile-error",
                                    "4:1 compile-error"}));
}

TEST(LintVariableTest, DeclaredButNeverUsed) {
    EXPECT_EQ(Places("<TEXT>\n<VAR> a, b </VAR>\n<$a>\n</TEXT>\n"),
              (Strings{"2:10 unused-variable"}));
    EXPECT_TRUE(Places("<TEXT>\n<VAR> a </VAR>\n<EXPR> <$a> = 1; </EXPR>\n</TEXT>\n").empty());
}

TEST(LintVariableTest, TestedBeforeAnyAssignment) {
    std::vector<LintFinding> found =
        LintScript("<TEXT>\n<VAR> n </VAR>\n<IF> <$n> == 1 <THEN>x</IF>\n</TEXT>\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].check, "unassigned-variable");
    EXPECT_EQ(found[0].message, "variable n is used in a condition before any assignment");
    EXPECT_EQ(found[0].column, 6);
    // Assigned first, or assigned later in the same loop (the next round reads it), or only
    // written out: nothing.
    EXPECT_TRUE(Places("<TEXT>\n<VAR> n </VAR>\n<EXPR> <$n> += 2; </EXPR>\n"
                       "<IF> <$n> == 1 <THEN>x</IF>\n</TEXT>\n")
                    .empty());
    EXPECT_TRUE(Places("<TEXT>\n<VAR> n </VAR>\n<TABLES>\n<IF> <$n> > 0 <THEN>,</IF><T>\n"
                       "<EXPR> <$n>++; </EXPR>\n</TABLES>\n</TEXT>\n")
                    .empty());
    // An assignment in another loop does not help the first round of this one.
    EXPECT_EQ(Places("<TEXT>\n<VAR> n </VAR>\n<TABLES>\n<IF> <$n> > 0 <THEN>,</IF>\n</TABLES>\n"
                     "<TABLES>\n<EXPR> <$n>++; </EXPR>\n</TABLES>\n</TEXT>\n"),
              (Strings{"4:6 unassigned-variable"}));
}

TEST(LintFileTest, CreateNeverClosed) {
    EXPECT_EQ(Places("<TEXT>\n<CREATE>a</CREATE>x\n<CREATE>b</CREATE>y\n<CLOSE>\n</TEXT>\n"),
              (Strings{"2:1 unclosed-create"}));
    std::vector<LintFinding> end = LintScript("<TEXT>\n<CREATE>a</CREATE>x\n</TEXT>\n");
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(end[0].message,
              "the file of this <CREATE> is never closed before the end of the script; close it "
              "with <CLOSE>");
    // One file per table, none closed but the last: the next round's <CREATE> finds it open.
    EXPECT_EQ(
        Places("<TEXT>\n<TABLES>\n<CREATE><T>.txt</CREATE><T>\n</TABLES>\n<CLOSE>\n</TEXT>\n"),
        (Strings{"3:1 unclosed-create"}));
    EXPECT_TRUE(
        Places("<TEXT>\n<TABLES>\n<CREATE><T>.txt</CREATE><T>\n<CLOSEASDFM>\n</TABLES>\n</TEXT>\n")
            .empty());
    // A name of blanks opens no file, and the first <CREATE> is still reported.
    EXPECT_EQ(Places("<TEXT>\n<CREATE>a</CREATE>\n<CREATE> \t</CREATE>\n</TEXT>\n"),
              (Strings{"2:1 unclosed-create"}));
}

TEST(LintFileTest, CloseWithNoFileOpen) {
    EXPECT_EQ(Places("<TEXT>\n<CLOSE>\n<CREATE>a</CREATE>\n<CLOSE><CLOSE>\n</TEXT>\n"),
              (Strings{"2:1 close-without-create", "4:8 close-without-create"}));
    // What only the run decides is left alone: a file opened in one branch, a loop that may
    // not run. Both branches of an IF with an ELSE decide it.
    EXPECT_TRUE(Places("<TEXT>\n<IF> <DATABASE> == A <THEN><CREATE>a</CREATE></IF>\n<CLOSE>\n"
                       "<CREATE>b</CREATE>\n<TABLES><REFTABLES><CLOSE><CREATE>c</CREATE></"
                       "REFTABLES></TABLES>\n"
                       "<CLOSE>\n"
                       "</TEXT>\n")
                    .empty());
    // A loop over references creating a file each, never closed in the loop.
    EXPECT_EQ(Places("<TEXT>\n<TABLES><REFTABLES><CREATE>b</CREATE></REFTABLES></TABLES>\n"
                     "<CLOSE>\n</TEXT>\n"),
              (Strings{"2:20 unclosed-create"}));
    EXPECT_EQ(Places("<TEXT>\n<IF> <DATABASE> == A <THEN><CREATE>a</CREATE><ELSE><CREATE>b</CREATE>"
                     "</IF>\n<CLOSE>\n<CLOSE>\n</TEXT>\n"),
              (Strings{"4:1 close-without-create"}));
}

TEST(LintSeparatorTest, SeparatorInAnotherLoop) {
    std::vector<LintFinding> found =
        LintScript("<TEXT>\n<TABLES><COLUMNS><C><ELT>,</ELT></COLUMNS></TABLES>\n</TEXT>\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].check, "separator-outside-loop");
    EXPECT_EQ(found[0].message,
              "<ELT> drops its copy after the last table but stands in <COLUMNS>; place it "
              "directly in <TABLES>");
    EXPECT_TRUE(Places("<TEXT>\n<TABLES><T><ELT>,</ELT><COLUMNS><C><ELC>,</ELC><EL>;</EL>"
                       "<IF> <ISKEY> == 1 <THEN><ELC>!</ELC></IF></COLUMNS></TABLES>\n</TEXT>\n")
                    .empty());
}

TEST(LintCompileTest, CompilerMessagesInTheSameForm) {
    std::vector<LintFinding> found =
        LintScript("<TEXT>\nabc <COLUMNS></COLUMNS>\n<TABLES>\n</TEXT>\n");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].check, "compile-warning");
    EXPECT_EQ(found[0].column, 5);  // at the tag the warning is about
    EXPECT_EQ(found[0].length, 9u);
    EXPECT_EQ(found[0].message,
              "Warning error: Token that depand on table used outside of Tables block");
    EXPECT_EQ(found[2].check, "compile-error");
    EXPECT_EQ(found[2].message, "syntax error: missing token </TABLES>");
    EXPECT_EQ(found[2].line, 4);
    EXPECT_EQ(FormatLintFinding("a.tpx", found[0]),
              "a.tpx:2:5: warning: Warning error: Token that depand on table used outside of "
              "Tables block [compile-warning]");
}

TEST(LintOptionsTest, ChecksChosenAndSilenced) {
    std::string script =
        "<TEXT>\n<VAR> a </VAR>\n<COMMENT> lint: ignore near-miss-tag\n<COLUMS> <TPYE>\n"
        "<COMMENT>lint: ignore unused-variable\n<COLUMS>\n</TEXT>\n";
    // The comment silences one finding of its check on the next line only.
    EXPECT_EQ(Places(script),
              (Strings{"2:7 unused-variable", "4:10 near-miss-tag", "6:1 near-miss-tag"}));
    EXPECT_EQ(Places(script, {{"unused-variable"}, {}}), (Strings{"2:7 unused-variable"}));
    EXPECT_EQ(Places(script, {{}, {"near-miss-tag"}}), (Strings{"2:7 unused-variable"}));
    EXPECT_TRUE(IsLintCheck("markup-clash"));
    EXPECT_FALSE(IsLintCheck("markup"));
}

/// Keeps a compilation's log.
class LogHost : public EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string&) override {}
    std::string log;
};

class NullObserver : public TokenObserver {
  public:
    void Token(int, const TokenValue&, std::string_view, size_t, int32_t) override { ++tokens; }
    void Comment(std::string_view, size_t) override {}
    int tokens = 0;
};

fs::path SourceDir() {
    const char* env = std::getenv("MORVA_SOURCE_DIR");
    return fs::path(env ? env : MORVA_SOURCE_DIR_DEFAULT);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

/// Every golden engine script and every sample.
std::vector<fs::path> Scripts() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(SourceDir() / "engine" / "tests" / "golden"))
        out.push_back(e.path() / "script.tpx");
    for (const auto& e : fs::directory_iterator(SourceDir() / "samples")) {
        if (e.path().extension() == ".tpx") out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(LintCorpusTest, WatchingTheTokensChangesNoCompilation) {
    for (const fs::path& path : Scripts()) {
        std::string text = ReadFile(path);
        LogHost plain, watched;
        Exe a, b;
        NullObserver observer;
        CompileText(plain, "s", text, a);
        CompileText(watched, "s", text, b, &observer);
        EXPECT_EQ(plain.log, watched.log) << path;
        EXPECT_EQ(DumpProgram(a.program()), DumpProgram(b.program())) << path;
        EXPECT_GT(observer.tokens, 0) << path;
    }
    // The lint's own compilation leaves the engine state of the host as it was.
    Engine().fileName = "host.tpx";
    LintScript("<TEXT>\n<TABLES>\n</TEXT>\n");
    EXPECT_EQ(Engine().fileName, "host.tpx");
    EXPECT_EQ(Engine().errorCount, 0);
}

TEST(LintCorpusTest, SamplesAndGoldenScripts) {
    // Golden scripts written to show a behaviour the lint warns about, with what it finds
    // besides the compiler's messages. Every other script must have no finding but those.
    const std::map<std::string, Strings> expected = {
        {"delphi_units", {"6:1 unclosed-create"}},  // relies on <CREATE> closing the last file
        {"if_chain", {"3:6 unassigned-variable"}},
        {"run_create",
         {"3:1 unclosed-create", "5:15 unclosed-create", "10:13 close-without-create",
          "11:1 unclosed-create", "12:1 unclosed-create"}},
        {"run_divide_by_zero", {"5:1 unclosed-create"}},
        {"scanner_modes", {"8:1 near-miss-tag", "8:21 near-miss-tag"}},
        {"warnings", {"3:7 unused-variable", "3:13 unused-variable"}},
    };
    for (const fs::path& path : Scripts()) {
        std::string text = ReadFile(path);
        std::string name = path.parent_path().filename().string();
        if (path.parent_path().filename() == "samples") name = path.filename().string();
        LogHost host;
        Exe script;
        CompileStatus status = CompileText(host, "s", text, script);
        Strings others;
        int errors = 0, warnings = 0;
        for (const LintFinding& f : LintScript(text)) {
            if (f.check == "compile-error") {
                ++errors;
            } else if (f.check == "compile-warning") {
                ++warnings;
            } else {
                others.push_back(std::to_string(f.line) + ":" + std::to_string(f.column) + " " +
                                 f.check);
            }
        }
        EXPECT_EQ(errors, status.errors + status.fatals) << name;
        EXPECT_EQ(warnings, status.warnings) << name;
        auto it = expected.find(name);
        EXPECT_EQ(others, it == expected.end() ? Strings{} : it->second) << name;
        if (path.parent_path().filename() == "samples") {
            EXPECT_TRUE(status.ok() && status.warnings == 0) << name;
        }
    }
}

TEST(LintLargeScriptTest, DenseScriptsOverManyLinesAndOnOneLine) {
    // Dense with tags and findings, once over many lines and once on one line; the time it
    // takes is measured by the lint row of the benchmarks.
    std::string body;
    while (body.size() < (1u << 20)) {
        body +=
            "<COLUMNS><IF> <ISKEY> == 1 <THEN><C> <TYPE><ELSE><table> <COLUMS></IF>"
            "<EXPR> <$n>++; </EXPR><ELC>,</ELC></COLUMNS>\n";
    }
    std::string oneLine = body;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    for (const std::string* part : {&body, &oneLine}) {
        std::string script = "<TEXT>\n<VAR> n </VAR>\n<TABLES>\n<CREATE><T>.txt</CREATE>\n" +
                             *part + "<CLOSE>\n</TABLES>\n</TEXT>\n";
        std::vector<LintFinding> found = LintScript(script);
        EXPECT_GT(found.size(), 10000u);
        for (const LintFinding& f : found) ASSERT_LE(f.offset + f.length, script.size());
    }
}

}  // namespace
}  // namespace morva::tpx

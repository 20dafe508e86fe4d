// The run over hand-built programs: where the run enters a word array and how it stops on a
// damaged one, and every value tag answered in the body as in a condition.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/script/errors.h"
#include "engine/script/run.h"
#include "engine/script/tags.h"
#include "engine/store/store.h"

namespace morva::tpx {
namespace {

class NoHost : public EngineControl {
  public:
    void WriteLog(std::string_view) override {}
    void CloseAsDfm(const std::string&) override {}
};

class RunnerTest : public ::testing::Test {
  protected:
    RunnerTest() {
        CTable* a = db_.AddTable(std::string("Orders"), std::string("Master"), std::nullopt);
        a->AddColumn(std::string("Id"), std::string("Key"), std::string("Number"),
                     std::string("INTEGER"), 4, CColumn::kFlagKey, 0, 0);
        a->AddColumn(std::string("State"), std::nullopt, std::nullopt, std::string("CHAR"), 1, 0, 0,
                     0);
        db_.SetLookupItem("Orders", "State", std::string("Open"));
        CTable* b = db_.AddTable(std::string("Lines"), std::string("Sub"), std::string("Lines"));
        b->AddColumn(std::string("OrderId"), std::nullopt, std::nullopt, std::string("NUMERIC"), 15,
                     0, 15, 2);
        db_.CreateRefTable("Lines", "Orders");
        db_.AddRefColumn("Lines", "Orders", "Id", "OrderId");
        db_.SetLookupTable("Lines", "OrderId", "Orders", "State", "Id");
        db_.SetSchema(std::string("Sales"), std::string("Db"), std::string("Sales data"));
        db_.ComputeWidths();
    }

    // The words of `text`, one character each.
    static std::vector<int32_t> Characters(std::string_view text) {
        return std::vector<int32_t>(text.begin(), text.end());
    }

    std::string Run() {
        Runner runner(program_, host_, db_);
        return runner.Run();
    }

    // The message of the error that stops the run, or "" when it completes.
    std::string Failure() {
        try {
            Run();
        } catch (const CEngineException& e) {
            return e.Message();
        }
        return "";
    }

    CDatabase db_{std::string("D")};
    NoHost host_;
    Program program_;
};

// The run writes into its log text, whose lines end in CR LF.

// A condition's branch may start in the middle of a run of characters; the run goes on from
// exactly that character, and a carriage return word in the text has no effect.
TEST_F(RunnerTest, JumpsLandInsideCharacterRuns) {
    IF f;
    f.AppendNumber(1);
    f.AppendNumber(2);
    f.AppendOperator(kEqual);
    program_.conditions.push_back(f);
    // 0: IF 0; 2: "abcdef"; 8: ENDIF; 9: "x\r\n"
    program_.code = {-tag::IF, 0};
    for (int32_t c : Characters("abcdef")) program_.code.push_back(c);
    program_.code.insert(program_.code.end(), {-tag::ENDIF, 'x', '\r', '\n'});
    for (int32_t then : {2, 5, 7}) {
        program_.conditions[0].thenAddress = then;
        program_.conditions[0].elseAddress = then + 1;
        EXPECT_EQ(Run(), std::string("abcdef").substr(static_cast<size_t>(then - 1)) + "x\r\n")
            << "else branch at " << then + 1;
    }
}

// A padding tag holds from where it stands on, also when the run enters right after it; a
// line of blanks and a tag without effect is dropped, a line of blanks alone is kept.
TEST_F(RunnerTest, PaddingAndEmptyTagsActWhereTheRunPassesThem) {
    IF f;
    f.AppendNumber(1);
    program_.conditions.push_back(f);
    // 0: IF 0; 2: <LEFT>; 3: <C> | \n; 6: <C> | \n; 9: blanks </IF> \n; 13: blank \n
    program_.code = {-tag::IF, 0,   -tag::LEFT, -tag::C,     '|',  '\n', -tag::C, '|',
                     '\n',     ' ', ' ',        -tag::ENDIF, '\n', ' ',  '\n'};
    program_.conditions[0].thenAddress = 2;
    program_.conditions[0].elseAddress = 3;
    EXPECT_EQ(Run(), "ID     |\r\nID     |\r\n \r\n");
    program_.conditions[0].thenAddress = 3;
    EXPECT_EQ(Run(), "ID|\r\nID|\r\n \r\n");
}

// A damaged word array stops the run with a message naming what is wrong, wherever the
// damage lies; the words before it run as usual.
TEST_F(RunnerTest, DamagedProgramsStopWithAMessage) {
    program_.code = {'a', '\n', -tag::IF};
    EXPECT_EQ(Failure(), "Exe::Run(): Invalid program");
    program_.code = {'a', '\n', -tag::IF, 3};
    EXPECT_EQ(Failure(), "Exe::Run(): Invalid IF");
    program_.code = {-tag::EXPR, -1, 'a'};
    EXPECT_EQ(Failure(), "Exe::Run(): Invalid Expr");
    program_.code = {'a', -kSymbol, 0, '\n'};
    EXPECT_EQ(Failure(), "Var::GetValue(): BAD Symbol indetifier");
    program_.code = {'a', -kChar};
    EXPECT_EQ(Failure(), "Exe::GetToken: Invalid token");
    program_.code = {'a', std::numeric_limits<int32_t>::min()};
    EXPECT_EQ(Failure(), "Exe::GetToken: Invalid token");
    // A damaged word that the run jumps over does no harm.
    IF f;
    f.AppendNumber(0);
    f.thenAddress = 2;
    f.elseAddress = 3;
    program_.conditions.push_back(f);
    program_.code = {-tag::IF, 0, -tag::IF, 'b', '\n'};
    EXPECT_EQ(Run(), "b\r\n");
}

// Names are upper-cased in ASCII only, whatever their length and bytes: the letters next to
// the alphabet's ends, digits, punctuation and bytes above 127 stay as they are.
TEST_F(RunnerTest, NamesAreUpperCasedInAsciiOnly) {
    const std::string alphabet = "`az{@AZ[09_ \x80\xe1\xfa\xff-mixedCase";
    std::vector<std::string> names = {"ORDERS", "ORDERs", "\xe4\xf6", "_1",
                                      "LONG_NAME_OF_AN_ORDER_TABLE"};
    for (size_t length = 1; length <= 70; ++length) {
        std::string name;
        for (size_t i = 0; i < length; ++i) name += alphabet[(i * 7 + length) % alphabet.size()];
        names.push_back(name);
    }
    for (const std::string& name : names) {
        CDatabase db{std::string("D")};
        db.AddTable(name, std::nullopt, std::nullopt);
        db.ComputeWidths();
        program_.code = {-tag::T, '\n'};
        Runner runner(program_, host_, db);
        std::string expected = name;
        for (char& c : expected) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        EXPECT_EQ(runner.Run(), expected + "\r\n") << name;
    }
}

// Widths, sizes and padding count characters, so that values with letters beyond ASCII line
// up with the others: the table's label sets the label width (9), a column's name the name
// width (5), the longer item the items' width (5).
TEST_F(RunnerTest, PaddingCountsCharacters) {
    CDatabase db{std::string("D")};
    CTable* t = db.AddTable(std::string("Ma\u00dfe"), std::nullopt, std::string("\u00dcbersicht"));
    t->AddColumn(std::string("Gr\u00f6\u00dfe"), std::nullopt, std::string("Gr\u00f6\u00dfe"),
                 std::string("INTEGER"), 4, 0, 0, 0);
    db.SetLookupItem("Ma\u00dfe", "Gr\u00f6\u00dfe", std::string("gro\u00df"));
    db.SetLookupItem("Ma\u00dfe", "Gr\u00f6\u00dfe", std::string("klein"));
    db.ComputeWidths();
    // [<LEFT><L>][<RIGHT><L>][<CENTER><L>][<LEFT><T>] <NORMAL><SIZEOFL> <MAXLABELLEN> <LEFT>
    // <LOOKUPITEM>|
    program_.code = {'[',     -tag::LEFT, -tag::L, ']',          '[',     -tag::RIGHT,
                     -tag::L, ']',        '[',     -tag::CENTER, -tag::L, ']'};
    program_.code.insert(program_.code.end(),
                         {'[', -tag::LEFT, -tag::T, ']', ' ', -tag::NORMAL, -tag::SIZEOFL});
    program_.code.insert(program_.code.end(),
                         {' ', -tag::MAXLABELLEN, ' ', -tag::LEFT, -tag::LOOKUPITEM});
    program_.code.insert(program_.code.end(), {'|', '\n'});
    Runner runner(program_, host_, db);
    EXPECT_EQ(runner.Run(),
              "[Gr\u00f6\u00dfe    ][    Gr\u00f6\u00dfe][  Gr\u00f6\u00dfe  ][MA\u00dfE ] 5 9 "
              "gro\u00df |\r\n");
}

// Every value tag gives in the body the value it gives to a condition: the body decides once
// per run from the tag's role how to look the value up, a condition per use.
TEST_F(RunnerTest, EveryValueTagReadsTheSameInBodyAndCondition) {
    int checked = 0;
    for (const TagInfo& tag : TagTable()) {
        if (tag.role != TagRole::Value && tag.role != TagRole::Number) continue;
        program_.code = {'[', -tag.code, ']', '\n'};
        std::string body;
        ASSERT_NO_THROW(body = Run()) << tag.spelling;
        ASSERT_GE(body.size(), 4u) << tag.spelling;
        std::string value = body.substr(1, body.size() - 4);
        IF f;
        f.AppendTag(tag.code);
        if (tag.role == TagRole::Number) {
            f.AppendNumber(std::stoi(value));
        } else {
            f.AppendText(value);
        }
        f.AppendOperator(kEqual);
        f.thenAddress = 4;
        f.elseAddress = 6;
        program_.conditions = {f};
        program_.code = {-tag::IF, 0, -tag::ENDIF, '\n', 'y', '\n'};
        EXPECT_EQ(Run(), "y\r\n") << tag.spelling << " gave \"" << value << "\"";
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

}  // namespace
}  // namespace morva::tpx

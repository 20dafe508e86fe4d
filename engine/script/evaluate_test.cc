#include "engine/script/evaluate.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/script/errors.h"
#include "engine/script/tags.h"
#include "engine/script/testing/evaluate_once.h"

namespace morva::tpx {
namespace {

using testing::CompareIf;
using testing::EvaluateExpr;

class FakeTokens : public TokenSource {
  public:
    std::string_view GetToken(int32_t code) override {
        auto it = values.find(code);
        if (it == values.end()) return {};
        return it->second;
    }
    std::map<int32_t, std::string> values;
};

class EvaluateTest : public ::testing::Test {
  protected:
    int32_t Holds(IF f) {
        f.thenAddress = 1;
        f.elseAddress = 0;
        return CompareIf(f, values_, tokens_);
    }
    /// Declares variable `name` and gives every variable a fresh value 0.
    int32_t Declare(const char* name) {
        int32_t index = vars_.Declare(name);
        values_ = VarValues(vars_.size());
        return index;
    }
    Var vars_;
    VarValues values_{0};
    FakeTokens tokens_;
};

TEST_F(EvaluateTest, LeadingIntegerReadsLikeTheUsualConversion) {
    EXPECT_EQ(LeadingInteger("  -12abc"), -12);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST_F(EvaluateTest, TagTextsAgainstIntegersAreFalseButLiteralsAreErrors) {
    tokens_.values = {{tag::D, "VARCHAR"}, {tag::SIZE, "-3"}, {tag::T, "ORDERS"}};
    IF f;
    f.AppendTag(tag::D);
    f.AppendNumber(10);
    f.AppendOperator(kNotEqual);
    EXPECT_EQ(Holds(f), 0);

    IF negative;  // a negative number's text is tag text
    negative.AppendTag(tag::SIZE);
    negative.AppendNumber(-3);
    negative.AppendOperator(kEqual);
    EXPECT_EQ(Holds(negative), 0);

    IF literal;
    literal.AppendText("abc");
    literal.AppendNumber(1);
    literal.AppendOperator(kEqual);
    try {
        Holds(literal);
        FAIL();
    } catch (const CFatalError& e) {
        EXPECT_EQ(e.Message(), "Cannot compare integer value with string");
    }
}

TEST_F(EvaluateTest, ExtremeIntegersCompareCorrectly) {
    IF f;
    f.AppendNumber(-2147483647 - 1);
    f.AppendNumber(1);
    f.AppendOperator(kLess);
    EXPECT_EQ(Holds(f), 1);
}

// A tag source that answers numeric tags as numbers, as the run does.
class NumericTokens : public FakeTokens {
  public:
    bool GetNumber(int32_t code, int32_t& value) override {
        auto it = numbers.find(code);
        if (it == numbers.end()) return false;
        value = it->second;
        return value >= 0;
    }
    std::map<int32_t, int32_t> numbers;
};

TEST_F(EvaluateTest, NumericTagComparedWithNumberAgreesWithItsDigits) {
    // "<tag> op number" takes a short path when the tag gives a number; it must decide as
    // the same comparison does on the tag's digits.
    const int32_t values[] = {0, 1, 5, 2147483647};
    const int32_t numbers[] = {-2147483647 - 1, -1, 0, 1, 5, 2147483647};
    for (int32_t value : values) {
        for (int32_t number : numbers) {
            for (int32_t op = kEqual; op <= kLessEqual; ++op) {
                IF f;
                f.AppendTag(tag::SIZE);
                f.AppendNumber(number);
                f.AppendOperator(op);
                f.thenAddress = 1;
                f.elseAddress = 0;
                NumericTokens numeric;
                numeric.numbers[tag::SIZE] = value;
                FakeTokens digits;
                digits.values[tag::SIZE] = std::to_string(value);
                EXPECT_EQ(CompareIf(f, values_, numeric), CompareIf(f, values_, digits))
                    << value << " op " << op << " " << number;
            }
        }
    }
    NumericTokens negative;  // no number: the text decides, and "-3" is tag text
    negative.numbers[tag::SIZE] = -3;
    negative.values[tag::SIZE] = "-3";
    IF f;
    f.AppendTag(tag::SIZE);
    f.AppendNumber(-3);
    f.AppendOperator(kEqual);
    f.thenAddress = 1;
    EXPECT_EQ(CompareIf(f, values_, negative), -1);
}

TEST_F(EvaluateTest, ContainsIsCaseSensitive) {
    tokens_.values = {{tag::T, "WORDS"}};
    IF in;
    in.AppendTag(tag::T);
    in.AppendText("ORD");
    in.AppendOperator(298);
    EXPECT_EQ(Holds(in), 1);
    IF lower;
    lower.AppendTag(tag::T);
    lower.AppendText("ord");
    lower.AppendOperator(298);
    EXPECT_EQ(Holds(lower), 0);
}

TEST_F(EvaluateTest, MalformedNodesAreBugs) {
    IF empty;
    EXPECT_THROW(Holds(empty), CBugError);
    IF lonely;
    lonely.AppendOperator(kEqual);
    EXPECT_THROW(Holds(lonely), CBugError);
    IF nested;  // the result of an operator as operand of a comparison
    nested.AppendNumber(1);
    nested.AppendNumber(1);
    nested.AppendOperator(kEqual);
    nested.AppendNumber(1);
    nested.AppendOperator(kEqual);
    EXPECT_THROW(Holds(nested), CBugError);

    Expr x;
    x.AppendOperator(kPlus);
    try {
        EvaluateExpr(x, values_, tokens_);
        FAIL();
    } catch (const CBugError& e) {
        EXPECT_EQ(e.Message(), "Expr::Expr(): Null operand");
    }
    EXPECT_THROW(values_.GetValue(0), CBugError);
    EXPECT_THROW(values_.SetValue(-1, 0), CBugError);
}

TEST_F(EvaluateTest, ArithmeticWrapsAndDividesSafely) {
    int32_t a = Declare("a");
    Expr x;  // a = 2147483647 * 2; then a %= -1 after a = -2147483648 / -1
    x.AppendVariable(a);
    x.AppendNumber(2147483647);
    x.AppendNumber(2);
    x.AppendOperator(kMultiply);
    x.AppendOperator(kAssign);
    x.AppendOperator(kEndStatement);
    EvaluateExpr(x, values_, tokens_);
    EXPECT_EQ(values_.GetValue(a), -2);

    Expr zero;
    zero.AppendVariable(a);
    zero.AppendNumber(0);
    zero.AppendOperator(kModuloAssign);
    try {
        EvaluateExpr(zero, values_, tokens_);
        FAIL();
    } catch (const CFatalError& e) {
        EXPECT_EQ(e.Message(), "Divide by 0");
    }
}

TEST_F(EvaluateTest, TagValuesInArithmetic) {
    int32_t n = Declare("n");
    tokens_.values = {{tag::SIZE, "40"}, {tag::D, "VARCHAR"}};
    Expr x;
    x.AppendVariable(n);
    x.AppendTag(tag::SIZE);
    x.AppendNumber(2);
    x.AppendOperator(kMultiply);
    x.AppendTag(tag::D);
    x.AppendOperator(kPlus);
    x.AppendOperator(kAssign);
    EvaluateExpr(x, values_, tokens_);
    EXPECT_EQ(values_.GetValue(n), 80);
}

}  // namespace
}  // namespace morva::tpx

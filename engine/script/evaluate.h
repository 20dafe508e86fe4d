#pragma once
// Evaluation of the arithmetic blocks and conditions of a compiled program during a run.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/script/program.h"
#include "engine/script/tags.h"

namespace morva::tpx {

/// Where tag values come from: the run's value look-up.
class TokenSource {
  public:
    /// The text of value tag `code`, empty when the tag has no value. The view stays valid
    /// until the next call.
    virtual std::string_view GetToken(int32_t code) = 0;
    /// The value of numeric tag `code` when it is zero or more, which GetToken would give as
    /// its digits, into `value`; false otherwise, and then GetToken answers. Spares making
    /// the text.
    virtual bool GetNumber(int32_t /*code*/, int32_t& /*value*/) { return false; }

  protected:
    ~TokenSource() = default;
};

/// Evaluates the blocks and conditions of a run, keeping its working storage (operand stacks,
/// node results) from one to the next: a run evaluates them over and over. The blocks and
/// conditions are only read; the variables in `values` change.
class Evaluator {
  public:
    Evaluator(VarValues& values, TokenSource& tokens);
    ~Evaluator();
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    /// Runs the block's statements; only variables change. Raises CFatalError ("Divide by 0")
    /// or CBugError.
    void Run(const Expr& expr);
    /// Evaluates the condition and returns the code index at which the run continues: the
    /// then-address when it holds, else the else-address. Raises CFatalError ("Cannot compare
    /// integer value with string") or CBugError.
    int32_t Compare(const IF& condition);

  private:
    struct Scratch;
    VarValues& vars_;
    TokenSource& tokens_;
    std::unique_ptr<Scratch> scratch_;
};

/// A condition of the commonest form: a numeric tag compared with a number ("<ISKEY> == 1").
struct TagAgainstNumber {
    int32_t tag;
    int32_t op;
    int32_t number;
};

/// `condition` as a numeric tag compared with a number, or nothing when it has another form.
std::optional<TagAgainstNumber> AsTagAgainstNumber(const IF& condition);

[[noreturn]] void ThrowInvalidComparison();

/// Whether comparison `op` holds when its left operand exceeds its right one by `difference`.
/// Raises CBugError for an operator that is no comparison.
inline bool Holds(int32_t op, int64_t difference) {
    switch (op) {
        case kEqual:
            return difference == 0;
        case kNotEqual:
            return difference != 0;
        case kGreater:
            return difference > 0;
        case kGreaterEqual:
            return difference >= 0;
        case kLess:
            return difference < 0;
        case kLessEqual:
            return difference <= 0;
        default:
            ThrowInvalidComparison();
    }
}

/// The integer at the front of `text` as the usual decimal conversion reads it (leading
/// blanks, optional sign, digits); 0 without digits. Values beyond 32 bits are clamped.
int32_t LeadingInteger(std::string_view text);

}  // namespace morva::tpx

#pragma once
// Evaluation of the arithmetic blocks and conditions of a compiled program during a run.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/script/program.h"

namespace morva::tpx {

/// Where tag values come from: the run's value look-up.
class TokenSource {
  public:
    /// The text of value tag `code`, or absent.
    virtual std::optional<std::string> GetToken(int32_t code) = 0;

  protected:
    ~TokenSource() = default;
};

/// Runs the block's statements; only variables change. Raises CFatalError ("Divide by 0") or
/// CBugError.
void EvaluateExpr(Expr& expr, Var& vars, TokenSource& tokens);

/// Evaluates the condition and returns the code index at which the run continues: the
/// then-address when it holds, else the else-address. Raises CFatalError ("Cannot compare
/// integer value with string") or CBugError.
int32_t CompareIf(IF& condition, Var& vars, TokenSource& tokens);

/// The integer at the front of `text` as the usual decimal conversion reads it (leading
/// blanks, optional sign, digits); 0 without digits. Values beyond 32 bits are clamped.
int32_t LeadingInteger(std::string_view text);

}  // namespace morva::tpx

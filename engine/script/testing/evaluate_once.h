#pragma once
// One-shot evaluation for tests: a fresh Evaluator for a single block or condition.

#include <cstdint>

#include "engine/script/evaluate.h"

namespace morva::tpx::testing {

/// Runs the block's statements once, as Evaluator::Run.
inline void EvaluateExpr(const Expr& expr, VarValues& vars, TokenSource& tokens) {
    Evaluator(vars, tokens).Run(expr);
}

/// Evaluates the condition once, as Evaluator::Compare.
inline int32_t CompareIf(const IF& condition, VarValues& vars, TokenSource& tokens) {
    return Evaluator(vars, tokens).Compare(condition);
}

}  // namespace morva::tpx::testing

#include "engine/script/evaluate.h"

#include <cstring>
#include <limits>
#include <vector>

#include "engine/script/errors.h"
#include "engine/script/tags.h"

namespace morva::tpx {

namespace {

// Two's-complement arithmetic without undefined behaviour: the operations run on unsigned
// values, and the one quotient that does not fit (the most negative value divided by -1)
// is the most negative value, its remainder 0.
int32_t Wrap(uint32_t v) {
    return static_cast<int32_t>(v);
}
int32_t Add(int32_t l, int32_t r) {
    return Wrap(static_cast<uint32_t>(l) + static_cast<uint32_t>(r));
}
int32_t Sub(int32_t l, int32_t r) {
    return Wrap(static_cast<uint32_t>(l) - static_cast<uint32_t>(r));
}
int32_t Mul(int32_t l, int32_t r) {
    return Wrap(static_cast<uint32_t>(l) * static_cast<uint32_t>(r));
}

int32_t Div(int32_t l, int32_t r) {
    if (r == 0) throw CFatalError("Divide by 0");
    if (l == std::numeric_limits<int32_t>::min() && r == -1) return l;
    return l / r;
}

int32_t Mod(int32_t l, int32_t r) {
    if (r == 0) throw CFatalError("Divide by 0");
    if (r == -1) return 0;
    return l % r;
}

int32_t Apply(int32_t op, int32_t l, int32_t r) {
    switch (op) {
        case kPlus:
        case kPlusAssign:
            return Add(l, r);
        case kMinus:
        case kMinusAssign:
            return Sub(l, r);
        case kMultiply:
        case kMultiplyAssign:
            return Mul(l, r);
        case kDivide:
        case kDivideAssign:
            return Div(l, r);
        case kModulo:
        case kModuloAssign:
            return Mod(l, r);
        default:
            throw CBugError("Expr::ExprWith(): Invalid op");
    }
}

// The operand stack holds node indexes; an operator's result is kept in `results` at its
// index, so that the block itself stays unchanged.
class ExprEvaluator {
  public:
    ExprEvaluator(VarValues& vars, TokenSource& tokens, std::vector<size_t>& stack,
                  std::vector<int32_t>& results)
        : vars_(vars), tokens_(tokens), stack_(stack), results_(results) {}

    void Run(const Expr& expr) {
        std::vector<size_t>& stack = stack_;
        const std::vector<Node>& nodes = expr.nodes;
        if (results_.size() < nodes.size()) results_.resize(nodes.size());
        nodes_ = nodes.data();
        stack.clear();
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Node& n = nodes[i];
            if (n.kind == NodeKind::Operand) {
                stack.push_back(i);
                continue;
            }
            if (n.kind == NodeKind::EndStatement) {
                stack.clear();
                continue;
            }
            results_[i] = Operate(n.value, stack);
            stack.push_back(i);
        }
    }

  private:
    static size_t Pop(std::vector<size_t>& stack, const char* message) {
        if (stack.empty()) throw CBugError(message);
        size_t n = stack.back();
        stack.pop_back();
        return n;
    }

    int32_t Operate(int32_t op, std::vector<size_t>& stack) {
        size_t right = Pop(stack, "Expr::Expr(): Null operand");
        if (op == kUnaryMinus) return Sub(0, Value(right));
        if (op == kIncrement || op == kDecrement) {
            int32_t index = VariableOf(nodes_[right]);
            return vars_.SetValue(index, op == kIncrement ? Add(vars_.GetValue(index), 1)
                                                          : Sub(vars_.GetValue(index), 1));
        }
        size_t left = Pop(stack, "Expr::Expr(): Null binary operand");
        return ExprWith(op, right, left);
    }

    int32_t ExprWith(int32_t op, size_t right, size_t left) {
        int32_t r = Value(right);
        switch (op) {
            case kAssign:
                return vars_.SetValue(VariableOf(nodes_[left]), r);
            case kPlus:
            case kMinus:
            case kMultiply:
            case kDivide:
            case kModulo:
                return Apply(op, Value(left), r);
            case kPlusAssign:
            case kMinusAssign:
            case kMultiplyAssign:
            case kDivideAssign:
            case kModuloAssign:
                return vars_.SetValue(VariableOf(nodes_[left]), Apply(op, Value(left), r));
            default:
                throw CBugError("Expr::ExprWith(): Invalid op");
        }
    }

    static int32_t VariableOf(const Node& n) {
        if (n.kind != NodeKind::Operand || n.type != OperandType::Variable) {
            throw CBugError("Expr::GetOperandData(): Invalid Operand type to Expr");
        }
        return n.value;
    }

    // The value of node `index`: an operator's result, or the operand's value.
    int32_t Value(size_t index) {
        const Node& n = nodes_[index];
        if (n.kind == NodeKind::Operator) return results_[index];
        if (n.kind == NodeKind::Operand) {
            switch (n.type) {
                case OperandType::Number:
                    return n.value;
                case OperandType::Variable:
                    return vars_.GetValue(n.value);
                case OperandType::Tag: {
                    int32_t number = 0;
                    if (tokens_.GetNumber(n.value, number)) return number;
                    return LeadingInteger(tokens_.GetToken(n.value));
                }
                default:
                    break;
            }
        }
        throw CBugError("Expr::GetOperandData(): Invalid Operand type to Expr");
    }

    VarValues& vars_;
    TokenSource& tokens_;
    std::vector<size_t>& stack_;
    std::vector<int32_t>& results_;
    const Node* nodes_ = nullptr;
};

/// The data of a condition operand: an integer, a literal text or a tag's text. Operator
/// nodes have none.
struct OperandData {
    enum Kind { None, Integer, Literal, TagText } kind = None;
    int32_t integer = 0;
    std::string_view text;
    std::string tagText;  // a tag's value, kept while the next operands are looked up
};

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

class IfEvaluator {
  public:
    // `stack` holds node indexes, `data` the data of each node, looked up once per node, and
    // `results` the value of each node, so that the condition itself stays unchanged.
    IfEvaluator(VarValues& vars, TokenSource& tokens, std::vector<size_t>& stack,
                std::vector<OperandData>& data, std::vector<int32_t>& results)
        : vars_(vars), tokens_(tokens), stack_(stack), data_(data), results_(results) {}

    int32_t Run(const IF& f) {
        int32_t holds = 0;
        if (TagAgainstNumber(f, holds)) return holds != 0 ? f.thenAddress : f.elseAddress;
        std::vector<size_t>& stack = stack_;
        std::vector<OperandData>& data = data_;
        std::vector<int32_t>& results = results_;
        if (data.size() < f.nodes.size()) data.resize(f.nodes.size());
        if (results.size() < f.nodes.size()) results.resize(f.nodes.size());
        stack.clear();
        for (size_t i = 0; i < f.nodes.size(); ++i) {
            const Node& n = f.nodes[i];
            OperandData& d = data[i];
            if (n.kind == NodeKind::Operand) {
                Fill(n, d);
                results[i] = d.kind == OperandData::Integer ? d.integer : 0;
            } else {
                size_t right = Pop(stack);
                size_t left = Pop(stack);
                d.kind = OperandData::None;
                results[i] =
                    Result(n.value, results[left], data[left], results[right], data[right]);
            }
            stack.push_back(i);
        }
        if (stack.empty()) throw CBugError("IF::Compare(): Result is empty");
        return results[stack.back()] != 0 ? f.thenAddress : f.elseAddress;
    }

  private:
    // The most common condition, a numeric tag compared with a number ("<ISKEY> == 1"),
    // without the general machinery. False when `f` is not of that form or the tag gives
    // no number; `holds` is then untouched.
    bool TagAgainstNumber(const IF& f, int32_t& holds) {
        std::optional<tpx::TagAgainstNumber> c = AsTagAgainstNumber(f);
        int32_t value = 0;
        if (!c || !tokens_.GetNumber(c->tag, value)) return false;
        holds = Holds(c->op, static_cast<int64_t>(value) - c->number);
        return true;
    }

    static size_t Pop(std::vector<size_t>& stack) {
        if (stack.empty()) throw CBugError("IF::Compare(): Null operand");
        size_t n = stack.back();
        stack.pop_back();
        return n;
    }

    void Fill(const Node& n, OperandData& d) {
        d.integer = 0;
        d.text = {};
        switch (n.type) {
            case OperandType::Number:
                d.kind = OperandData::Integer;
                d.integer = n.value;
                return;
            case OperandType::Variable:
                d.kind = OperandData::Integer;
                d.integer = vars_.GetValue(n.value);
                return;
            case OperandType::Text:
                d.kind = OperandData::Literal;
                d.text = n.text;
                return;
            case OperandType::Tag: {
                if (tokens_.GetNumber(n.value, d.integer)) {
                    d.kind = OperandData::Integer;
                    return;
                }
                d.integer = 0;
                d.tagText.assign(tokens_.GetToken(n.value));
                d.text = d.tagText;
                if (AllDigits(d.text)) {
                    d.kind = OperandData::Integer;
                    d.integer = LeadingInteger(d.text);
                } else {
                    d.kind = OperandData::TagText;
                }
                return;
            }
        }
        throw CBugError("IF::GetOperandData(): Invalid operand type");
    }

    // The data of an operand of a comparison; operators have none.
    static const OperandData& Data(const OperandData& d) {
        if (d.kind == OperandData::None)
            throw CBugError("IF::GetOperandData(): Invalid operand type");
        return d;
    }

    // Operator `op` over operands whose values are `left` and `right`.
    static int32_t Result(int32_t op, int32_t left, const OperandData& leftData, int32_t right,
                          const OperandData& rightData) {
        switch (op) {
            case kOr:
                return left != 0 || right != 0;
            case kAnd:
                return left != 0 && right != 0;
            case tag::IN:
            case tag::NOTIN: {
                bool found = Data(leftData).text.find(Data(rightData).text) != std::string::npos;
                return op == tag::IN ? found : !found;
            }
            default:
                return CompareWith(op, Data(leftData), Data(rightData));
        }
    }

    static int32_t CompareWith(int32_t op, const OperandData& l, const OperandData& r) {
        bool lInt = l.kind == OperandData::Integer, rInt = r.kind == OperandData::Integer;
        int64_t d = 0;
        if (lInt && rInt) {
            // The difference is taken in 64 bits, so extreme values still compare correctly.
            d = static_cast<int64_t>(l.integer) - r.integer;
        } else if (!lInt && !rInt) {
            d = l.text.compare(r.text);
        } else if (l.kind == OperandData::Literal || r.kind == OperandData::Literal) {
            throw CFatalError("Cannot compare integer value with string");
        } else {
            return 0;
        }
        return Holds(op, d);
    }

    VarValues& vars_;
    TokenSource& tokens_;
    std::vector<size_t>& stack_;
    std::vector<OperandData>& data_;
    std::vector<int32_t>& results_;
};

}  // namespace

std::optional<TagAgainstNumber> AsTagAgainstNumber(const IF& condition) {
    if (condition.nodes.size() != 3) return std::nullopt;
    const Node& tag = condition.nodes[0];
    const Node& number = condition.nodes[1];
    const Node& op = condition.nodes[2];
    if (tag.kind != NodeKind::Operand || tag.type != OperandType::Tag ||
        number.kind != NodeKind::Operand || number.type != OperandType::Number ||
        op.kind != NodeKind::Operator || op.value < kEqual || op.value > kLessEqual) {
        return std::nullopt;
    }
    return TagAgainstNumber{tag.value, op.value, number.value};
}

void ThrowInvalidComparison() {
    throw CBugError("IF::CompareWith(): Invalid op");
}

struct Evaluator::Scratch {
    std::vector<size_t> stack;
    std::vector<OperandData> operands;
    std::vector<int32_t> results;
};

Evaluator::Evaluator(VarValues& vars, TokenSource& tokens)
    : vars_(vars), tokens_(tokens), scratch_(std::make_unique<Scratch>()) {}

Evaluator::~Evaluator() = default;

void Evaluator::Run(const Expr& expr) {
    ExprEvaluator(vars_, tokens_, scratch_->stack, scratch_->results).Run(expr);
}

int32_t Evaluator::Compare(const IF& condition) {
    return IfEvaluator(vars_, tokens_, scratch_->stack, scratch_->operands, scratch_->results)
        .Run(condition);
}

int32_t LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > (int64_t{1} << 32)) v = int64_t{1} << 32;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

}  // namespace morva::tpx

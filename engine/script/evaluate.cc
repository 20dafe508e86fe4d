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

class ExprEvaluator {
  public:
    ExprEvaluator(Var& vars, TokenSource& tokens) : vars_(vars), tokens_(tokens) {}

    void Run(Expr& expr) {
        std::vector<Node*> stack;
        for (Node& n : expr.nodes) {
            if (n.kind == NodeKind::Operand) {
                stack.push_back(&n);
                continue;
            }
            if (n.kind == NodeKind::EndStatement) {
                stack.clear();
                continue;
            }
            n.result = Operate(n.value, stack);
            stack.push_back(&n);
        }
    }

  private:
    static Node* Pop(std::vector<Node*>& stack, const char* message) {
        if (stack.empty()) throw CBugError(message);
        Node* n = stack.back();
        stack.pop_back();
        return n;
    }

    int32_t Operate(int32_t op, std::vector<Node*>& stack) {
        Node* right = Pop(stack, "Expr::Expr(): Null operand");
        if (op == kUnaryMinus) return Sub(0, Value(*right));
        if (op == kIncrement || op == kDecrement) {
            int32_t index = VariableOf(*right);
            return vars_.SetValue(index, op == kIncrement ? Add(vars_.GetValue(index), 1)
                                                          : Sub(vars_.GetValue(index), 1));
        }
        Node* left = Pop(stack, "Expr::Expr(): Null binary operand");
        return ExprWith(op, *right, *left);
    }

    int32_t ExprWith(int32_t op, Node& right, Node& left) {
        int32_t r = Value(right);
        switch (op) {
            case kAssign:
                return vars_.SetValue(VariableOf(left), r);
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
                return vars_.SetValue(VariableOf(left), Apply(op, Value(left), r));
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

    int32_t Value(const Node& n) {
        if (n.kind == NodeKind::Operator) return n.result;
        if (n.kind == NodeKind::Operand) {
            switch (n.type) {
                case OperandType::Number:
                    return n.value;
                case OperandType::Variable:
                    return vars_.GetValue(n.value);
                case OperandType::Tag: {
                    auto text = tokens_.GetToken(n.value);
                    return text ? LeadingInteger(*text) : 0;
                }
                default:
                    break;
            }
        }
        throw CBugError("Expr::GetOperandData(): Invalid Operand type to Expr");
    }

    Var& vars_;
    TokenSource& tokens_;
};

/// The data of a condition operand: an integer, a literal text or a tag's text.
struct OperandData {
    enum Kind { Integer, Literal, TagText } kind = Integer;
    int32_t integer = 0;
    std::string text;
};

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

class IfEvaluator {
  public:
    IfEvaluator(Var& vars, TokenSource& tokens) : vars_(vars), tokens_(tokens) {}

    int32_t Run(IF& f) {
        std::vector<Node*> stack;
        for (Node& n : f.nodes) {
            if (n.kind == NodeKind::Operand) {
                OperandData d = Data(n);
                n.result = d.kind == OperandData::Integer ? d.integer : 0;
                stack.push_back(&n);
                continue;
            }
            Node* right = Pop(stack);
            Node* left = Pop(stack);
            n.result = Result(n.value, *left, *right);
            stack.push_back(&n);
        }
        if (stack.empty()) throw CBugError("IF::Compare(): Result is empty");
        return stack.back()->result != 0 ? f.thenAddress : f.elseAddress;
    }

  private:
    static Node* Pop(std::vector<Node*>& stack) {
        if (stack.empty()) throw CBugError("IF::Compare(): Null operand");
        Node* n = stack.back();
        stack.pop_back();
        return n;
    }

    OperandData Data(const Node& n) {
        OperandData d;
        if (n.kind != NodeKind::Operand)
            throw CBugError("IF::GetOperandData(): Invalid operand type");
        switch (n.type) {
            case OperandType::Number:
                d.integer = n.value;
                return d;
            case OperandType::Variable:
                d.integer = vars_.GetValue(n.value);
                return d;
            case OperandType::Text:
                d.kind = OperandData::Literal;
                d.text = n.text;
                return d;
            case OperandType::Tag: {
                d.text = tokens_.GetToken(n.value).value_or(std::string());
                if (AllDigits(d.text)) {
                    d.integer = LeadingInteger(d.text);
                } else {
                    d.kind = OperandData::TagText;
                }
                return d;
            }
        }
        throw CBugError("IF::GetOperandData(): Invalid operand type");
    }

    int32_t Result(int32_t op, const Node& left, const Node& right) {
        switch (op) {
            case kOr:
                return left.result != 0 || right.result != 0;
            case kAnd:
                return left.result != 0 && right.result != 0;
            case 298:
            case 375: {
                OperandData l = Data(left), r = Data(right);
                bool found = l.text.find(r.text) != std::string::npos;
                return op == 298 ? found : !found;
            }
            default:
                return CompareWith(op, Data(left), Data(right));
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
        switch (op) {
            case kEqual:
                return d == 0;
            case kNotEqual:
                return d != 0;
            case kGreater:
                return d > 0;
            case kGreaterEqual:
                return d >= 0;
            case kLess:
                return d < 0;
            case kLessEqual:
                return d <= 0;
            default:
                throw CBugError("IF::CompareWith(): Invalid op");
        }
    }

    Var& vars_;
    TokenSource& tokens_;
};

}  // namespace

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

void EvaluateExpr(Expr& expr, Var& vars, TokenSource& tokens) {
    ExprEvaluator(vars, tokens).Run(expr);
}

int32_t CompareIf(IF& condition, Var& vars, TokenSource& tokens) {
    return IfEvaluator(vars, tokens).Run(condition);
}

}  // namespace morva::tpx

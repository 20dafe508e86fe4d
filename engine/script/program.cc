#include "engine/script/program.h"

#include "component/text_util.h"
#include "engine/script/errors.h"
#include "engine/script/messages.h"
#include "engine/script/tags.h"

namespace morva::tpx {

int32_t Var::Declare(std::string_view name) {
    std::string upper = com::ToUpperAscii(name);
    if (auto it = index_.find(upper); it != index_.end()) {
        yyWarning(1, std::string(name).c_str());
        return it->second;
    }
    int32_t index = size();
    index_.emplace(upper, index);
    names_.push_back(std::move(upper));
    return index;
}

int32_t Var::Find(std::string_view name) const {
    auto it = index_.find(com::ToUpperAscii(name));
    return it == index_.end() ? -1 : it->second;
}

void Var::Clear() {
    names_.clear();
    index_.clear();
}

int32_t VarValues::GetValue(int32_t index) const {
    if (index < 0 || index >= size()) throw CBugError("Var::GetValue(): BAD Symbol indetifier");
    return values_[static_cast<size_t>(index)];
}

int32_t VarValues::SetValue(int32_t index, int32_t value) {
    if (index < 0 || index >= size()) throw CBugError("Var::SetValue(): BAD Symbol indetifier");
    values_[static_cast<size_t>(index)] = value;
    return value;
}

namespace {

Node MakeNode(NodeKind kind, OperandType type, int32_t value) {
    Node n;
    n.kind = kind;
    n.type = type;
    n.value = value;
    return n;
}

}  // namespace

void Expr::AppendOperator(int32_t code) {
    NodeKind kind = code == kEndStatement ? NodeKind::EndStatement : NodeKind::Operator;
    nodes.push_back(MakeNode(kind, OperandType::Number, code));
}
void Expr::AppendNumber(int32_t n) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Number, n));
}
void Expr::AppendTag(int32_t code) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Tag, code));
}
void Expr::AppendVariable(int32_t index) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Variable, index));
}

void IF::AppendOperator(int32_t code) {
    nodes.push_back(MakeNode(NodeKind::Operator, OperandType::Number, code));
}
void IF::AppendNumber(int32_t n) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Number, n));
}
void IF::AppendText(std::string_view text) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Text, 0));
    nodes.back().text = std::string(text);
}
void IF::AppendTag(int32_t code) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Tag, code));
}
void IF::AppendVariable(int32_t index) {
    nodes.push_back(MakeNode(NodeKind::Operand, OperandType::Variable, index));
}
void IF::SetEndAddress(int32_t address) {
    endAddress = address;
    if (elseAddress == -1) elseAddress = address;
}

void Program::Clear() {
    code.clear();
    vars.Clear();
    conditions.clear();
    exprs.clear();
    typeLanguagesUsed = 0;
    for (TypeOverrides& o : typeOverrides) o.clear();
}

}  // namespace morva::tpx

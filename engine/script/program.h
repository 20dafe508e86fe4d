#pragma once
// The compiled form of a script: the word array and its companions, the variable table `Var`,
// the arithmetic blocks `Expr` and the conditions `IF`.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/script/type_maps.h"

namespace morva::tpx {

/// The declared variables, designated by their index. Their values belong to a run
/// (VarValues), so that a compiled program does not change while it runs.
class Var {
  public:
    /// Declares `name`. A name already declared (ignoring case) is warned about ("Duplicate
    /// Symbol define" with the name as written) and keeps its slot. Returns the index.
    int32_t Declare(std::string_view name);
    /// Index of the variable `name` (ignoring case), or -1.
    int32_t Find(std::string_view name) const;
    /// Empties the table.
    void Clear();

    int32_t size() const { return static_cast<int32_t>(names_.size()); }
    /// The upper-cased name of variable `index`.
    const std::string& NameAt(int32_t index) const { return names_[index]; }

  private:
    std::vector<std::string> names_;
    std::unordered_map<std::string, int32_t> index_;
};

/// The values of a program's variables during one run, all 0 at its start.
class VarValues {
  public:
    explicit VarValues(int32_t count) : values_(static_cast<size_t>(count), 0) {}
    /// Value of variable `index`; raises CBugError for an index outside the table.
    int32_t GetValue(int32_t index) const;
    /// Sets variable `index` and returns `value`; raises CBugError outside the table.
    int32_t SetValue(int32_t index, int32_t value);

  private:
    int32_t size() const { return static_cast<int32_t>(values_.size()); }
    std::vector<int32_t> values_;
};

enum class NodeKind { Operator, Operand, EndStatement };
enum class OperandType { Number, Text, Tag, Variable };

/// One node of an arithmetic block or condition, in postfix order.
struct Node {
    NodeKind kind = NodeKind::Operand;
    OperandType type = OperandType::Number;
    int32_t value = 0;  // operator code, number, tag code or variable index
    std::string text;   // the word of a text operand
};

/// An arithmetic block compiled from <EXPR> ... </EXPR>.
struct Expr {
    std::vector<Node> nodes;

    void AppendOperator(int32_t code);
    void AppendNumber(int32_t n);
    void AppendTag(int32_t code);
    void AppendVariable(int32_t index);
};

/// A condition compiled from <IF> or <ELSEIF> ... <THEN>, with its branch addresses.
struct IF {
    bool elseIfLink = false;
    int32_t thenAddress = -1;
    int32_t elseAddress = -1;
    int32_t endAddress = -1;
    std::vector<Node> nodes;

    void AppendOperator(int32_t code);
    void AppendNumber(int32_t n);
    void AppendText(std::string_view text);
    void AppendTag(int32_t code);
    void AppendVariable(int32_t index);
    /// Sets the end-address, and the else-address when it was never set.
    void SetEndAddress(int32_t address);
};

/// The compiled program. A word 1 to 255 is a character; -c is the operation code c. A run
/// only reads it: what changes while it runs lives in the run.
struct Program {
    std::vector<int32_t> code;
    Var vars;
    std::vector<IF> conditions;
    std::vector<Expr> exprs;
    /// Bit i set: the script uses the type tag of TypeLanguage i.
    uint32_t typeLanguagesUsed = 0;
    /// The project's type entries of each language, read from its type file when compiled.
    std::array<TypeOverrides, kTypeLanguages> typeOverrides;

    /// Empties everything.
    void Clear();
};

}  // namespace morva::tpx

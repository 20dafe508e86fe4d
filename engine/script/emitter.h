#pragma once
// The code emitter: the parser's actions call it to build the compiled program. It keeps the
// compile-time state (mode, open blocks, IF stack, placeholder positions) and runs the context
// checks that tie value tags to their loops.

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/script/diagnostic.h"
#include "engine/script/diagnostics.h"
#include "engine/script/program.h"
#include "engine/script/token.h"

namespace morva::tpx {

/// Where emitted items go.
enum CompileMode : int32_t {
    kPlainMode = 0,
    kConditionMode = 1,
    kArithmeticMode = 2,
    kDeclareMode = 4
};

/// Open blocks, for the context checks.
enum BlockFlag : int32_t {
    kTablesOpen = 1,
    kColumnsOpen = 2,
    kRefTablesOpen = 4,
    kRefColumnsOpen = 8,
    kLookupItemsOpen = 16,
};

class CodeEmitter {
  public:
    CodeEmitter();

    /// Discards the compiled program and all compile-time state.
    void Reset();
    const Program& program() const { return program_; }
    Program& program() { return program_; }
    /// True once a fatal error was reported; the parser stops.
    bool Stopped() const { return engine_->fatalCount != 0; }

    /// <TEXT>.
    void BeginBody();
    /// A CHAR token: a character in plain mode.
    void EmitChar(int32_t c);
    /// A TEXT token: characters in plain mode, a text operand in a condition.
    void EmitText(std::string_view text);
    /// A run of body text, which the scanner makes only in plain mode: its characters.
    void EmitRun(std::string_view text);
    /// Any tag: an operand or operator in a condition, an operand in an arithmetic block, an
    /// operation code (after the context check) in plain mode. `place` is where the tag stands,
    /// for the diagnostics of its context check.
    void EmitTag(int32_t code, SourcePlace place = {});
    /// A SYMBOL token (index -1 for an undefined variable emits nothing).
    void EmitSymbol(int32_t index);
    /// A NUMBER token: an operand in a condition or arithmetic block.
    void EmitNumber(int32_t n);
    /// An operator of a condition or arithmetic block.
    void EmitOperator(int32_t code);
    /// `tag` <IN> `word` (or <NOTIN>, by `op`) in a condition.
    void EmitContains(int32_t tag, std::string_view word, int32_t op);
    /// `variable`++ or `variable`-- (by `op`) in an arithmetic block.
    void EmitUpdate(int32_t variable, int32_t op);

    void BeginIf();
    void Then();
    void Else();
    void ElseIf();
    /// </IF>.
    void EndIf();

    void BeginVar();
    void EndVar();

    void BeginExpr();
    void EndExpr();

    int32_t mode() const { return mode_; }
    int32_t blockFlags() const { return blockFlags_; }
    /// The context warnings of the compilation so far, in script order, with the tag and its
    /// place; columns are left at 0 (the emitter never sees a whole line).
    const std::vector<Diagnostic>& diagnostics() const { return diagnostics_; }
    std::vector<Diagnostic>& diagnostics() { return diagnostics_; }

  private:
    void Emit(int32_t word);
    bool CheckContext(int32_t code, SourcePlace place);
    /// Records that tag `code` at `place`, which depends on the current table, stands outside
    /// <TABLES>.
    void NoteOutsideTables(int32_t code, SourcePlace place);
    IF* CurrentIf();
    Expr* CurrentExpr();
    void StartIf(bool elseIfLink);

    EngineState* engine_ = &Engine();
    Program program_;
    int32_t mode_ = kPlainMode;
    int32_t blockFlags_ = 0;
    int32_t currentIf_ = -1;
    int32_t currentExpr_ = -1;
    std::vector<int32_t> ifStack_;
    int32_t refTablesSlot_ = 0;
    int32_t refColumnsSlot_ = 0;
    int32_t lookupItemsSlot_ = 0;
    std::vector<Diagnostic> diagnostics_;
};

}  // namespace morva::tpx

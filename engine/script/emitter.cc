#include "engine/script/emitter.h"

#include <new>

#include "engine/script/diagnostics.h"
#include "engine/script/messages.h"
#include "engine/script/tags.h"
#include "engine/script/type_maps.h"

namespace morva::tpx {

namespace {

constexpr int32_t kInitialCode = 16384;

bool IsValueTag(int32_t code) {
    std::optional<TagRole> role = RoleOf(code);
    return role && (*role == TagRole::Value || *role == TagRole::Number);
}

}  // namespace

CodeEmitter::CodeEmitter() {
    Reset();
}

void CodeEmitter::Reset() {
    program_.Clear();
    program_.code.reserve(kInitialCode);
    mode_ = kPlainMode;
    blockFlags_ = 0;
    currentIf_ = -1;
    currentExpr_ = -1;
    ifStack_.clear();
    refTablesSlot_ = refColumnsSlot_ = lookupItemsSlot_ = 0;
    diagnostics_.clear();
}

void CodeEmitter::Emit(int32_t word) {
    try {
        program_.code.push_back(word);
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
    }
}

IF* CodeEmitter::CurrentIf() {
    return currentIf_ >= 0 ? &program_.conditions[currentIf_] : nullptr;
}

Expr* CodeEmitter::CurrentExpr() {
    return currentExpr_ >= 0 ? &program_.exprs[currentExpr_] : nullptr;
}

void CodeEmitter::BeginBody() {
    Emit(-tag::TEXT);
}

void CodeEmitter::EmitChar(int32_t c) {
    if (mode_ == kPlainMode) Emit(c);
}

void CodeEmitter::EmitText(std::string_view text) {
    switch (mode_) {
        case kPlainMode:
            for (char c : text) Emit(static_cast<unsigned char>(c));
            break;
        case kConditionMode:
            if (IF* f = CurrentIf()) f->AppendText(text);
            break;
        case kArithmeticMode:
            yySyntax(33);
            break;
        default:
            break;
    }
}

void CodeEmitter::EmitRun(std::string_view text) {
    if (mode_ != kPlainMode) {
        EmitText(text);
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    try {
        program_.code.insert(program_.code.end(), bytes, bytes + text.size());
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
    }
}

void CodeEmitter::EmitSymbol(int32_t index) {
    if (index < 0) return;
    switch (mode_) {
        case kPlainMode:
            Emit(-kSymbol);
            Emit(index);
            break;
        case kConditionMode:
            if (IF* f = CurrentIf()) f->AppendVariable(index);
            break;
        case kArithmeticMode:
            if (Expr* x = CurrentExpr()) x->AppendVariable(index);
            break;
        default:
            break;
    }
}

void CodeEmitter::EmitNumber(int32_t n) {
    if (mode_ == kConditionMode) {
        if (IF* f = CurrentIf()) f->AppendNumber(n);
    } else if (mode_ == kArithmeticMode) {
        if (Expr* x = CurrentExpr()) x->AppendNumber(n);
    }
}

void CodeEmitter::EmitOperator(int32_t code) {
    if (mode_ == kConditionMode) {
        if (IF* f = CurrentIf()) f->AppendOperator(code);
    } else if (mode_ == kArithmeticMode) {
        if (Expr* x = CurrentExpr()) x->AppendOperator(code);
    }
}

void CodeEmitter::EmitContains(int32_t tag, std::string_view word, int32_t op) {
    EmitTag(tag);
    EmitText(word);
    EmitOperator(op);
}

void CodeEmitter::EmitUpdate(int32_t variable, int32_t op) {
    EmitSymbol(variable);
    EmitOperator(op);
}

void CodeEmitter::EmitTag(int32_t code, SourcePlace place) {
    if (int32_t language = TypeLanguageOfTag(code); language >= 0)
        program_.typeLanguagesUsed |= 1u << language;
    switch (mode_) {
        case kConditionMode:
            if (IF* f = CurrentIf()) {
                if (IsValueTag(code)) {
                    f->AppendTag(code);
                } else if (code == tag::IN || code == tag::NOTIN) {
                    f->AppendOperator(code);
                }
            }
            return;
        case kArithmeticMode:
            if (Expr* x = CurrentExpr()) x->AppendTag(code);
            return;
        case kDeclareMode:
            return;
        default:
            break;
    }
    CheckContext(code, place);
    // The closing tag of a skippable loop tells its opening tag where the loop ends.
    int32_t* closedSlot = code == tag::ENDREFTABLES     ? &refTablesSlot_
                          : code == tag::ENDREFCOLUMNS  ? &refColumnsSlot_
                          : code == tag::ENDLOOKUPITEMS ? &lookupItemsSlot_
                                                        : nullptr;
    if (closedSlot && *closedSlot > 0 && *closedSlot < static_cast<int32_t>(program_.code.size())) {
        program_.code[*closedSlot] = static_cast<int32_t>(program_.code.size()) + 1;
    }
    Emit(-code);
    int32_t* openedSlot = code == tag::REFTABLES     ? &refTablesSlot_
                          : code == tag::REFCOLUMNS  ? &refColumnsSlot_
                          : code == tag::LOOKUPITEMS ? &lookupItemsSlot_
                                                     : nullptr;
    if (openedSlot) {
        *openedSlot = static_cast<int32_t>(program_.code.size());
        Emit(-code);
    }
}

// Checks that a tag stands inside the loops it depends on and keeps the open-block flags.
// The code is emitted whatever the check finds.
bool CodeEmitter::CheckContext(int32_t code, SourcePlace place) {
    auto open = [&](int32_t flags) { return (blockFlags_ & flags) == flags; };
    auto fail = [](int32_t message) {
        yySyntax(message);
        return false;
    };
    switch (code) {
        case tag::TABLES:
            if (open(kTablesOpen)) fail(28);
            blockFlags_ |= kTablesOpen;
            return true;
        case tag::ENDTABLES:
            if (!open(kTablesOpen)) fail(24);
            blockFlags_ &= ~kTablesOpen;
            return true;
        case tag::COLUMNS:
            if (open(kColumnsOpen)) fail(29);
            if (!open(kTablesOpen)) {
                yyWarning(0);
                NoteOutsideTables(code, place);
            }
            blockFlags_ |= kColumnsOpen;
            return true;
        case tag::ENDCOLUMNS:
            if (!open(kColumnsOpen)) fail(25);
            blockFlags_ &= ~kColumnsOpen;
            return true;
        case tag::REFTABLES:
            if (open(kRefTablesOpen)) fail(30);
            if (!open(kTablesOpen)) fail(34);
            blockFlags_ |= kRefTablesOpen;
            return true;
        case tag::ENDREFTABLES:
            blockFlags_ &= ~kRefTablesOpen;
            return true;
        case tag::REFCOLUMNS:
            if (open(kRefColumnsOpen)) fail(31);
            if (!open(kTablesOpen)) fail(34);
            blockFlags_ |= kRefColumnsOpen;
            return true;
        case tag::ENDREFCOLUMNS:
            blockFlags_ &= ~kRefColumnsOpen;
            return true;
        case tag::LOOKUPITEMS:
            if (open(kLookupItemsOpen)) fail(32);
            blockFlags_ |= kLookupItemsOpen;
            return true;
        case tag::ENDLOOKUPITEMS:
            blockFlags_ &= ~kLookupItemsOpen;
            return true;
        case tag::REFC:
        case tag::FOREIGNKEY:
        case tag::ELRC:
        case tag::ENDELRC:
            return open(kRefColumnsOpen) || fail(38);
        case tag::EL:
        case tag::ENDEL:
            return open(kTablesOpen | kColumnsOpen) || fail(36);
        case tag::ELC:
        case tag::ENDELC:
            return open(kColumnsOpen) || fail(35);
        case tag::ELT:
        case tag::ENDELT:
            return open(kTablesOpen) || fail(34);
        case tag::ELR:
        case tag::ENDELR:
            return open(kRefTablesOpen | kRefColumnsOpen) || fail(39);
        case tag::ELRT:
        case tag::ENDELRT:
            return open(kRefTablesOpen) || fail(37);
        case tag::ELLI:
        case tag::ENDELLI:
        case tag::LOOKUPITEM:
            return open(kLookupItemsOpen) || fail(40);
        default:
            return true;
    }
}

void CodeEmitter::NoteOutsideTables(int32_t code, SourcePlace place) {
    const char* name = CodeName(code);
    try {
        std::string text = std::string(name ? name : "A tag") +
                           " depends on the current table but is used outside <TABLES>";
        diagnostics_.push_back(Diagnostic{place.line, 0, place.offset, code, std::move(text)});
    } catch (const std::bad_alloc&) {
        // The log line still reports the warning; only the tag's place is lost.
    }
}

void CodeEmitter::StartIf(bool elseIfLink) {
    try {
        program_.conditions.emplace_back();
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
        return;
    }
    int32_t index = static_cast<int32_t>(program_.conditions.size()) - 1;
    program_.conditions.back().elseIfLink = elseIfLink;
    Emit(-tag::IF);
    Emit(index);
    if (currentIf_ >= 0) ifStack_.push_back(currentIf_);
    currentIf_ = index;
    mode_ = kConditionMode;
}

void CodeEmitter::BeginIf() {
    StartIf(false);
}

void CodeEmitter::Then() {
    mode_ = kPlainMode;
    if (IF* f = CurrentIf()) f->thenAddress = static_cast<int32_t>(program_.code.size());
}

void CodeEmitter::Else() {
    Emit(-tag::ELSE);
    Emit(currentIf_);
    if (IF* f = CurrentIf()) f->elseAddress = static_cast<int32_t>(program_.code.size());
}

void CodeEmitter::ElseIf() {
    Else();
    StartIf(true);
}

void CodeEmitter::EndIf() {
    int32_t end = static_cast<int32_t>(program_.code.size());
    IF* f = CurrentIf();
    if (f) f->SetEndAddress(end);
    // An else-if chain ends at one address: walk back to the <IF> that opened it.
    while (f && f->elseIfLink) {
        if (ifStack_.empty()) {
            yyFatal(kFatalIfStack);
            return;
        }
        currentIf_ = ifStack_.back();
        ifStack_.pop_back();
        f = CurrentIf();
        f->SetEndAddress(end);
    }
    if (ifStack_.empty()) {
        currentIf_ = -1;
    } else {
        currentIf_ = ifStack_.back();
        ifStack_.pop_back();
    }
    mode_ = kPlainMode;
    Emit(-tag::ENDIF);
}

void CodeEmitter::BeginVar() {
    Emit(-tag::VAR);
    mode_ = kDeclareMode;
}

void CodeEmitter::EndVar() {
    mode_ = kPlainMode;
}

void CodeEmitter::BeginExpr() {
    try {
        program_.exprs.emplace_back();
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
        return;
    }
    currentExpr_ = static_cast<int32_t>(program_.exprs.size()) - 1;
    Emit(-tag::EXPR);
    Emit(currentExpr_);
    mode_ = kArithmeticMode;
}

void CodeEmitter::EndExpr() {
    mode_ = kPlainMode;
    currentExpr_ = -1;
}

}  // namespace morva::tpx

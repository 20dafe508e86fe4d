#include "engine/script/compiler.h"

#include <algorithm>
#include <new>

#include "engine/script/diagnostics.h"
#include "engine/script/emitter.h"
#include "engine/script/messages.h"
#include "engine/script/token.h"
#include "parser.hh"

int tpx_scan(morva::tpx::TokenValue* value, void* scanner);
int tpx_lex_init_extra(morva::tpx::ScanContext* extra, void** scanner);
int tpx_lex_destroy(void* scanner);

namespace morva::tpx {

namespace {

void Observe(const ScanContext& context, int token, const TokenValue& value) {
    if (!context.observer || token == 0) return;
    std::string_view source = context.engine->source;
    size_t start = std::min(context.matchStart, source.size());
    size_t end = std::min(context.consumed, source.size());
    context.observer->Token(token, value, source.substr(start, end - start), start,
                            context.engine->scannerState);
}

}  // namespace

void Compile(CodeEmitter& emitter, TokenObserver* observer) {
    ScanContext context;
    context.engine = &Engine();
    context.emitter = &emitter;
    context.observer = observer;
    if (tpx_lex_init_extra(&context, &context.scanner) != 0) {
        yyFatal(kFatalMemory);
        return;
    }
    try {
        tpxp_parse(&context);
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
    }
    tpx_lex_destroy(context.scanner);
}

}  // namespace morva::tpx

int tpxp_next_token(morva::tpx::TokenValue* value, morva::tpx::ScanContext* ctx, bool recovering) {
    using namespace morva::tpx;
    CodeEmitter& emitter = *ctx->emitter;
    // The scanner's choices for this token depend on what the parser did with the one before.
    if (ctx->scanned) ctx->bodyTextRuns = emitter.mode() == kPlainMode && !recovering;
    ctx->scanned = true;
    if (emitter.Stopped()) return -1;
    try {
        *value = TokenValue{};  // the parser reuses its value: no field of the last token stays
        int token = tpx_scan(value, ctx->scanner);
        if (emitter.Stopped()) return -1;
        Observe(*ctx, token, *value);
        return token;
    } catch (const ScannerFailure& failure) {
        yyFatalText(failure.message);
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
    }
    return -1;
}

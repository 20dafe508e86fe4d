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
    void* scanner = nullptr;
    if (tpx_lex_init_extra(&context, &scanner) != 0) {
        yyFatal(kFatalMemory);
        return;
    }
    tpxp_pstate* parser = tpxp_pstate_new();
    if (!parser) {
        tpx_lex_destroy(scanner);
        yyFatal(kFatalMemory);
        return;
    }
    int status = YYPUSH_MORE;
    try {
        while (status == YYPUSH_MORE && !emitter.Stopped()) {
            TokenValue value;
            int token = tpx_scan(&value, scanner);
            if (emitter.Stopped()) break;
            Observe(context, token, value);
            status = tpxp_push_parse(parser, token, &value, &context);
            context.bodyTextRuns = emitter.mode() == kPlainMode && !tpxp_recovering(parser);
        }
    } catch (const ScannerFailure& failure) {
        yyFatalText(failure.message);
    } catch (const std::bad_alloc&) {
        yyFatal(kFatalMemory);
    }
    tpxp_pstate_delete(parser);
    tpx_lex_destroy(scanner);
}

}  // namespace morva::tpx

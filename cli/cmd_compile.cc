// morva-cli compile SCRIPT [--dump]: compiles a template script with the engine and prints the
// engine log (and the compiled program); the tags that warnings name go to standard error.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/handlers.h"
#include "cli/script_diagnostics.h"
#include "engine/host/cmorva.h"
#include "engine/script/exe.h"
#include "engine/script/program_dump.h"

namespace morva::cli {

namespace {

/// The engine writes carriage return and line feed; the terminal wants line feeds.
std::string WithLineFeeds(const std::string& log) {
    std::string out;
    out.reserve(log.size());
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') continue;
        out += log[i];
    }
    return out;
}

}  // namespace

int CompileCommand(Context& ctx) {
    bool dump = TakeFlag(ctx.args, "--dump");
    if (ctx.args.size() != 1) return UsageError("compile: expected one SCRIPT");
    const std::string& path = ctx.args[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) return UsageError("compile: cannot read " + path);
    std::stringstream text;
    text << in.rdbuf();

    auto morva = tpx::NewMorva();
    morva->SetScript(path, text.str());
    std::string log;
    morva->GetLogText(&log);
    std::fputs(WithLineFeeds(log).c_str(), stdout);
    PrintScriptDiagnostics(path, *morva);
    tpx::CMorva* control = tpx::AsCMorva(morva.get());
    if (dump && control->exe())
        std::fputs(tpx::DumpProgram(control->exe()->program()).c_str(), stdout);
    return control->compiled() ? kExitOk : kExitFailed;
}

}  // namespace morva::cli

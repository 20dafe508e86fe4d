// morva-cli compile SCRIPT [--dump]: compiles a template script with the engine and prints the
// engine log (and the compiled program); the tags that warnings name go to standard error.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/handlers.h"
#include "cli/script_diagnostics.h"
#include "engine/script/program_dump.h"
#include "engine/script/script_api.h"

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

/// Keeps the log of a compilation.
class LogHost : public tpx::EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string&) override {}
    std::string log;
};

}  // namespace

int CompileCommand(Context& ctx) {
    bool dump = TakeFlag(ctx.args, "--dump");
    if (ctx.args.size() != 1) return UsageError("compile: expected one SCRIPT");
    const std::string& path = ctx.args[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) return UsageError("compile: cannot read " + path);
    std::stringstream text;
    text << in.rdbuf();

    LogHost host;
    tpx::Exe script;
    tpx::CompileStatus status = tpx::CompileText(host, path, text.str(), script);
    std::fputs(WithLineFeeds(host.log).c_str(), stdout);
    PrintScriptDiagnostics(path, script.diagnostics());
    if (dump) std::fputs(tpx::DumpProgram(script.program()).c_str(), stdout);
    return status.ok() ? kExitOk : kExitFailed;
}

}  // namespace morva::cli

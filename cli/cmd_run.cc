// morva-cli run SCRIPT --db DB [--schema S] [--lf]: the run window's sequence without the
// window, over the script API. The schema fills a store, the script is compiled, the schema's
// identity is set and the script runs with the output folder as the current directory; the log
// is printed.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/database_access.h"
#include "cli/form_files.h"
#include "cli/handlers.h"
#include "cli/script_diagnostics.h"
#include "engine/host/store_loader.h"
#include "engine/script/exe.h"
#include "engine/script/script_api.h"
#include "engine/store/store.h"

namespace morva::cli {

namespace {

namespace fs = std::filesystem;
using tpx::BStr;

/// Keeps the log of the compilation and the run, and converts every file the script closes as
/// a form file, reporting failures on standard error without stopping the run.
class RunHost : public tpx::EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string& filename) override {
        if (!filename.empty()) ConvertClosedFormFile(filename);
    }
    std::string log;
};

bool ReadText(const std::string& path, std::string* text) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = std::move(s).str();
    return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

/// Everything the sequence needs besides the engine.
struct RunInput {
    std::string script;  // as typed: log lines name it so
    std::string code;
    std::unique_ptr<schema::TDatabaseInfor> db;
    std::unique_ptr<schema::TSchema> schema;
    bool lineFeeds = false;
};

int Execute(const Context& ctx, const RunInput& in) {
    tpx::StoreLoader store;
    bool handedOver = true;
    try {
        in.schema->SendToEngine(store, *in.db);
        com::Check(store.InitDatabase());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "morva-cli: handing the schema to the engine failed: %s\n", e.what());
        handedOver = false;
    }
    RunHost host;
    tpx::Exe script;
    bool compiled = tpx::CompileText(host, in.script, in.code, script).ok();
    PrintScriptDiagnostics(in.script, script.diagnostics());
    auto text = [](const std::string& s) { return s.empty() ? BStr() : BStr(s); };
    store.SetSchema(text(in.schema->Name), text(in.schema->SchemaType),
                    text(in.schema->SchemaLabel));

    std::error_code ec;
    fs::path previous = fs::current_path(ec);
    fs::create_directories(ctx.outputDir, ec);
    bool moved = ::chdir(ctx.outputDir.c_str()) == 0;
    if (!moved)
        std::fprintf(stderr, "morva-cli: %s: cannot enter the output folder; running in %s\n",
                     ctx.outputDir.c_str(), previous.c_str());
    tpx::RunStatus ran = tpx::RunStatus::Failed;
    if (compiled && store.store()) {
        tpx::RunOptions options;
        if (in.lineFeeds) options.lineEnd = tpx::LineEnd::LineFeed;
        ran = tpx::RunProgram(host, script, *store.store(), options);
        if (ran == tpx::RunStatus::OutOfMemory) tpx::ShowOutOfMemory();
    }
    std::vector<std::string> lines = SplitLines(host.log);
    if (moved && ::chdir(previous.c_str()) != 0)
        std::fprintf(stderr, "morva-cli: cannot return to %s\n", previous.c_str());

    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return ran == tpx::RunStatus::Completed && handedOver ? kExitOk : kExitFailed;
}

}  // namespace

int RunCommand(Context& ctx) {
    RunInput in;
    in.lineFeeds = TakeFlag(ctx.args, "--lf");
    bool missing = false;
    std::string dbName = TakeOption(ctx.args, "--db", &missing);
    std::string schemaName = TakeOption(ctx.args, "--schema", &missing);
    if (missing || ctx.args.size() != 1 || dbName.empty())
        return UsageError("usage: run SCRIPT --db DB [--schema S] [--lf]");
    in.script = ctx.args[0];
    if (!ReadText(in.script, &in.code)) return UsageError(in.script + ": cannot read the script");
    in.db = OpenDatabase(ctx, dbName);
    if (!in.db) return kExitUsage;
    if (schemaName.empty()) {
        // Every table and column, handed over without being saved.
        in.db->SetAllMarks(true);
        in.schema = schema::TSchema::CreateFromDatabase("", "", "", *in.db);
    } else {
        in.schema = OpenSchema(ctx, dbName, schemaName);
        if (!in.schema) return kExitUsage;
    }
    int status = kExitFailed;
    try {
        status = Execute(ctx, in);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "morva-cli: %s\n", e.what());
    }
    return status;
}

}  // namespace morva::cli

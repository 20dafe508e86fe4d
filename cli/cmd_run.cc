// morva-cli run SCRIPT --db DB [--schema S] [--lf] [--check | --diff | --prune]: the run
// window's sequence without the window, over the script API. The schema fills a store, the
// script is compiled, the schema's identity is set and the script runs into the output folder
// through the output layer; the log is printed. --check and --diff run into memory and tell
// what a run would change; the record of generated files finds stale ones, which --prune
// deletes.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

#include "cli/database_access.h"
#include "cli/form_files.h"
#include "cli/handlers.h"
#include "cli/script_diagnostics.h"
#include "cli/unified_diff.h"
#include "engine/host/imorva.h"
#include "engine/host/store_loader.h"
#include "engine/script/exe.h"
#include "engine/script/output_files.h"
#include "engine/script/output_record.h"
#include "engine/script/script_api.h"
#include "engine/store/store.h"

namespace morva::cli {

namespace {

namespace fs = std::filesystem;
using tpx::BStr;
using tpx::FileOutcome;

/// Keeps the log of the compilation and the run, and converts every file the script closes as
/// a form file through the run's output files, reporting failures on standard error without
/// stopping the run.
class RunHost : public tpx::EngineControl {
  public:
    explicit RunHost(tpx::OutputFiles& files) : files_(files) {}
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string& filename) override {
        if (filename.empty()) return;
        // A form file that could not be written is counted among the output files already.
        int before = files_.failures();
        if (!ConvertClosedFormFile(files_, filename) && files_.failures() == before) ++failedForms;
    }
    std::string log;
    int failedForms = 0;

  private:
    tpx::OutputFiles& files_;
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

/// The log with line feeds for its carriage returns and line feeds, as a terminal shows it.
std::string LogLines(const std::string& log) {
    std::string lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines += line + "\n";
    }
    return lines;
}

/// What the run is asked to do with its output.
enum class Mode { Write, Check, Diff };

/// Everything the sequence needs besides the engine.
struct RunInput {
    std::string script;  // as typed: log lines name it so
    std::string code;
    std::unique_ptr<schema::TDatabaseInfor> db;
    std::unique_ptr<schema::TSchema> schema;  // null: every table and column of `db`
    bool lineFeeds = false;
    Mode mode = Mode::Write;
    bool prune = false;
};

/// Prints what a run would change: a line or a difference per file; true when anything would.
bool ReportChanges(const tpx::OutputFiles& files, const std::vector<std::string>& stale,
                   const std::string& folder, Mode mode) {
    bool changes = false;
    for (const tpx::OutputFile& f : files.files()) {
        if (f.outcome != FileOutcome::Created && f.outcome != FileOutcome::Changed) continue;
        changes = true;
        bool created = f.outcome == FileOutcome::Created;
        if (mode == Mode::Check) {
            std::printf("%s %s\n", created ? "create" : "change", f.name.c_str());
        } else {
            std::string diff = UnifiedDiff(f.before, f.after, created ? "/dev/null" : "a/" + f.name,
                                           "b/" + f.name);
            // A new empty file has no lines to show.
            if (diff.empty()) diff = "--- /dev/null\n+++ b/" + f.name + "\n";
            std::fputs(diff.c_str(), stdout);
        }
    }
    for (const std::string& name : stale) {
        changes = true;
        if (mode == Mode::Check) {
            std::printf("stale %s\n", name.c_str());
        } else {
            std::string before;
            tpx::ReadWholeFile((fs::path(folder) / name).string(), &before);
            std::string diff = UnifiedDiff(before, "", "a/" + name, "/dev/null");
            if (diff.empty()) diff = "--- a/" + name + "\n+++ /dev/null\n";
            std::fputs(diff.c_str(), stdout);
        }
    }
    return changes;
}

/// Deletes the stale files `names` of `folder`; how many went. Failures go to standard error.
int Prune(const std::vector<std::string>& names, const std::string& folder) {
    int pruned = 0;
    for (const std::string& name : names) {
        // Only files inside the output folder are deleted, whatever the record says.
        fs::path relative(name);
        bool inside = relative.is_relative();
        for (const fs::path& part : relative) inside = inside && part != "..";
        if (!inside) {
            std::fprintf(stderr, "morva-cli: %s is outside the output folder; not deleted\n",
                         name.c_str());
            continue;
        }
        std::error_code ec;
        if (fs::remove(fs::path(folder) / name, ec)) {
            ++pruned;
        } else if (ec) {
            std::fprintf(stderr, "morva-cli: cannot delete the stale file %s: %s\n", name.c_str(),
                         ec.message().c_str());
        }
    }
    return pruned;
}

/// The process ends right after a run, and the system takes its memory back at once: freeing
/// a large store and database piece by piece would cost a tenth of the run. Builds that look
/// for leaks free them as usual.
template <class T>
void LeaveToExit([[maybe_unused]] std::unique_ptr<T> object) {
#if !defined(__SANITIZE_ADDRESS__)
    [[maybe_unused]] T* left = object.release();
#endif
}

int Execute(const Context& ctx, const RunInput& in, tpx::StoreLoader& store) {
    // A schema the engine cannot take would make a damaged model: nothing runs then.
    try {
        if (in.schema)
            in.schema->SendToEngine(store, *in.db);
        else
            schema::SendDatabaseToEngine(store, *in.db);
        com::Check(store.InitDatabase());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "morva-cli: handing the schema to the engine failed: %s\n", e.what());
        return kExitFailed;
    }
    if (!store.store()) {
        std::fprintf(stderr, "morva-cli: handing the schema to the engine failed\n");
        return kExitFailed;
    }
    const std::string& folder = ctx.outputDir;
    if (std::string reason = tpx::PrepareOutputFolder(folder, in.mode == Mode::Write);
        !reason.empty())
        return UsageError("output folder " + folder + ": " + reason);
    tpx::OutputFiles files(
        {in.mode == Mode::Write ? tpx::OutputTarget::Disk : tpx::OutputTarget::Memory, folder});
    RunHost host(files);
    tpx::Exe script;
    bool compiled = tpx::CompileText(host, in.script, in.code, script).ok();
    PrintScriptDiagnostics(in.script, script.diagnostics());
    auto text = [](const std::string& s) { return s.empty() ? BStr() : BStr(s); };
    if (in.schema)
        store.SetSchema(text(in.schema->Name), text(in.schema->SchemaType),
                        text(in.schema->SchemaLabel));
    else
        store.SetSchema(BStr(), BStr(), BStr());

    tpx::RunStatus ran = tpx::RunStatus::Failed;
    if (compiled) {
        tpx::RunOptions options;
        if (in.lineFeeds) options.lineEnd = tpx::LineEnd::LineFeed;
        options.files = &files;
        ran = tpx::RunProgram(host, script, *store.store(), options);
        if (ran == tpx::RunStatus::OutOfMemory) tpx::ShowOutOfMemory();
    }
    // A check prints what would change on standard output; the log goes aside.
    std::fputs(LogLines(host.log).c_str(), in.mode == Mode::Write ? stdout : stderr);
    std::fflush(stdout);
    for (const tpx::LostRegion& lost : files.lostRegions()) {
        if (lost.savedAs.empty()) {
            std::fprintf(stderr, "morva-cli: %s: kept region %s is no longer generated\n",
                         lost.file.c_str(), lost.region.c_str());
        } else {
            std::fprintf(stderr,
                         "morva-cli: %s: kept region %s is no longer generated; its text is "
                         "saved in %s\n",
                         lost.file.c_str(), lost.region.c_str(),
                         (fs::path(folder) / lost.savedAs).c_str());
        }
    }
    bool completed = ran == tpx::RunStatus::Completed;
    bool failed = !completed || files.failures() > 0 || host.failedForms > 0;

    // The record and stale files are only known after a whole run: a run that stopped early
    // did not generate everything it would have.
    std::vector<std::string> stale;
    std::string record = (fs::path(folder) / tpx::OutputRecordName(in.script)).string();
    std::vector<std::string> generated = tpx::GeneratedFileNames(files);
    if (completed) stale = tpx::StaleOutputFiles(tpx::ReadOutputRecord(record), generated, folder);

    if (in.mode != Mode::Write) {
        bool changes = ReportChanges(files, stale, folder, in.mode);
        return changes || failed ? kExitFailed : kExitOk;
    }
    int pruned = 0;
    if (completed) {
        if (in.prune) {
            pruned = Prune(stale, folder);
            // Files that could not be deleted stay stale and stay in the record.
            std::vector<std::string> left;
            for (const std::string& name : stale) {
                std::error_code ec;
                if (fs::exists(fs::symlink_status(fs::path(folder) / name, ec)))
                    left.push_back(name);
            }
            stale = std::move(left);
        }
        // Stale files stay in the record until they are pruned, so that they stay known.
        std::vector<std::string> names = generated;
        names.insert(names.end(), stale.begin(), stale.end());
        if (int error = tpx::WriteOutputRecord(record, names)) {
            std::fprintf(stderr, "morva-cli: cannot write %s: %s\n", record.c_str(),
                         std::strerror(error));
            failed = true;
        }
    }
    int written = 0, unchanged = 0, failures = files.failures() + host.failedForms;
    for (const tpx::OutputFile& f : files.files()) {
        written += f.outcome == FileOutcome::Created || f.outcome == FileOutcome::Changed;
        unchanged += f.outcome == FileOutcome::Unchanged;
    }
    std::fprintf(stderr, "morva-cli: %s\n",
                 tpx::OutputSummary(written, unchanged, pruned, stale.size(), failures).c_str());
    return failed ? kExitFailed : kExitOk;
}

}  // namespace

int RunCommand(Context& ctx) {
    RunInput in;
    in.lineFeeds = TakeFlag(ctx.args, "--lf");
    bool check = TakeFlag(ctx.args, "--check");
    bool diff = TakeFlag(ctx.args, "--diff");
    in.prune = TakeFlag(ctx.args, "--prune");
    in.mode = diff ? Mode::Diff : check ? Mode::Check : Mode::Write;
    bool missing = false;
    std::string dbName = TakeOption(ctx.args, "--db", &missing);
    std::string schemaName = TakeOption(ctx.args, "--schema", &missing);
    if (missing || ctx.args.size() != 1 || dbName.empty() || (check && diff))
        return UsageError(
            "usage: run SCRIPT --db DB [--schema S] [--lf] [--check | --diff | --prune]");
    if (in.prune && in.mode != Mode::Write)
        return UsageError("--prune deletes files; --check and --diff write nothing");
    in.script = ctx.args[0];
    if (!ReadText(in.script, &in.code)) return UsageError(in.script + ": cannot read the script");
    in.db = OpenDatabase(ctx, dbName);
    if (!in.db) return kExitUsage;
    if (schemaName.empty()) {
        // Every table and column, handed over without being saved.
        in.db->SetAllMarks(true);
    } else {
        in.schema = OpenSchema(ctx, dbName, schemaName);
        if (!in.schema) return kExitUsage;
    }
    int status = kExitFailed;
    auto store = std::make_unique<tpx::StoreLoader>();
    try {
        status = Execute(ctx, in, *store);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "morva-cli: %s\n", e.what());
    }
    LeaveToExit(std::move(store));
    LeaveToExit(std::move(in.db));
    return status;
}

}  // namespace morva::cli

// morva-cli sql [--dialect classic|auto] DB FILE... [--fresh]: builds database information
// from SQL scripts through the compiler component, with the classic reader or the tolerant
// reader of the common dialects, printing the log lines the workbench's run window would show.
// Table files of the database that the scripts do not define are kept, as in the workbench, and
// named on standard error; --fresh removes them.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "cli/handlers.h"
#include "component/create.h"
#include "sqlcompiler/isqlcomp.h"
#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_folder.h"

namespace morva::cli {
namespace {

// Prints each compiler message as one log line, notes whether any reported a failure and
// collects the file names of the tables written.
class LogSink : public com::Object<sql::ISqlCompEvents> {
  public:
    bool failed = false;
    bool fatal = false;  // a script ended on a fatal error: not all its tables are known
    std::set<std::string> tableFiles;
    com::HRESULT OnError(int32_t, const sql::BStr& errMsg) override {
        std::string text = errMsg.value_or("");
        std::printf("%s\n", text.c_str());
        // Each table written is announced by a line of a tab and its name.
        if (text.size() > 1 && text[0] == '\t') tableFiles.insert(sql::CutText(text.substr(1)));
        if (text.find(" Fatal Errors") != std::string::npos || text.starts_with("Fatal: "))
            fatal = true;
        int count = 0;
        if ((std::sscanf(text.c_str(), "%d Errors", &count) == 1 && count > 0 &&
             text.find(" Errors, ") != std::string::npos) ||
            text.find(" Fatal Errors") != std::string::npos || text == "*** Fail ***" ||
            text.starts_with("Fatal: "))
            failed = true;
        return com::S_OK;
    }
    com::HRESULT OnWarning(const sql::BStr&) override { return com::S_OK; }
};

// Names the table files that stay although the scripts do not define them.
void ReportKeptTables(const std::string& db, const std::vector<std::string>& names,
                      const char* why) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    bool one = names.size() == 1;
    std::fflush(stdout);
    std::fprintf(stderr,
                 "morva-cli: %s: %zu table file%s not defined by these scripts %s kept: %s (%s)\n",
                 db.c_str(), names.size(), one ? "" : "s", one ? "was" : "were", list.c_str(), why);
}

// Removes or reports the table files of `before` that the run did not write. False when a
// file cannot be removed.
bool SettleStaleTables(const std::string& db, const std::string& dbPath,
                       const std::vector<std::string>& before, const LogSink& sink, bool fresh) {
    std::vector<std::string> stale;
    for (const std::string& name : before)
        if (!sink.tableFiles.contains(name)) stale.push_back(name);
    if (stale.empty()) return true;
    if (!fresh) {
        ReportKeptTables(
            db, stale,
            stale.size() == 1 ? "use --fresh to remove it" : "use --fresh to remove them");
        return true;
    }
    // A script that ended on a fatal error wrote none of its tables, so their files would look
    // stale: nothing is removed then.
    if (sink.fatal) {
        ReportKeptTables(db, stale, "a script ended on a fatal error");
        return true;
    }
    for (const std::string& name : stale) {
        std::error_code ec;
        std::filesystem::remove(dbPath + "/" + name, ec);
        if (ec) {
            std::fflush(stdout);
            std::fprintf(stderr, "morva-cli: %s/%s: %s\n", dbPath.c_str(), name.c_str(),
                         ec.message().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int SqlCommand(Context& ctx) {
    bool fresh = TakeFlag(ctx.args, "--fresh");
    bool missing = false;
    std::string dialect = TakeOption(ctx.args, "--dialect", &missing);
    if (missing || (!dialect.empty() && dialect != "classic" && dialect != "auto"))
        return UsageError("--dialect needs classic or auto");
    if (ctx.args.size() < 2) return UsageError("sql needs a database name and SQL files");
    const std::string& db = ctx.args[0];
    std::string error;
    std::optional<std::string> folder = schema::DatabaseFolder(ctx.databaseDir, db, &error);
    if (!folder) return UsageError(error);
    for (size_t i = 1; i < ctx.args.size(); ++i) {
        if (::access(ctx.args[i].c_str(), R_OK) != 0)
            return UsageError(ctx.args[i] + ": cannot read the SQL file");
    }
    com::HRESULT status = com::S_OK;
    auto comp = com::CreateInstance<sql::ISqlComp>(sql::kSqlCompClsid, sql::kSqlCompilerLibrary,
                                                   &error, &status);
    if (!comp) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    if (!dialect.empty() && com::Failed(comp->SetDialect(dialect))) {
        std::fprintf(stderr, "morva-cli: the SQL compiler cannot read the %s dialect\n",
                     dialect.c_str());
        return kExitFailed;
    }
    auto sink = com::MakeObject<LogSink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);

    std::printf("Generate Information to %s\n", db.c_str());
    const std::string& dbPath = *folder;
    if (!sql::EnsureDatabaseFolder(dbPath, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::vector<std::string> before;
    if (!sql::ListTableFiles(dbPath, &before, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    for (size_t i = 1; i < ctx.args.size(); ++i) {
        status = comp->GenerateBy(dbPath, ctx.args[i]);
        if (com::Failed(status)) {
            std::printf("Error detected. [%s]\n", com::StatusText(status).c_str());
            return kExitFailed;
        }
    }
    std::printf("Done.\n");
    comp.As<com::IConnectionPoint>()->Unadvise(cookie);
    if (!SettleStaleTables(db, dbPath, before, *sink, fresh)) return kExitFailed;
    return sink->failed ? kExitFailed : kExitOk;
}

}  // namespace morva::cli

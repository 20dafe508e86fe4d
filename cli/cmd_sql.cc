// morva-cli sql DB FILE...: builds database information from SQL scripts through the
// compiler component, printing the log lines the workbench's run window would show.

#include <unistd.h>

#include <cstdio>

#include "cli/handlers.h"
#include "component/create.h"
#include "sqlcompiler/isqlcomp.h"
#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_folder.h"

namespace morva::cli {
namespace {

// Prints each compiler message as one log line and notes whether any reported a failure.
class LogSink : public com::Object<sql::ISqlCompEvents> {
  public:
    bool failed = false;
    com::HRESULT OnError(int32_t, const sql::BStr& errMsg) override {
        std::string text = errMsg.value_or("");
        std::printf("%s\n", text.c_str());
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

}  // namespace

int SqlCommand(Context& ctx) {
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
    auto sink = com::MakeObject<LogSink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);

    std::printf("Generate Information to %s\n", db.c_str());
    const std::string& dbPath = *folder;
    if (!sql::EnsureDatabaseFolder(dbPath, &error)) {
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
    return sink->failed ? kExitFailed : kExitOk;
}

}  // namespace morva::cli

// morva-cli odbc --list | odbc DSN [--user U] [--password-stdin]: lists the ODBC data
// sources, or builds the database information DSN from a data source's catalogue. A password
// is read from standard input only, so that it never shows in the process list.

#include <cstdio>
#include <iostream>

#include "cli/handlers.h"
#include "component/create.h"
#include "component/message_box.h"
#include "sqlcompiler/isqlcomp.h"
#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_folder.h"

namespace morva::cli {
namespace {

// Prints message lines, collects data source names, notes failures.
class OdbcSink : public com::Object<sql::ISqlCompEvents> {
  public:
    std::vector<std::string> names;
    bool failed = false;
    com::HRESULT OnError(int32_t, const sql::BStr& errMsg) override {
        std::string text = errMsg.value_or("");
        std::printf("%s\n", text.c_str());
        if (text == "*** Fail ***") failed = true;
        return com::S_OK;
    }
    com::HRESULT OnWarning(const sql::BStr& errMsg) override {
        if (errMsg && !errMsg->empty()) names.push_back(*errMsg);
        return com::S_OK;
    }
};

// Message boxes go to standard error as "caption: text", after the log lines printed before
// them; an ODBC error box is remembered.
struct BoxesToStderr {
    bool odbcError = false;
    com::MessageBoxHook previous;
    BoxesToStderr() {
        previous =
            com::SetMessageBoxHook([this](const std::string& text, const std::string& caption,
                                          com::MbIcon, com::MbButtons) {
                std::string shown = text;
                while (!shown.empty() && shown.back() == '\n') shown.pop_back();
                // The log lines before the box may still sit in standard output's buffer;
                // written first, they stay whole lines ahead of it when both streams share a
                // file.
                std::fflush(stdout);
                std::fprintf(stderr, "%s: %s\n", caption.c_str(), shown.c_str());
                if (caption == "ODBC Error!") odbcError = true;
                return com::IDOK;
            });
    }
    ~BoxesToStderr() { com::SetMessageBoxHook(previous); }
};

}  // namespace

int OdbcCommand(Context& ctx) {
    bool list = TakeFlag(ctx.args, "--list");
    bool passwordStdin = TakeFlag(ctx.args, "--password-stdin");
    bool missing = false;
    std::string user = TakeOption(ctx.args, "--user", &missing);
    if (missing) return UsageError("--user needs a value");
    if (list ? !ctx.args.empty() : ctx.args.size() != 1)
        return UsageError("odbc needs --list or one data source name");
    for (const std::string& a : ctx.args)
        if (a.starts_with("-")) return UsageError("unknown option " + a);

    std::string password;
    if (passwordStdin && !std::getline(std::cin, password) && !std::cin.eof())
        return UsageError("cannot read the password from standard input");
    if (!password.empty() && password.back() == '\r') password.pop_back();

    std::string error;
    auto comp =
        com::CreateInstance<sql::ISqlComp>(sql::kSqlCompClsid, sql::kSqlCompilerLibrary, &error);
    if (!comp) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    auto sink = com::MakeObject<OdbcSink>();
    uint32_t cookie = 0;
    comp.As<com::IConnectionPoint>()->Advise(sink.get(), &cookie);
    BoxesToStderr boxes;

    if (list) {
        comp->GetDataSources();
        for (const std::string& name : sink->names) std::printf("%s\n", name.c_str());
    } else {
        const std::string& dsn = ctx.args[0];
        std::optional<std::string> folder = schema::DatabaseFolder(ctx.databaseDir, dsn, &error);
        if (!folder) return UsageError(error);
        const std::string& dbPath = *folder;
        if (!sql::EnsureDatabaseFolder(dbPath, &error)) {
            std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
            return kExitFailed;
        }
        comp->GenerateFromODBCBy(dsn, user, password, dbPath);
        password.assign(password.size(), '\0');
    }
    comp.As<com::IConnectionPoint>()->Unadvise(cookie);
    return boxes.odbcError || sink->failed ? kExitFailed : kExitOk;
}

}  // namespace morva::cli

// morva-cli alias list | alias tables A | alias build A [--table NAME]...

#include <QCoreApplication>
#include <cstdio>

#include "cli/handlers.h"
#include "workbench/alias/build_from_alias.h"

namespace morva::cli {

namespace {

std::optional<alias::Alias> FindAlias(const Context& ctx, const std::string& name) {
    auto a = alias::AliasStore(alias::SettingsPath(ctx.settingsFile)).Find(name);
    if (!a)
        std::fprintf(stderr, "morva-cli: no alias %s (see morva-cli alias list)\n", name.c_str());
    return a;
}

int List(const Context& ctx) {
    for (const alias::Alias& a : alias::AliasStore(alias::SettingsPath(ctx.settingsFile)).List()) {
        std::string where = a.database;
        if (!a.host.empty())
            where += "@" + a.host + (a.port > 0 ? ":" + std::to_string(a.port) : std::string());
        std::printf("%s\t%s\t%s\n", a.name.c_str(), a.driver.c_str(), where.c_str());
    }
    return kExitOk;
}

int Tables(const Context& ctx, const std::string& name) {
    auto a = FindAlias(ctx, name);
    if (!a) return kExitUsage;
    alias::AliasConnection connection;
    std::string error;
    if (!connection.Open(*a, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    for (const std::string& t : connection.Tables()) std::printf("%s\n", t.c_str());
    return kExitOk;
}

int Build(Context& ctx) {
    bool missing = false;
    std::vector<std::string> tables = TakeOptions(ctx.args, "--table", &missing);
    if (missing || ctx.args.size() != 2)
        return UsageError("usage: alias build A [--table NAME]...");
    auto a = FindAlias(ctx, ctx.args[1]);
    if (!a) return kExitUsage;
    std::string error;
    if (tables.empty()) {
        alias::AliasConnection connection;
        if (!connection.Open(*a, &error)) {
            std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
            return kExitFailed;
        }
        tables = connection.Tables();
    }
    if (!schema::TDatabaseInfor::ConfirmNewDatabase(ctx.databaseDir, a->name)) return kExitFailed;
    schema::TDatabaseInfor db;
    if (!alias::BuildFromBde(db, *a, tables, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    if (!db.SaveDatabase(ctx.databaseDir, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("Database %s with %zu tables created\n", a->name.c_str(), db.Tables.size());
    return kExitOk;
}

}  // namespace

int AliasCommand(Context& ctx) {
    // Qt loads its database drivers only inside an application object.
    static int argc = 1;
    static char name[] = "morva-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const std::string sub = ctx.args.empty() ? std::string() : ctx.args[0];
    if (sub == "list" && ctx.args.size() == 1) return List(ctx);
    if (sub == "tables" && ctx.args.size() == 2) return Tables(ctx, ctx.args[1]);
    if (sub == "build") return Build(ctx);
    return UsageError("usage: alias list | alias tables A | alias build A [--table NAME]...");
}

}  // namespace morva::cli

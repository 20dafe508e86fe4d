// morva-cli schema create DB S [--type T] [--label L] [--table NAME]... [--replace] |
// schema list DB

#include <cstdio>
#include <filesystem>

#include "cli/database_access.h"
#include "cli/handlers.h"
#include "component/text_util.h"

namespace morva::cli {

namespace {

/// Leaves only the named tables (exact name first, else ignoring case) selected, each with
/// every column. False after printing the first name that matches no table.
bool SelectTables(schema::TDatabaseInfor& db, const std::vector<std::string>& names) {
    db.SetAllMarks(false);
    for (const std::string& name : names) {
        schema::TTableInfor* table = db.FindTable(name);
        for (auto& t : db.Tables)
            if (!table && com::EqualsIgnoreCase(t.TableName, name)) table = &t;
        if (!table) {
            std::fprintf(stderr, "morva-cli: database %s has no table %s\n", db.Name.c_str(),
                         name.c_str());
            return false;
        }
        table->Selected = true;
        for (int32_t i = 0; i < table->ColumnCount(); ++i) table->ColumnAt(i)->Selected = true;
    }
    return true;
}

int Create(Context& ctx) {
    bool replace = TakeFlag(ctx.args, "--replace");
    bool missing = false;
    std::string type = TakeOption(ctx.args, "--type", &missing);
    std::string label = TakeOption(ctx.args, "--label", &missing);
    std::vector<std::string> tables = TakeOptions(ctx.args, "--table", &missing);
    if (missing) return UsageError("schema create: an option lacks its value");
    if (ctx.args.size() != 3)
        return UsageError("usage: schema create DB S [--type T] ... [--replace]");
    const std::string& dbName = ctx.args[1];
    const std::string& name = ctx.args[2];
    auto db = OpenDatabase(ctx, dbName);
    if (!db) return kExitUsage;
    std::string error;
    std::optional<std::string> path = schema::SchemaFilePath(ctx.databaseDir, dbName, name, &error);
    if (!path) return UsageError(error);
    std::error_code ec;
    bool replacing = std::filesystem::exists(*path, ec);
    // The schema may hold choices made in the workbench since; only --replace drops them.
    if (replacing && !replace)
        return UsageError("schema " + name + " of " + dbName +
                          " already exists; add --replace to replace it");
    if (!tables.empty() && !SelectTables(*db, tables)) return kExitUsage;
    auto s = schema::TSchema::CreateFromDatabase(name, type, label, *db);
    if (!s->Save(ctx.databaseDir, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("Schema %s of %s %s with %zu tables\n", name.c_str(), dbName.c_str(),
                replacing ? "replaced" : "created", s->Tables.size());
    return kExitOk;
}

int List(Context& ctx) {
    if (ctx.args.size() != 2) return UsageError("usage: schema list DB");
    if (!OpenDatabase(ctx, ctx.args[1])) return kExitUsage;
    std::string folder = *schema::DatabaseFolder(ctx.databaseDir, ctx.args[1], nullptr) + "/Schema";
    for (const std::string& n : schema::SchemaNames(folder)) std::printf("%s\n", n.c_str());
    return kExitOk;
}

}  // namespace

int SchemaCommand(Context& ctx) {
    if (!ctx.args.empty() && ctx.args[0] == "create") return Create(ctx);
    if (!ctx.args.empty() && ctx.args[0] == "list") return List(ctx);
    return UsageError(
        "usage: schema create DB S [--type T] [--label L] [--table NAME]... [--replace] | "
        "schema list DB");
}

}  // namespace morva::cli

// morva-cli dump DB [S] [--json]: the database information of DB read back from its table
// files, or its schema S read back from the schema file.

#include <cstdio>

#include "cli/database_access.h"
#include "cli/handlers.h"
#include "sqlcompiler/table_file.h"
#include "sqlcompiler/table_file_dump.h"
#include "workbench/schema/schema_dump.h"

namespace morva::cli {

namespace {

int DumpSchemaCommand(const Context& ctx, bool json) {
    auto schema = OpenSchema(ctx, ctx.args[0], ctx.args[1]);
    if (!schema) return kExitUsage;
    std::string out = json ? schema::DumpSchemaJson(*schema) : schema::DumpSchema(*schema);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace

int DumpCommand(Context& ctx) {
    bool json = TakeFlag(ctx.args, "--json");
    if (ctx.args.size() == 2) return DumpSchemaCommand(ctx, json);
    if (ctx.args.size() != 1) return UsageError("dump needs a database name");
    const std::string& db = ctx.args[0];
    if (!CheckDatabase(ctx, db)) return kExitUsage;
    std::string error;
    std::string folder = *schema::DatabaseFolder(ctx.databaseDir, db, &error);
    std::vector<sql::TableFile> tables;
    if (!sql::LoadDatabaseFolder(folder, &tables, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::string out = json ? sql::DumpTablesJson(db, tables) : sql::DumpTablesText(tables);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace morva::cli

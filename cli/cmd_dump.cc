// morva-cli dump DB [S] [--json]: the database information of DB read back from its table
// files, or its schema S read back from the schema file. The database's JSON also holds its
// schemas, so that `import` can rebuild the whole database from it.

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

// Every schema of database `db` in the order `schema list` shows them. The first schema file
// that cannot be read ends the load with its error.
bool LoadSchemas(const std::string& databaseDir, const std::string& db, const std::string& folder,
                 std::vector<schema::TSchema>* schemas, std::string* error) {
    for (const std::string& name : schema::SchemaNames(folder + "/" + sql::kSchemaFolderName)) {
        error->clear();
        auto s = schema::TSchema::Load(databaseDir, db, name, error);
        if (!error->empty()) return false;
        schemas->push_back(std::move(*s));
    }
    return true;
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
    std::vector<schema::TSchema> schemas;
    if (json && !LoadSchemas(ctx.databaseDir, db, folder, &schemas, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::string out =
        json ? schema::DumpDatabaseJson(db, tables, schemas) : sql::DumpTablesText(tables);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace morva::cli

#include "cli/database_access.h"

#include <cstdio>
#include <filesystem>

namespace morva::cli {

std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const Context& ctx, const std::string& name) {
    std::string folder = schema::DatabaseFolder(ctx.databaseDir, name);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "morva-cli: %s: no such database\n", folder.c_str());
        return nullptr;
    }
    std::string error;
    auto db = schema::TDatabaseInfor::LoadDatabase(ctx.databaseDir, name, &error);
    if (!db) std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
    return db;
}

std::unique_ptr<schema::TSchema> OpenSchema(const Context& ctx, const std::string& db,
                                            const std::string& name) {
    std::string path = schema::SchemaFilePath(ctx.databaseDir, db, name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::fprintf(stderr, "morva-cli: %s: no such schema\n", path.c_str());
        return nullptr;
    }
    std::string error;
    auto s = schema::TSchema::LoadFrom(path, &error);
    if (!error.empty()) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return nullptr;
    }
    return s;
}

}  // namespace morva::cli

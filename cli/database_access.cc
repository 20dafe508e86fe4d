#include "cli/database_access.h"

#include <cstdio>
#include <filesystem>

namespace morva::cli {

std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const Context& ctx, const std::string& name) {
    std::string error;
    std::optional<std::string> folder = schema::DatabaseFolder(ctx.databaseDir, name, &error);
    if (!folder) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(*folder, ec)) {
        std::fprintf(stderr, "morva-cli: %s: no such database\n", folder->c_str());
        return nullptr;
    }
    auto db = schema::TDatabaseInfor::LoadDatabase(ctx.databaseDir, name, &error);
    if (!db) std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
    return db;
}

std::unique_ptr<schema::TSchema> OpenSchema(const Context& ctx, const std::string& db,
                                            const std::string& name) {
    std::string error;
    std::optional<std::string> path = schema::SchemaFilePath(ctx.databaseDir, db, name, &error);
    if (!path) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*path, ec)) {
        std::fprintf(stderr, "morva-cli: %s: no such schema\n", path->c_str());
        return nullptr;
    }
    auto s = schema::TSchema::LoadFrom(*path, &error);
    if (!error.empty()) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return nullptr;
    }
    return s;
}

}  // namespace morva::cli

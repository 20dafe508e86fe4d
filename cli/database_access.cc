#include "cli/database_access.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "component/text_util.h"
#include "workbench/schema/database_folder.h"

namespace morva::cli {

namespace {

/// "A, B, C".
std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
}

/// "morva-cli: no KIND "NAME" in WHERE; KINDs: A, B" on standard error.
void ReportUnknown(const std::string& kind, const std::string& name, const std::string& where,
                   const std::vector<std::string>& known) {
    std::string list = known.empty() ? "there are none" : kind + "s: " + JoinNames(known);
    std::fprintf(stderr, "morva-cli: no %s \"%s\" in %s; %s\n", kind.c_str(), name.c_str(),
                 where.c_str(), list.c_str());
}

}  // namespace

std::vector<std::string> DatabaseNames(const std::string& databaseDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(databaseDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code kind;
        if (!name.empty() && name[0] != '.' && it->is_directory(kind)) names.push_back(name);
    }
    // Ignoring case as the workbench lists them; ties by the bytes so the order is stable.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = com::ToUpperAscii(a), ub = com::ToUpperAscii(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

bool CheckDatabase(const Context& ctx, const std::string& name) {
    std::string error;
    if (!schema::DatabaseFolder(ctx.databaseDir, name, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return false;
    }
    std::vector<std::string> names = DatabaseNames(ctx.databaseDir);
    if (std::find(names.begin(), names.end(), name) != names.end()) return true;
    ReportUnknown("database", name, ctx.databaseDir, names);
    return false;
}

std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const Context& ctx, const std::string& name) {
    if (!CheckDatabase(ctx, name)) return nullptr;
    std::string error;
    auto db = schema::TDatabaseInfor::LoadDatabase(ctx.databaseDir, name, &error);
    if (!db) std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
    return db;
}

std::unique_ptr<schema::TSchema> OpenSchema(const Context& ctx, const std::string& db,
                                            const std::string& name) {
    if (!CheckDatabase(ctx, db)) return nullptr;
    std::string error;
    std::optional<std::string> path = schema::SchemaFilePath(ctx.databaseDir, db, name, &error);
    if (!path) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*path, ec)) {
        std::string folder = *schema::DatabaseFolder(ctx.databaseDir, db, &error);
        ReportUnknown("schema", name, db, schema::SchemaNames(folder + "/Schema"));
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

// morva-cli import DB FILE.json [--replace] [--keep-dangling]: builds the database information DB,
// its table files and its schema files, from the JSON that `dump DB --json` writes. The whole file
// is read and checked before anything is written; the database is then built in a hidden folder
// beside the others and moved into place in one step, so that a failure leaves no part of it
// and a replaced database is never seen half old, half new.

#include <fcntl.h>
#include <stdio.h>   // renameat2
#include <stdlib.h>  // mkdtemp

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/handlers.h"
#include "cli/json_model.h"
#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_folder.h"

namespace morva::cli {
namespace {

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || in.bad()) {
        *error = path + ": cannot read the JSON file";
        return false;
    }
    *text = std::move(bytes).str();
    return true;
}

// Writes the tables and schemas of `model` into the new database folder `folder` (named
// `name` below `databaseDir`), through the table file writer and the schema library.
bool WriteDatabase(const std::string& databaseDir, const std::string& name,
                   const std::string& folder, const std::string& db, const JsonModel& model,
                   std::string* error) {
    if (!sql::EnsureDatabaseFolder(folder, error)) return false;
    sql::TableFileBatch batch(folder);
    for (const sql::TableFile& t : model.tables)
        if (!batch.Add(t, error)) return false;
    if (!batch.Commit(error)) return false;
    for (schema::TSchema s : model.schemas) {
        // A schema belongs to the database it is imported into.
        s.DbName = db;
        std::optional<std::string> path = schema::SchemaFilePath(databaseDir, name, s.Name, error);
        if (!path || !s.SaveTo(*path, error)) return false;
    }
    return true;
}

// Trades the places of the folders `from` and `to`. Where the file system cannot do that in
// one step, `to` is first moved aside to `from`-old.
bool Exchange(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    std::string aside = from + "-old";
    if (::rename(to.c_str(), aside.c_str()) != 0) return false;
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    int saved = errno;
    ::rename(aside.c_str(), to.c_str());
    errno = saved;
    return false;
}

// Moves the folder `from` to `to`; with `replace` the previous `to` ends up at `from`.
bool MoveIntoPlace(const std::string& from, const std::string& to, bool replace,
                   std::string* error) {
    bool moved = replace ? Exchange(from, to) : ::rename(from.c_str(), to.c_str()) == 0;
    if (!moved) *error = to + ": " + std::strerror(errno);
    return moved;
}

// Builds database `db` from `model`: in a hidden folder of the database folder first, which
// then takes the place of the database's folder.
bool Import(const std::string& databaseDir, const std::string& db, const std::string& folder,
            const JsonModel& model, bool replace, std::string* error) {
    std::error_code ec;
    fs::create_directories(databaseDir, ec);
    std::string pattern = databaseDir + "/.morva-import-XXXXXX";
    if (ec || !::mkdtemp(pattern.data())) {
        *error = databaseDir + ": " + (ec ? ec.message() : std::strerror(errno));
        return false;
    }
    std::string staging = pattern;
    std::string stagingName = fs::path(staging).filename().string();
    bool ok = WriteDatabase(databaseDir, stagingName, staging, db, model, error) &&
              MoveIntoPlace(staging, folder, replace, error);
    fs::remove_all(staging, ec);
    fs::remove_all(staging + "-old", ec);
    return ok;
}

}  // namespace

int ImportCommand(Context& ctx) {
    bool replace = TakeFlag(ctx.args, "--replace");
    bool keepDangling = TakeFlag(ctx.args, "--keep-dangling");
    if (ctx.args.size() != 2)
        return UsageError("usage: import DB FILE.json [--replace] [--keep-dangling]");
    const std::string& db = ctx.args[0];
    const std::string& file = ctx.args[1];
    std::string error;
    std::optional<std::string> folder = schema::DatabaseFolder(ctx.databaseDir, db, &error);
    if (!folder) return UsageError(error);
    std::string text;
    if (!ReadWholeFile(file, &text, &error)) return UsageError(error);
    JsonModel model;
    if (!ReadJsonModel(text, &model, &error, keepDangling)) return UsageError(file + ": " + error);
    std::error_code ec;
    bool exists = fs::exists(*folder, ec);
    // The database may hold changes made since the JSON was written; only --replace drops them.
    if (exists && !replace)
        return UsageError("database " + db + " already exists; add --replace to replace it");
    if (!Import(ctx.databaseDir, db, *folder, model, exists, &error)) {
        std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("Database %s %s with %zu tables and %zu schemas\n", db.c_str(),
                exists ? "replaced" : "created", model.tables.size(), model.schemas.size());
    return kExitOk;
}

}  // namespace morva::cli

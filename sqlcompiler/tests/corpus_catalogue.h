#pragma once
// What a real database engine makes of a creation script: the script is loaded into the engine
// and its tables, columns, indexes and foreign keys are read back from the engine's catalogue.

#include <string>
#include <vector>

#include "sqlcompiler/tests/corpus_model.h"
#include "tests/support/postgres_server.h"

namespace morva::sql::corpus {

/// Runs `script` in a new in-memory SQLite database and reads its tables back. False with
/// SQLite's message in `error` when the script does not run.
bool TablesFromSqlite(const std::string& script, std::vector<Table>* tables, std::string* error);

/// Creates `database` on `server`, creates the roles the script hands objects to, runs the
/// script at `path` with psql and reads the tables back. False with the reason in `error`.
bool TablesFromPostgres(morva::testing::PostgresServer& server, const std::string& database,
                        const std::string& path, std::vector<Table>* tables, std::string* error);

}  // namespace morva::sql::corpus

#include "sqlcompiler/tests/corpus_catalogue.h"

#include <sqlite3.h>

#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace morva::sql::corpus {
namespace {

using Row = std::vector<std::string>;

// Every row of `sql`, each value as text ("" for NULL).
std::vector<Row> Rows(sqlite3* db, const std::string& sql) {
    std::vector<Row> rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* text = sqlite3_column_text(stmt, i);
            row.push_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    return rows;
}

std::string SqliteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Columns of `table` that an index covers (primary key, unique constraints, CREATE INDEX).
std::set<std::string> SqliteIndexedColumns(sqlite3* db, const std::string& table) {
    std::set<std::string> columns;
    for (const Row& c : Rows(db, "PRAGMA table_info(" + SqliteName(table) + ")"))
        if (c[5] != "0") columns.insert(c[1]);
    for (const Row& index : Rows(db, "PRAGMA index_list(" + SqliteName(table) + ")"))
        for (const Row& c : Rows(db, "PRAGMA index_info(" + SqliteName(index[1]) + ")"))
            if (!c[2].empty()) columns.insert(c[2]);  // expressions have no column name
    return columns;
}

// The primary key columns of `table` in key order, for references that name no columns.
std::vector<std::string> SqlitePrimaryKey(sqlite3* db, const std::string& table) {
    std::map<int, std::string> key;
    for (const Row& c : Rows(db, "PRAGMA table_info(" + SqliteName(table) + ")"))
        if (c[5] != "0") key[std::stoi(c[5])] = c[1];
    std::vector<std::string> columns;
    for (const auto& k : key) columns.push_back(k.second);
    return columns;
}

std::vector<Reference> SqliteReferences(sqlite3* db, const std::string& table) {
    // Rows come grouped by constraint id and ordered by their position in it.
    std::map<int, Reference> groups;
    for (const Row& fk : Rows(db, "PRAGMA foreign_key_list(" + SqliteName(table) + ")")) {
        int id = std::stoi(fk[0]);
        groups[id].master = fk[2];
        groups[id].pairs.emplace_back(fk[4], fk[3]);
    }
    std::vector<Reference> refs;
    for (auto& [id, ref] : groups) {
        std::vector<std::string> key = SqlitePrimaryKey(db, ref.master);
        for (size_t i = 0; i < ref.pairs.size(); ++i)
            if (ref.pairs[i].first.empty() && i < key.size()) ref.pairs[i].first = key[i];
        refs.push_back(ref);
    }
    return refs;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    if (!line.empty() && line.back() == separator) fields.push_back("");
    return fields;
}

// Role names the script hands objects or rights to, so that they can exist before it runs.
std::set<std::string> RolesNamedIn(const std::string& script) {
    static const std::regex owner(
        R"((?:OWNER\s+TO|GRANT\s[^;]*?\sTO)\s+"?([A-Za-z_][A-Za-z0-9_$]*))", std::regex::icase);
    std::set<std::string> roles;
    for (auto it = std::sregex_iterator(script.begin(), script.end(), owner);
         it != std::sregex_iterator(); ++it) {
        std::string role = (*it)[1];
        std::string upper;
        for (char c : role) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != "PUBLIC" && upper != "CURRENT_USER" && upper != "SESSION_USER")
            roles.insert(role);
    }
    return roles;
}

constexpr const char* kPostgresColumns = R"sql(
SELECT c.relname, a.attname,
       CASE WHEN t.typtype = 'd' THEN format_type(t.typbasetype, t.typtypmod)
            ELSE format_type(a.atttypid, a.atttypmod) END,
       EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = c.oid AND a.attnum = ANY (i.indkey))
FROM pg_class c
JOIN pg_namespace n ON n.oid = c.relnamespace
JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped
JOIN pg_type t ON t.oid = a.atttypid
WHERE c.relkind IN ('r', 'p') AND n.nspname NOT IN ('pg_catalog', 'information_schema')
  AND n.nspname NOT LIKE 'pg_toast%'
ORDER BY c.oid, a.attnum)sql";

constexpr const char* kPostgresReferences = R"sql(
SELECT c.relname, con.oid, m.relname, ma.attname, la.attname
FROM pg_constraint con
JOIN pg_class c ON c.oid = con.conrelid
JOIN pg_class m ON m.oid = con.confrelid
CROSS JOIN LATERAL unnest(con.conkey, con.confkey) WITH ORDINALITY AS k(l, r, ord)
JOIN pg_attribute la ON la.attrelid = c.oid AND la.attnum = k.l
JOIN pg_attribute ma ON ma.attrelid = m.oid AND ma.attnum = k.r
WHERE con.contype = 'f' AND con.conparentid = 0
ORDER BY c.oid, con.oid, k.ord)sql";

}  // namespace

bool TablesFromSqlite(const std::string& script, std::vector<Table>* tables, std::string* error) {
    sqlite3* raw = nullptr;
    if (sqlite3_open(":memory:", &raw) != SQLITE_OK) {
        *error = "cannot open an SQLite database";
        sqlite3_close(raw);
        return false;
    }
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
    char* message = nullptr;
    if (sqlite3_exec(db.get(), script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        *error = std::string("SQLite: ") + (message ? message : "error");
        sqlite3_free(message);
        return false;
    }
    for (const Row& t : Rows(db.get(),
                             "SELECT name FROM sqlite_schema WHERE type = 'table' "
                             "AND name NOT LIKE 'sqlite_%' ORDER BY rowid")) {
        Table table{t[0], {}, SqliteReferences(db.get(), t[0])};
        std::set<std::string> indexed = SqliteIndexedColumns(db.get(), t[0]);
        for (const Row& c : Rows(db.get(), "PRAGMA table_info(" + SqliteName(t[0]) + ")"))
            table.columns.push_back({c[1], TypeText(Canonical(c[2])), indexed.count(c[1]) > 0});
        tables->push_back(table);
    }
    return true;
}

bool TablesFromPostgres(morva::testing::PostgresServer& server, const std::string& database,
                        const std::string& path, std::vector<Table>* tables, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!server.RunSql("postgres", "CREATE DATABASE " + database, error)) return false;
    for (const std::string& role : RolesNamedIn(script))
        if (!server.RunSql(database,
                           "DO $$BEGIN CREATE ROLE " + role +
                               "; EXCEPTION WHEN duplicate_object THEN NULL; END$$",
                           error))
            return false;
    if (!server.RunSqlFile(database, path, error)) return false;
    std::string output;
    if (!server.Query(database, kPostgresColumns, &output)) {
        *error = output;
        return false;
    }
    std::map<std::string, size_t> index;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        Row f = Split(line, '|');
        if (f.size() != 4) continue;
        if (!index.count(f[0])) {
            index[f[0]] = tables->size();
            tables->push_back({f[0], {}, {}});
        }
        (*tables)[index[f[0]]].columns.push_back({f[1], TypeText(Canonical(f[2])), f[3] == "t"});
    }
    if (!server.Query(database, kPostgresReferences, &output)) {
        *error = output;
        return false;
    }
    std::string lastConstraint;
    std::istringstream refs(output);
    for (std::string line; std::getline(refs, line);) {
        Row f = Split(line, '|');
        if (f.size() != 5 || !index.count(f[0])) continue;
        Table& table = (*tables)[index[f[0]]];
        if (f[1] != lastConstraint) table.references.push_back({f[2], {}});
        lastConstraint = f[1];
        table.references.back().pairs.emplace_back(f[3], f[4]);
    }
    return true;
}

}  // namespace morva::sql::corpus

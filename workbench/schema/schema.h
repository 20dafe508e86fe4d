#pragma once
// A schema: the user's selection over one database (tables in engine order, their chosen
// columns with type and label texts, and their references), and its schema file.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/schema/database_infor.h"
#include "workbench/schema/ref_tables.h"

namespace morva::tpx {
class IMorva;
class StoreBuilder;
}  // namespace morva::tpx

namespace morva::schema {

/// Schema files start with the same two values as table files.
inline constexpr int32_t kSchemaMagic = 19640630;  // 0x012BB136
inline constexpr int32_t kSchemaVersion = 0x01000000;

/// One chosen table. The three column lists always have the same length.
struct TSchemaInfor {
    std::string TableName;
    std::string TableType;
    std::string TableLabel;
    TRefTables RefTables;
    std::vector<std::string> ColumnNames;
    std::vector<std::string> ColumnTypes;
    std::vector<std::string> ColumnLabels;

    /// The table's texts and references, and its selected columns in order.
    static TSchemaInfor FromTable(const TTableInfor& table);
    /// Appends one column to the three lists.
    void AppendColumn(std::string_view name, std::string_view type, std::string_view label);
    /// Removes entry `index` from the three lists.
    void RemoveColumn(size_t index);
    /// Index of the column named `name` ignoring case, or -1.
    int FindColumnIgnoringCase(std::string_view name) const;

    bool operator==(const TSchemaInfor&) const = default;
};

class TSchema {
  public:
    std::string Name;
    std::string SchemaType;
    std::string SchemaLabel;
    std::string DbName;
    std::vector<TSchemaInfor> Tables;

    /// A schema of every selected table of `db`, in database order, named `name`.
    static std::unique_ptr<TSchema> CreateFromDatabase(std::string_view name, std::string_view type,
                                                       std::string_view label,
                                                       const TDatabaseInfor& db);
    /// Reads the schema file `databaseDir`/`dbName`/Schema/`name`.CSF. Always returns a
    /// schema: on failure it holds what was read before the error (empty when the header was
    /// wrong) and `error` says why ("Invalid file format(%s)" or the file error).
    static std::unique_ptr<TSchema> Load(const std::string& databaseDir, const std::string& dbName,
                                         const std::string& name, std::string* error);
    /// Reads the schema file at `path`, as Load.
    static std::unique_ptr<TSchema> LoadFrom(const std::string& path, std::string* error);
    /// Parses schema file bytes into `schema`; false when the header is wrong or the bytes end
    /// early or run on. `schema` then holds the tables read before the fault.
    static bool Decode(std::string_view bytes, TSchema* schema);

    /// A deep copy.
    std::unique_ptr<TSchema> Copy() const { return std::make_unique<TSchema>(*this); }
    /// Replaces this schema's tables by copies of `other`'s; the identity stays.
    void AssignTables(const TSchema& other) { Tables = other.Tables; }
    /// Brings the tables in line with the selection marks of `db` (see schema.cc).
    void Synchronise(const TDatabaseInfor& db);
    /// Marks and labels `db` from this schema. Stops at the first table or column that `db`
    /// lacks with false and the reason; what was applied before stays.
    bool ApplyToDatabase(TDatabaseInfor& db, std::string* error) const;
    /// Index of the first table named exactly `name`, or -1.
    int FindTable(std::string_view name) const;

    /// Copies this schema, completed with the column facts of `db` (the database it belongs
    /// to), into the engine's store: the database, then every table with its columns, then the
    /// references, then the lookups. Empty texts travel as null strings. Throws com::ComError
    /// with the status's text when an engine call fails, and std::runtime_error when `db`
    /// lacks a table or column of the schema; the engine keeps what it received before.
    void SendToEngine(tpx::IMorva& engine, const TDatabaseInfor& db) const;
    /// The same calls, into a store builder without an engine control.
    void SendToEngine(tpx::StoreBuilder& store, const TDatabaseInfor& db) const;

    /// The schema file's bytes.
    std::string Encode() const;
    /// Writes the schema file to its standard path, replacing any file there atomically. A
    /// schema or database name that could leave its folder ("/", ".", "..", empty) is refused;
    /// Load and Delete refuse such names too.
    bool Save(const std::string& databaseDir, std::string* error) const;
    /// Writes the schema file to `path`, replacing any file there atomically.
    bool SaveTo(const std::string& path, std::string* error) const;
    /// Deletes the schema file at its standard path.
    bool Delete(const std::string& databaseDir, std::string* error) const;

    bool operator==(const TSchema&) const = default;
};

/// Hands every selected table of `db` with its selected columns to `store`: the calls that
/// CreateFromDatabase("", "", "", db)->SendToEngine(store, db) makes, read from `db` in place
/// instead of from a copy of its texts. Fails as SendToEngine does.
void SendDatabaseToEngine(tpx::StoreBuilder& store, const TDatabaseInfor& db);

/// "databaseDir/dbName/Schema/name.CSF", the database folder made by DatabaseFolder. Nothing,
/// with "'dbName/name' cannot name a schema file" in `error`, when either name could leave its
/// folder.
std::optional<std::string> SchemaFilePath(const std::string& databaseDir, const std::string& dbName,
                                          const std::string& name, std::string* error);
/// The schema names stored in the headers of the ".CSF" files of `folder` (extension case
/// ignored), in name order ignoring case; unreadable files and wrong headers are skipped.
std::vector<std::string> SchemaNames(const std::string& folder);

}  // namespace morva::schema

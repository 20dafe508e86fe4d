#pragma once
// Database aliases: named connection descriptions kept in the settings store, and what an
// alias offers the database information build: its tables and each table's fields.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "workbench/alias/field_types.h"

namespace morva::alias {

/// A named connection: Qt SQL driver ("QSQLITE", "QPSQL" or "QODBC"), database (a file for
/// SQLite, a database or data source name otherwise), host, port and user.
struct Alias {
    std::string name;
    std::string driver;
    std::string database;
    std::string host;
    int port = 0;
    std::string user;
    std::string password;

    bool operator==(const Alias&) const = default;
};

/// One field of a table, with the facts the build records.
struct FieldInfo {
    std::string name;
    FieldType type = FieldType::ftUnknown;
    int size = 0;
    int precision = 0;
    std::string displayLabel;  // the name when the database gives no label
    int displayWidth = 0;
    bool indexed = false;  // part of the primary key or of an index of the table

    bool operator==(const FieldInfo&) const = default;
};

/// Name of the built-in alias of the sample database.
inline constexpr const char* kDefaultAliasName = "ORDERENTRY";

/// The sample database's alias: SQLite, the file $MORVA_SAMPLE_DATABASE names, else the
/// one the build made, else the one installed in ../share/morva beside the program.
Alias DefaultAlias();

/// The settings file: `settingsFile` when given, else $MORVA_SETTINGS, else the user's
/// configuration folder's "Morva/Morva.ini".
std::string SettingsPath(const std::string& settingsFile);

/// Aliases in the settings store, group "Morva Software/Morva/1.0/Aliases".
class AliasStore {
  public:
    explicit AliasStore(std::string settingsPath) : path_(std::move(settingsPath)) {}
    /// The default alias first (unless the store holds one of its name), then the stored
    /// aliases sorted by name.
    std::vector<Alias> List() const;
    /// The alias named `name` (letter case ignored), or nothing.
    std::optional<Alias> Find(const std::string& name) const;
    /// Adds or replaces an alias. False with the reason when the store cannot be written.
    bool Save(const Alias& alias, std::string* error) const;
    /// Removes a stored alias; false when there is none of that name.
    bool Remove(const std::string& name) const;

  private:
    std::string path_;
};

/// An open connection through an alias.
class AliasConnection {
  public:
    AliasConnection();
    ~AliasConnection();
    AliasConnection(const AliasConnection&) = delete;
    AliasConnection& operator=(const AliasConnection&) = delete;

    /// Opens the connection. False with the driver's reason naming the alias.
    bool Open(const Alias& alias, std::string* error);
    /// The table names of the database, user tables only, in name order.
    std::vector<std::string> Tables() const;
    /// The fields of `table` in field order. False with the reason when it cannot be read.
    bool Fields(const std::string& table, std::vector<FieldInfo>* fields, std::string* error) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace morva::alias

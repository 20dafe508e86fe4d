#pragma once
// The workbench's model of one database's information: every table with its columns as the
// table files describe them, plus a selection mark on each table and column.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/schema/database_folder.h"
#include "workbench/schema/ref_tables.h"

namespace morva::schema {

/// Column flags, as in the table files and the engine.
inline constexpr int32_t kColumnKey = 1;
inline constexpr int32_t kColumnReadOnly = 2;

/// One column of a table. Texts hold at most 255 bytes.
struct ColumnRecord {
    bool Selected = false;
    std::string Name;
    std::string Type;  // "Key", "Normal", "Ref", "RefTop" or a user text
    std::string Label;
    std::string DataType;  // SQL type name
    int32_t Length = 0;
    int32_t DisplayWidth = 0;
    int32_t Flags = 0;
    int32_t Precision = 0;
    int32_t Scale = 0;
    std::string LookupTable;
    std::string LookupColumn;
    std::string LookupKey;
    std::vector<std::string> LookupItems;

    bool operator==(const ColumnRecord&) const = default;
};

/// One table: its texts, mark, references and a column store sized once for its capacity.
class TTableInfor {
  public:
    explicit TTableInfor(int32_t capacity = 0) : capacity_(capacity < 0 ? 0 : capacity) {
        columns_.reserve(static_cast<size_t>(capacity_));
    }

    std::string TableName;
    std::string TableType;
    std::string TableLabel;
    bool Selected = true;
    TRefTables RefTables;

    int32_t Capacity() const { return capacity_; }
    int32_t ColumnCount() const { return static_cast<int32_t>(columns_.size()); }
    /// Fills the next column record when the count is below the capacity; else does nothing
    /// and returns null. Texts are cut to 255 bytes; lookup data starts empty.
    ColumnRecord* AddColumn(bool selected, std::string_view name, std::string_view type,
                            std::string_view label, std::string_view dataType, int32_t length,
                            int32_t displayWidth, int32_t flags, int32_t precision, int32_t scale);
    /// Adds `column` as the next record, as the other overload does, its lookup data kept.
    ColumnRecord* AddColumn(ColumnRecord&& column);
    /// The column at `index`, or null outside 0..count-1.
    ColumnRecord* ColumnAt(int32_t index);
    const ColumnRecord* ColumnAt(int32_t index) const;
    /// The first column whose name equals `name` exactly, or null.
    ColumnRecord* FindColumn(std::string_view name);
    const ColumnRecord* FindColumn(std::string_view name) const;
    int32_t CountSelectedColumns() const;
    const std::vector<ColumnRecord>& columns() const { return columns_; }

    bool operator==(const TTableInfor&) const = default;

  private:
    int32_t capacity_;
    std::vector<ColumnRecord> columns_;
};

/// The information of one database: its name (also its folder name) and its tables in order.
class TDatabaseInfor {
  public:
    std::string Name;
    std::vector<TTableInfor> Tables;

    /// Reads every table file of `databaseDir`/`name` in listing order, every table and column
    /// selected. Null with the error ("Invalid file format(%s)" naming the file, or the file
    /// error) when a file cannot be read, the folder cannot be listed or `name` is refused by
    /// DatabaseFolder.
    static std::unique_ptr<TDatabaseInfor> LoadDatabase(const std::string& databaseDir,
                                                        const std::string& name,
                                                        std::string* error);
    /// Writes every table into `databaseDir`/Name (made when missing) as one atomic batch;
    /// false with the reason in `error` when a file cannot be written or Name is refused by
    /// DatabaseFolder.
    bool SaveDatabase(const std::string& databaseDir, std::string* error) const;
    /// True when `databaseDir`/`name` does not exist (or `name` names no database folder), or
    /// when the user answers Yes to "Database %s already exist. Continue anyway ?" asked
    /// through the message-box hook.
    static bool ConfirmNewDatabase(const std::string& databaseDir, const std::string& name);
    /// Deletes the schema files and the "Schema" folder, then the table files and the database
    /// folder. False with the reason on the first failure (what was deleted stays deleted) or
    /// when `name` is refused by DatabaseFolder.
    static bool DeleteDatabaseFolder(const std::string& databaseDir, const std::string& name,
                                     std::string* error);

    /// The first table whose name equals `name` exactly, or null.
    TTableInfor* FindTable(std::string_view name);
    const TTableInfor* FindTable(std::string_view name) const;
    /// Sets the mark of every table and of every column to `selected`.
    void SetAllMarks(bool selected);
    static void SetTableType(TTableInfor& table, std::string_view text);
    static void SetTableLabel(TTableInfor& table, std::string_view text);
    void Clear() { Tables.clear(); }

    bool operator==(const TDatabaseInfor&) const = default;
};

}  // namespace morva::schema

#pragma once
// The table file: one binary file per table in a database information folder. The compiler
// writes it from its model, the workbench reads it into its own model and writes it back.
// Texts are one length byte and up to 255 bytes; integers are 32-bit little-endian.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "component/atomic_file.h"
#include "component/binary_fields.h"

namespace morva::sql {

inline constexpr int32_t kTableMagic = 19640630;      // 0x012BB136
inline constexpr int32_t kTableVersion = 0x01000000;  // 16777216
inline constexpr size_t kMaxTextBytes = 255;          // longest text a length byte allows
inline constexpr const char* kSchemaFolderName = "Schema";

/// One column entry of a table file.
struct ColumnEntry {
    std::string name;
    std::string type;  // role: "Normal", "Key", "RefTop", "Ref" or a user text
    std::string label;
    std::string dataType;  // SQL type name, "VARCHAR", "INTEGER", ...
    int32_t length = 0;
    int32_t displayWidth = 0;
    int32_t flags = 0;  // bit 0 key column, bit 1 computed (read-only) column
    int32_t precision = 0;
    int32_t scale = 0;
    std::string lookupTable;
    std::string lookupColumn;
    std::string lookupKey;
    std::vector<std::string> lookupItems;

    bool operator==(const ColumnEntry&) const = default;
};

/// One column pair of a reference group: the master table's column, then this table's.
struct RefPairEntry {
    std::string masterColumn;
    std::string localColumn;

    bool operator==(const RefPairEntry&) const = default;
};

/// A reference from the table to the master table `masterTable`.
struct RefGroupEntry {
    std::string masterTable;
    std::vector<RefPairEntry> pairs;

    bool operator==(const RefGroupEntry&) const = default;
};

/// Everything one table file holds. The file repeats the column count; the writer writes
/// columns.size() twice and the reader keeps the second count only.
struct TableFile {
    std::string name;
    std::string type;  // role: "", "Sub", "Master", "SubMaster", "MasterSub" or a user text
    std::string label;
    std::vector<ColumnEntry> columns;
    std::vector<RefGroupEntry> groups;

    bool operator==(const TableFile&) const = default;
};

/// The first `max` bytes of `text` at most, never ending inside a UTF-8 sequence.
std::string CutText(std::string_view text, size_t max = kMaxTextBytes);

/// Writes the bytes of a table file part by part in the file's order: the table's texts and
/// column count, each column, the group count, then each group followed by its pairs. Every
/// text is cut with CutText. A writer that holds its tables in another form encodes them this
/// way without first copying them into a TableFile.
class TableFileEncoder {
  public:
    TableFileEncoder(std::string_view name, std::string_view type, std::string_view label,
                     size_t columns);
    void Column(const ColumnEntry& column);
    void GroupCount(size_t groups);
    void Group(std::string_view masterTable, size_t pairs);
    void Pair(const RefPairEntry& pair);
    /// The bytes written so far; the encoder is empty afterwards.
    std::string Take();

  private:
    void Count(size_t n);
    com::FieldWriter out_;
};

/// The bytes of a table file for `table`; every text is cut with CutText.
std::string EncodeTableFile(const TableFile& table);
/// Parses `bytes` into `table`. False when the magic or the version differs, when any length
/// runs past the end or when a count is negative. Bytes after the last group are ignored.
bool DecodeTableFile(std::string_view bytes, TableFile* table);

/// Reads the table file at `path`. On failure `error` holds "Invalid file format(path)" for a
/// file that is no table file, or "path: reason" when it cannot be read.
bool ReadTableFile(const std::string& path, TableFile* table, std::string* error);

/// Writes table files into one folder, each under its table's name (cut as in the file), as
/// one atomic and durable batch: Add writes a temporary file per table, Commit syncs once and
/// renames them all over the previous copies. What is not committed is never written.
class TableFileBatch {
  public:
    explicit TableFileBatch(std::string folder);
    /// Writes the temporary file for `table`. Fails with a reason in `error` when the name
    /// could leave the folder ("/" in it, ".", "..", empty), the folder does not exist or the
    /// file cannot be written; never creates the folder.
    bool Add(const TableFile& table, std::string* error);
    /// Writes the temporary file of a table named `name` (cut with CutText) with the table
    /// file `bytes`, with the checks and failures of the other overload.
    bool Add(std::string_view name, std::string_view bytes, std::string* error);
    /// Replaces the files added so far. False with "path: reason" on failure.
    bool Commit(std::string* error);

  private:
    std::string folder_;
    com::AtomicFileBatch files_;
};

/// Writes `table` to `folder`/name through a batch of one.
bool WriteTableFileTo(const std::string& folder, const TableFile& table, std::string* error);

/// The plain files of `folder` (folders excluded), sorted by name ignoring ASCII letter case.
/// Temporary files of interrupted saves are never listed; those no save is using are removed.
/// False with a reason when the folder cannot be listed.
bool ListTableFiles(const std::string& folder, std::vector<std::string>* names, std::string* error);

/// Reads every table file of `folder` in listing order. The first file that fails ends the
/// load with its error; `tables` then holds the tables read before it.
bool LoadDatabaseFolder(const std::string& folder, std::vector<TableFile>* tables,
                        std::string* error);

/// Makes sure `folder` and its "Schema" subfolder exist. False with a reason on failure.
bool EnsureDatabaseFolder(const std::string& folder, std::string* error);

/// Writes every table into `folder` (ensured first) as one batch; a table that cannot be
/// written stops the save before any file is replaced.
bool SaveDatabaseFolder(const std::string& folder, const std::vector<TableFile>& tables,
                        std::string* error);

/// Deletes the files of the "Schema" subfolder, that subfolder, the files of `folder` and
/// `folder` itself. Stops at the first failure with a reason; what was deleted stays deleted.
bool DeleteDatabaseFolder(const std::string& folder, std::string* error);

}  // namespace morva::sql

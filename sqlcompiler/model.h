#pragma once
// The database model that one compilation builds: tables in script (or catalogue) order with
// their columns and reference groups, plus the pseudo-table of domains.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morva::sql {

inline constexpr int32_t kFlagKey = 1;
inline constexpr int32_t kFlagComputed = 2;

struct ColumnDef {
    std::string name;  // upper case
    std::string type = "Normal";
    std::string label;     // empty until a comment sets it
    std::string dataType;  // SQL type name as recorded
    int32_t length = 0;
    int32_t displayWidth = 0;  // never set by the compiler
    int32_t flags = 0;
    int32_t precision = 0;
    int32_t scale = 0;
    std::vector<std::string> lookupItems;

    /// Marks the column as a key: flags exactly 1 (clearing the computed bit), type "Key".
    void MarkKey();
};

struct RefPair {
    std::string masterColumn;  // upper case
    std::string localColumn;   // upper case
};

struct RefGroup {
    std::string masterTable;  // upper case
    std::vector<RefPair> pairs;

    /// Adds the pair unless the group already holds an equal one.
    void AddPair(std::string masterColumn, std::string localColumn);
};

struct TableDef {
    std::string name;   // upper case
    std::string type;   // "", "Sub", "Master", "SubMaster" or "MasterSub"
    std::string label;  // the name as written, or the table comment
    std::vector<std::unique_ptr<ColumnDef>> columns;
    std::vector<RefGroup> references;

    /// The first column whose upper-cased name equals the upper-cased `name`, or null.
    ColumnDef* FindColumn(std::string_view name) const;
    /// Adds `word` to the type unless the type already contains it.
    void AppendType(std::string_view word);
};

/// The tables of one compilation and its domains.
struct Model {
    std::vector<std::unique_ptr<TableDef>> tables;
    TableDef domains{"Domains", "", "Domains", {}, {}};

    /// Appends `table` (whose name is upper case) and returns it.
    TableDef* AddTable(std::unique_ptr<TableDef> table);
    /// The first table whose upper-cased name equals the upper-cased `name`, or null.
    TableDef* FindTable(std::string_view name) const;
    /// Drops every table and domain.
    void Clear();

  private:
    // First table of each name, so that look-ups stay cheap in scripts of thousands of tables.
    std::unordered_map<std::string, TableDef*> byName_;
};

}  // namespace morva::sql

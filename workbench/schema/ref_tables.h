#pragma once
// References from one table to the tables it refers to: per referenced table, the column pairs
// (referenced table's column, this table's column).

#include <string>
#include <string_view>
#include <vector>

#include "workbench/schema/short_string.h"

namespace morva::schema {

/// One column pair of a reference.
struct TRefColumn {
    std::string RefColumn;  // column of the referenced table
    std::string KeyColumn;  // column of the owning table that refers to it

    bool operator==(const TRefColumn&) const = default;
};

/// Referenced table names, unique ignoring case, each with its column pairs in order.
class TRefTables {
  public:
    struct Entry {
        std::string name;
        std::vector<TRefColumn> pairs;
        bool operator==(const Entry&) const = default;
    };

    /// Adds `name` with no pairs unless a name equal ignoring case is already there.
    void AddTable(std::string_view name);
    /// Appends a pair to table `name` (found ignoring case); nothing when the table is absent.
    void AddPair(std::string_view name, std::string_view refColumn, std::string_view keyColumn);
    /// Index of the first pair of table `name` with exactly these columns, or -1.
    int FindPair(std::string_view name, std::string_view refColumn,
                 std::string_view keyColumn) const;
    bool PairExists(std::string_view name, std::string_view refColumn,
                    std::string_view keyColumn) const {
        return FindPair(name, refColumn, keyColumn) >= 0;
    }
    /// Index of the table equal to `name` ignoring case, or -1.
    int IndexOf(std::string_view name) const;
    void Clear() { entries_.clear(); }
    /// Replaces this list by a copy of `source`, tables and pairs in order.
    void CopyFrom(const TRefTables& source) { entries_ = source.entries_; }

    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int i) const { return entries_[static_cast<size_t>(i)]; }
    const std::vector<Entry>& entries() const { return entries_; }

    /// Writes the reference block: the count, then per table its name, pair count and pairs.
    void Write(BinaryWriter& out) const;
    /// Reads a reference block into this (emptied) list. False when the block is cut short;
    /// the tables read before that stay.
    bool Read(BinaryReader& in);

    bool operator==(const TRefTables&) const = default;

  private:
    std::vector<Entry> entries_;
};

}  // namespace morva::schema

#pragma once
// References from one table to the tables it refers to: per referenced table, the column pairs
// (referenced table's column, this table's column).

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "component/binary_fields.h"

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
    void Clear() {
        entries_.clear();
        index_.clear();
    }
    /// Replaces this list by a copy of `source`, tables and pairs in order.
    void CopyFrom(const TRefTables& source) { *this = source; }

    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int i) const { return entries_[static_cast<size_t>(i)]; }
    const std::vector<Entry>& entries() const { return entries_; }

    /// Writes the reference block: the count, then per table its name, pair count and pairs.
    void Write(com::FieldWriter& out) const;
    /// Reads a reference block into this (emptied) list. False when the block is cut short;
    /// the tables read before that stay.
    bool Read(com::FieldReader& in);

    bool operator==(const TRefTables& other) const { return entries_ == other.entries_; }

  private:
    std::vector<Entry> entries_;
    // Upper-cased name to its entry: a look-up by name costs the same however many tables
    // there are, so that reading a long reference block stays linear.
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace morva::schema

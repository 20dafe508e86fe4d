#pragma once
// The engine's schema store: the one database description that the host hands over through
// IMorva and that a script run reads. Tables, columns, references between tables (with their
// column pairs) and lookup data, in the order the host added them.
//
// Names compare ignoring ASCII letter case; when several entries carry the same name the first
// one added wins, and nothing is ever rejected as a duplicate. Look-ups by name go through
// indexes kept beside the lists, so filling and reading a large store takes linear time.
//
// Allocation failures: creating an element (table, column, reference, item) throws
// std::bad_alloc for the caller to report; a list that cannot grow drops the new element
// silently and the adding operation returns no element.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace morva::tpx {

/// A text of the store: absent when it arrived as a null string. Readers treat absent as empty.
using StoreText = std::optional<std::string>;

/// The text, or empty text when absent.
inline std::string_view TextView(const StoreText& text) {
    return text ? std::string_view(*text) : std::string_view();
}
/// Length of the text in characters (UTF-8 code points; 0 when absent), capped at the largest
/// 32-bit value. Widths and sizes count characters so that padded columns line up.
int32_t TextLength(const StoreText& text);
/// Whether the text holds no ASCII lower-case letter, so that upper-casing changes nothing.
bool HasNoLowerCase(const StoreText& text);

/// Growable list of pointers in insertion order: room for 32 elements at first, doubled
/// whenever a new element finds it full. With `kOwns` the list destroys its elements;
/// otherwise they belong to someone else.
///
/// The room is a promise rather than memory: the slots are allocated as elements arrive,
/// doubling from a few, so the many short lists of a large store (a table's references, a
/// reference's pairs, a column's lookup items) do not each hold 32 slots.
template <typename T, bool kOwns = false>
class CPtrArray {
  public:
    static constexpr int32_t kInitialCapacity = 32;

    CPtrArray() = default;
    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;
    ~CPtrArray() {
        if constexpr (kOwns)
            for (T* item : items_) delete item;
    }

    /// Number of elements.
    int32_t count() const { return static_cast<int32_t>(items_.size()); }
    /// Number of slots; 32 until the list first grows.
    int32_t capacity() const { return capacity_; }
    /// The element at `index`, or null outside 0..count-1.
    T* At(int32_t index) const {
        return index >= 0 && index < count() ? items_[static_cast<size_t>(index)] : nullptr;
    }

    /// Makes room for one more element, doubling the slots when full. False when the list
    /// cannot grow. After success the next Add cannot fail.
    bool EnsureRoom() {
        int32_t slots = capacity_;
        if (count() >= slots) {
            if (slots > std::numeric_limits<int32_t>::max() / 2) return false;
            slots *= 2;
        }
        if (!Allocate(slots)) return false;
        capacity_ = slots;
        return true;
    }

    /// Appends a borrowed element. False (nothing appended) when the list cannot grow.
    bool Add(T* item) requires(!kOwns) {
        if (!EnsureRoom()) return false;
        items_.push_back(item);
        return true;
    }
    /// Appends an element the list then owns. False when the list cannot grow; the element is
    /// then destroyed.
    bool Add(std::unique_ptr<T> item) requires kOwns {
        if (!EnsureRoom()) return false;
        items_.push_back(item.release());
        return true;
    }

    auto begin() const { return items_.cbegin(); }
    auto end() const { return items_.cend(); }

  private:
    static constexpr size_t kFirstAllocation = 4;

    // Makes sure the memory holds one more element, growing it geometrically but never past
    // `slots`.
    bool Allocate(int32_t slots) {
        if (items_.size() < items_.capacity()) return true;
        size_t wanted = std::max(kFirstAllocation, 2 * items_.capacity());
        wanted = std::min(wanted, static_cast<size_t>(slots));
        try {
            items_.reserve(wanted);
        } catch (const std::bad_alloc&) {
            return false;
        } catch (const std::length_error&) {
            return false;
        }
        return true;
    }

    int32_t capacity_ = kInitialCapacity;
    std::vector<T*> items_;
};

/// Storage for elements that live as long as their owner: constructed in place in blocks
/// that double in size, destroyed together. Saves one allocation per element where a
/// store holds hundreds of thousands of them. Elements never move.
template <typename T>
class CElementPool {
  public:
    CElementPool() = default;
    CElementPool(const CElementPool&) = delete;
    CElementPool& operator=(const CElementPool&) = delete;
    ~CElementPool() {
        for (Block& block : blocks_) {
            for (size_t i = 0; i < block.used; ++i) block.At(i)->~T();
            ::operator delete(block.memory, std::align_val_t(alignof(T)));
        }
    }

    /// A new element made from `args`. Throws std::bad_alloc when no memory is left.
    template <typename... Args>
    T* Emplace(Args&&... args) {
        if (blocks_.empty() || blocks_.back().used == blocks_.back().size) AddBlock();
        Block& block = blocks_.back();
        T* element = new (block.At(block.used)) T(std::forward<Args>(args)...);
        ++block.used;
        return element;
    }

  private:
    static constexpr size_t kFirstBlock = 8;
    static constexpr size_t kLargestBlock = 256;

    struct Block {
        void* memory;
        size_t size;
        size_t used;
        T* At(size_t i) const { return static_cast<T*>(memory) + i; }
    };

    void AddBlock() {
        size_t size =
            blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().size, kLargestBlock);
        blocks_.reserve(blocks_.size() + 1);
        void* memory = ::operator new(size * sizeof(T), std::align_val_t(alignof(T)));
        blocks_.push_back({memory, size, 0});
    }

    std::vector<Block> blocks_;
};

/// Hash and equality of names ignoring ASCII letter case, for the name indexes.
struct FoldedNameHash {
    size_t operator()(std::string_view name) const;
};
struct FoldedNameEqual {
    bool operator()(std::string_view a, std::string_view b) const;
};
/// Index from a name (ignoring case) to an element; keys view texts that outlive the index.
/// Open addressing over one array kept at most half full: a store indexes every column, and
/// a node per entry would cost an allocation each.
template <typename T>
class NameIndex {
  public:
    /// The element recorded under `name`, or null.
    T* Find(std::string_view name) const {
        if (slots_.empty()) return nullptr;
        for (size_t i = Home(name);; i = (i + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[i];
            if (!slot.element) return nullptr;
            if (FoldedNameEqual()(slot.key, name)) return slot.element;
        }
    }
    /// Records `element` under `key` unless the name is there already. The slot holding the
    /// name's element, and whether `element` went in. Throws std::bad_alloc when full and no
    /// memory is left.
    std::pair<T**, bool> TryAdd(std::string_view key, T* element) {
        if (2 * (count_ + 1) > slots_.size()) Grow();
        size_t i = Home(key);
        for (; slots_[i].element; i = (i + 1) & (slots_.size() - 1))
            if (FoldedNameEqual()(slots_[i].key, key)) return {&slots_[i].element, false};
        slots_[i] = {key, element};
        ++count_;
        return {&slots_[i].element, true};
    }

  private:
    struct Slot {
        std::string_view key;
        T* element = nullptr;
    };

    size_t Home(std::string_view name) const {
        size_t hash = FoldedNameHash()(name);
        return (hash ^ (hash >> 29)) & (slots_.size() - 1);
    }
    void Grow() {
        std::vector<Slot> old(std::max<size_t>(8, 2 * slots_.size()));
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (!slot.element) continue;
            size_t i = Home(slot.key);
            while (slots_[i].element) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;  // empty, or a power of two of slots
    size_t count_ = 0;
};

class CTable;
class CColumn;

/// A column's fixed list of values.
class CLookupList {
  public:
    /// The item texts in the order added.
    const CPtrArray<std::string, true>& items() const { return items_; }
    /// Number of items.
    int32_t count() const { return items_.count(); }
    /// The item at `index`, or null outside the items.
    const std::string* At(int32_t index) const { return items_.At(index); }
    /// Length in characters of the longest item added so far; 0 when empty.
    int32_t maxLength() const { return maxLength_; }
    /// Appends a copy of `text`. False when the list cannot grow.
    bool Add(std::string_view text);

  private:
    CPtrArray<std::string, true> items_;
    int32_t maxLength_ = 0;
};

/// One column of a table.
class CColumn {
  public:
    static constexpr int32_t kFlagKey = 1;
    static constexpr int32_t kFlagReadOnly = 2;

    // The texts are copied straight into the column: the host keeps its own.
    CColumn(const StoreText& name, const StoreText& type, const StoreText& label,
            const StoreText& dataType, int32_t size, int32_t flags, int32_t precision,
            int32_t scale)
        : name(name),
          type(type),
          label(label),
          dataType(dataType),
          size(size),
          flags(flags),
          precision(precision),
          scale(scale),
          nameIsUpper(HasNoLowerCase(this->name)) {}
    CColumn(const CColumn&) = delete;
    CColumn& operator=(const CColumn&) = delete;

    /// The key of every column look-up; fixed once the column exists.
    const StoreText name;
    /// The column's role as the host calls it ("Key", "Normal", "Ref", "RefTop", ...).
    StoreText type;
    /// Display label; absent means the name stands in for it.
    StoreText label;
    /// SQL data type name such as "VARCHAR".
    StoreText dataType;
    int32_t size;
    /// Bit 0 key column, bit 1 read-only, bits 2 and up the display width.
    int32_t flags;
    int32_t precision;
    int32_t scale;
    /// Whether the name is its own upper-case form (names are written upper-cased).
    const bool nameIsUpper;

    /// Fixed list of values.
    CLookupList lookupItems;
    /// Table that supplies the values, the column it shows and its key column; all three are
    /// set together and belong to the same database.
    CTable* lookupTable = nullptr;
    CColumn* lookupColumn = nullptr;
    CColumn* lookupKey = nullptr;

    bool IsKey() const { return (flags & kFlagKey) != 0; }
    bool IsReadOnly() const { return (flags & kFlagReadOnly) != 0; }
    /// The display width packed into the flags (sign kept).
    int32_t DisplayWidth() const { return flags >> 2; }
    /// The label, or the name when the label is absent.
    std::string_view LabelOrName() const { return label ? *label : TextView(name); }
    bool IsLookupByItems() const { return lookupItems.count() > 0; }
    bool IsLookupByTable() const { return lookupTable && lookupColumn && lookupKey; }
    bool IsLookup() const { return IsLookupByItems() || IsLookupByTable(); }
    /// Sets the three lookup links, replacing earlier ones.
    void SetLookup(CTable* table, CColumn* column, CColumn* key);
};

/// A reference from its owning table to another table, as pairs of columns: pair i joins
/// column refColumns[i] of the referenced table with column keyColumns[i] of the owning table.
class CRefTable {
  public:
    /// Text read for a pair's column at an index outside the pairs.
    static constexpr std::string_view kNoColumn = "None";

    CRefTable(CTable* table, int32_t position) : table(table), position_(position) {}
    CRefTable(const CRefTable&) = delete;
    CRefTable& operator=(const CRefTable&) = delete;

    /// The referenced table.
    CTable* const table;

    const CPtrArray<CColumn>& refColumns() const { return refColumns_; }
    const CPtrArray<CColumn>& keyColumns() const { return keyColumns_; }
    int32_t PairCount() const { return keyColumns_.count(); }
    /// Name of the referenced column of pair `index`; "None" outside the pairs.
    std::string_view RefColumnName(int32_t index) const;
    /// Name of the key column of pair `index`; "None" outside the pairs.
    std::string_view KeyColumnName(int32_t index) const;
    /// Position of this reference in its owning table's list.
    int32_t position() const { return position_; }

  private:
    friend class CTable;
    CPtrArray<CColumn> refColumns_;
    CPtrArray<CColumn> keyColumns_;
    int32_t position_;
};

/// One table: its columns and its references to other tables.
class CTable {
  public:
    CTable(StoreText name, StoreText type, StoreText label)
        : name(std::move(name)),
          nameIsUpper(HasNoLowerCase(this->name)),
          type(std::move(type)),
          label(std::move(label)) {}
    CTable(const CTable&) = delete;
    CTable& operator=(const CTable&) = delete;

    /// The key of every table look-up; fixed once the table exists.
    const StoreText name;
    /// Whether the name is its own upper-case form (names are written upper-cased).
    const bool nameIsUpper;
    /// Table type as the host calls it ("Normal", "Master", "Sub", ...).
    StoreText type;
    StoreText label;

    /// Statistics of the columns, 0 until ComputeWidths.
    int32_t maxSize = 0;
    int32_t maxNameLen = 0;
    int32_t maxTypeLen = 0;
    int32_t maxLabelLen = 0;
    int32_t maxDataTypeLen = 0;
    int32_t keyCount = 0;

    const CPtrArray<CColumn>& columns() const { return columns_; }
    const CPtrArray<CRefTable, true>& refTables() const { return refTables_; }
    /// The column at `index`, or null outside the columns.
    CColumn* ColumnAt(int32_t index) const { return columns_.At(index); }
    /// The reference at `index`, or null outside the references.
    CRefTable* RefAt(int32_t index) const { return refTables_.At(index); }

    /// Appends a column without lookup data. Null when the list cannot grow.
    CColumn* AddColumn(const StoreText& name, const StoreText& type, const StoreText& label,
                       const StoreText& dataType, int32_t size, int32_t flags, int32_t precision,
                       int32_t scale);
    /// First column named `name` ignoring case, or null.
    CColumn* FindColumn(std::string_view name) const;

    /// Appends a reference to `referenced` with no pairs. Null when the list cannot grow.
    CRefTable* AddRefTable(CTable* referenced);
    /// First reference whose table is that very table object, or null.
    CRefTable* FindRefTable(const CTable* referenced) const;
    /// Appends the pair (`refColumn` of the referenced table, `keyColumn` of this table) to
    /// `ref`, one of this table's references. False when the lists cannot grow.
    bool AddRefPair(CRefTable* ref, CColumn* refColumn, CColumn* keyColumn);
    /// First reference (in list order) whose key columns hold a column named `columnName`
    /// ignoring case, or null.
    CRefTable* FindRefByKeyColumn(std::string_view columnName) const;

    /// Recomputes the statistics of the columns.
    void ComputeWidths();

  private:
    // Declared before the list that points into it, so the columns outlive the list.
    CElementPool<CColumn> columnPool_;
    CPtrArray<CColumn> columns_;
    CPtrArray<CRefTable, true> refTables_;
    NameIndex<CColumn> columnIndex_;
    std::unordered_map<const CTable*, CRefTable*> refIndex_;
    NameIndex<CRefTable> keyColumnIndex_;
};

/// The database description of one engine control.
class CDatabase {
  public:
    explicit CDatabase(StoreText name) : name(std::move(name)) {}
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    const StoreText name;
    /// Set by SetRoom; absent until then.
    StoreText roomName, roomType, roomLabel;
    /// Set by SetSchema; absent until then.
    StoreText schemaName, schemaType, schemaLabel;

    /// Padding widths and totals over all tables, 0 until ComputeWidths.
    int32_t nameWidth = 0;
    int32_t typeWidth = 0;
    int32_t labelWidth = 0;
    int32_t dataTypeWidth = 0;
    int32_t maxSize = 0;
    int32_t keyCount = 0;

    const CPtrArray<CTable, true>& tables() const { return tables_; }
    /// The table at `index`, or null outside the tables.
    CTable* TableAt(int32_t index) const { return tables_.At(index); }

    /// Appends a table with no columns and no references. Null when the list cannot grow.
    CTable* AddTable(StoreText name, StoreText type, StoreText label);
    /// First table named `name` ignoring case, or null.
    CTable* FindTable(std::string_view name) const;

    /// Appends to table `tableName` a reference to table `refTableName` when both exist.
    /// Null when either is missing or the list cannot grow.
    CRefTable* CreateRefTable(std::string_view tableName, std::string_view refTableName);
    /// Appends the pair (column `refColumnName` of table `refTableName`, column `keyColumnName`
    /// of table `tableName`) to the first reference from the one table to the other. Adds
    /// nothing and returns false when a table, a column or the reference is missing.
    bool AddRefColumn(std::string_view tableName, std::string_view refTableName,
                      std::string_view refColumnName, std::string_view keyColumnName);
    /// Makes column `columnName` of table `tableName` look its values up in table
    /// `lookupTableName`, showing `lookupColumnName`, keyed by `lookupKeyName`. Changes nothing
    /// and returns false unless all five exist.
    bool SetLookupTable(std::string_view tableName, std::string_view columnName,
                        std::string_view lookupTableName, std::string_view lookupColumnName,
                        std::string_view lookupKeyName);
    /// Appends `item` to the lookup items of column `columnName` of table `tableName`. Adds
    /// nothing and returns false when the table, the column or the item is missing.
    bool SetLookupItem(std::string_view tableName, std::string_view columnName,
                       const StoreText& item);

    /// Replaces the room texts.
    void SetRoom(StoreText name, StoreText type, StoreText label);
    /// Replaces the schema texts.
    void SetSchema(StoreText name, StoreText type, StoreText label);

    /// Recomputes every statistic of the tables and of the database.
    void ComputeWidths();

  private:
    CPtrArray<CTable, true> tables_;
    NameIndex<CTable> tableIndex_;
    // The table FindTable found last. The host names the same table for each of its columns
    // in turn, and a table found by name stays the first of that name (tables are never
    // removed or renamed), so a matching name answers without hashing.
    mutable CTable* lastFound_ = nullptr;
};

}  // namespace morva::tpx

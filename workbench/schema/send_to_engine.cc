// Handing a schema to the engine control.

#include <functional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/host/imorva.h"
#include "engine/host/store_loader.h"
#include "workbench/schema/schema.h"

namespace morva::schema {

namespace {

using tpx::BStr;

/// The engine reads a null string as absent; an empty text is sent as one.
BStr Text(const std::string& s) {
    return s.empty() ? BStr() : BStr(s);
}

/// The tables of a database by exact name, the first of equal names winning as in FindTable;
/// a schema of thousands of tables then finds each table in constant time.
class TableIndex {
  public:
    explicit TableIndex(const TDatabaseInfor& db) : db_(db) {
        tables_.reserve(db.Tables.size());
        for (const TTableInfor& table : db.Tables) tables_.emplace(table.TableName, &table);
    }
    const TTableInfor& TableOf(const std::string& name) const {
        auto it = tables_.find(name);
        if (it == tables_.end())
            throw std::runtime_error("Table " + name + " not found in database " + db_.Name);
        return *it->second;
    }

  private:
    const TDatabaseInfor& db_;
    std::unordered_map<std::string_view, const TTableInfor*> tables_;
};

/// Sets `slot` to the engine's form of `s`, reusing the slot's buffer: the hand-over sends
/// hundreds of thousands of texts, and a fresh string for each would dominate its cost.
const BStr& Assign(BStr& slot, const std::string& s) {
    if (s.empty())
        slot.reset();
    else if (slot)
        slot->assign(s);
    else
        slot.emplace(s);
    return slot;
}

/// The columns of one table by exact name, the first of equal names winning as in
/// TTableInfor::FindColumn. Open addressing over one slot array that is reused from table to
/// table, so that resolving a table's columns takes linear time and, once warm, no allocation.
class ColumnIndex {
  public:
    void Build(const TTableInfor& table) {
        const std::vector<ColumnRecord>& columns = table.columns();
        size_t size = 8;
        while (size < 2 * columns.size()) size *= 2;
        slots_.assign(size, nullptr);
        mask_ = size - 1;
        for (const ColumnRecord& c : columns) {
            const ColumnRecord*& slot = Slot(c.Name);
            if (!slot) slot = &c;
        }
    }
    const ColumnRecord* Find(std::string_view name) { return Slot(name); }

  private:
    const ColumnRecord*& Slot(std::string_view name) {
        size_t i = std::hash<std::string_view>()(name) & mask_;
        while (slots_[i] && slots_[i]->Name != name) i = (i + 1) & mask_;
        return slots_[i];
    }

    std::vector<const ColumnRecord*> slots_;
    size_t mask_ = 0;
};

/// One schema table's texts as the sender reads them.
class SchemaTable {
  public:
    explicit SchemaTable(const TSchemaInfor& t) : t_(t) {}
    const std::string& Name() const { return t_.TableName; }
    const std::string& Type() const { return t_.TableType; }
    const std::string& Label() const { return t_.TableLabel; }
    const TRefTables& Refs() const { return t_.RefTables; }
    size_t ColumnCount() const { return t_.ColumnNames.size(); }
    const std::string& ColumnName(size_t i) const { return t_.ColumnNames[i]; }
    const std::string& ColumnType(size_t i) const { return t_.ColumnTypes[i]; }
    const std::string& ColumnLabel(size_t i) const { return t_.ColumnLabels[i]; }

  private:
    const TSchemaInfor& t_;
};

/// The tables of a schema, in its order.
class SchemaTables {
  public:
    explicit SchemaTables(const TSchema& schema) : schema_(schema) {}
    const std::string& DbName() const { return schema_.DbName; }
    size_t Count() const { return schema_.Tables.size(); }
    SchemaTable At(size_t k) const { return SchemaTable(schema_.Tables[k]); }

  private:
    const TSchema& schema_;
};

/// A selected database table read in place as the schema table CreateFromDatabase would copy
/// from it: the same texts, its references, its selected columns in order.
class DatabaseTable {
  public:
    DatabaseTable(const TTableInfor& t, const ColumnRecord* const* columns, size_t count)
        : t_(t), columns_(columns), count_(count) {}
    const std::string& Name() const { return t_.TableName; }
    const std::string& Type() const { return t_.TableType; }
    const std::string& Label() const { return t_.TableLabel; }
    const TRefTables& Refs() const { return t_.RefTables; }
    size_t ColumnCount() const { return count_; }
    const std::string& ColumnName(size_t i) const { return columns_[i]->Name; }
    const std::string& ColumnType(size_t i) const { return columns_[i]->Type; }
    const std::string& ColumnLabel(size_t i) const { return columns_[i]->Label; }

  private:
    const TTableInfor& t_;
    const ColumnRecord* const* columns_;
    size_t count_;
};

/// The selected tables of a database with their selected columns, gathered once so that the
/// three passes of the sender walk them without testing the marks again.
class DatabaseTables {
  public:
    explicit DatabaseTables(const TDatabaseInfor& db) : db_(db) {
        for (const TTableInfor& t : db.Tables) {
            if (!t.Selected) continue;
            tables_.push_back({&t, columns_.size()});
            for (const ColumnRecord& c : t.columns())
                if (c.Selected) columns_.push_back(&c);
        }
        tables_.push_back({nullptr, columns_.size()});
    }
    const std::string& DbName() const { return db_.Name; }
    size_t Count() const { return tables_.size() - 1; }
    DatabaseTable At(size_t k) const {
        size_t first = tables_[k].firstColumn;
        return DatabaseTable(*tables_[k].table, columns_.data() + first,
                             tables_[k + 1].firstColumn - first);
    }

  private:
    struct Entry {
        const TTableInfor* table;
        size_t firstColumn;
    };
    const TDatabaseInfor& db_;
    std::vector<Entry> tables_;  // ends with an entry that only marks where the columns end
    std::vector<const ColumnRecord*> columns_;
};

/// Sends the tables' calls in order, keeping one set of text slots for all of them and the
/// column records that the tables resolved for the lookups that follow. `Target` is the engine
/// control's interface or a store builder: both take the same calls. `Tables` is a schema's
/// tables or a whole database's selected ones.
template <class Target>
class Sender {
  public:
    Sender(Target& engine, const TDatabaseInfor& db) : engine_(engine), tables_(db) {}

    template <class Tables>
    void Send(const Tables& schema) {
        size_t columns = 0;
        for (size_t k = 0; k < schema.Count(); ++k) columns += schema.At(k).ColumnCount();
        records_.reserve(columns);
        com::Check(
            engine_.CreateDatabase(Text(schema.DbName()), static_cast<int32_t>(schema.Count())));
        for (size_t k = 0; k < schema.Count(); ++k) SendTable(schema.At(k));
        for (size_t k = 0; k < schema.Count(); ++k) SendReferences(schema.At(k));
        size_t next = 0;
        for (size_t k = 0; k < schema.Count(); ++k) SendLookups(schema.At(k), next);
    }

  private:
    template <class Table>
    void SendTable(const Table& t) {
        const TTableInfor& table = tables_.TableOf(t.Name());
        const BStr& tableName = Assign(table_, t.Name());
        com::Check(engine_.AddTable(tableName, Text(t.Type()), Text(t.Label()),
                                    static_cast<int32_t>(t.ColumnCount()), t.Refs().Count()));
        columns_.Build(table);
        for (size_t i = 0; i < t.ColumnCount(); ++i) {
            const std::string& name = t.ColumnName(i);
            const ColumnRecord* q = columns_.Find(name);
            if (!q)
                throw std::runtime_error("Column " + name + " not found in table " +
                                         table.TableName);
            records_.push_back(q);
            // The display width travels in the flags' integer, shifted past the two flag bits.
            int32_t inx =
                static_cast<int32_t>(static_cast<uint32_t>(q->DisplayWidth) << 2) | q->Flags;
            com::Check(engine_.AddColumnIntoTable(
                tableName, Assign(type_, t.ColumnType(i)), Assign(name_, q->Name),
                Assign(label_, t.ColumnLabel(i)), Assign(dataType_, q->DataType), q->Length, inx,
                q->Precision, q->Scale));
        }
    }

    template <class Table>
    void SendReferences(const Table& t) {
        const BStr& tableName = Assign(table_, t.Name());
        for (const TRefTables::Entry& r : t.Refs().entries()) {
            const BStr& refName = Assign(refTable_, r.name);
            com::Check(
                engine_.CreateRefTable(tableName, refName, static_cast<int32_t>(r.pairs.size())));
            for (const TRefColumn& pair : r.pairs)
                com::Check(engine_.AddRefColumn(tableName, refName, Assign(name_, pair.RefColumn),
                                                Assign(type_, pair.KeyColumn)));
        }
    }

    // `next` is the position of the table's first column among the resolved records.
    template <class Table>
    void SendLookups(const Table& t, size_t& next) {
        const BStr& tableName = Assign(table_, t.Name());
        for (size_t i = 0; i < t.ColumnCount(); ++i) {
            const ColumnRecord& q = *records_[next++];
            if (!q.LookupTable.empty() && !q.LookupColumn.empty() && !q.LookupKey.empty())
                com::Check(engine_.SetLookupTable(
                    tableName, Assign(name_, q.Name), Assign(refTable_, q.LookupTable),
                    Assign(type_, q.LookupColumn), Assign(label_, q.LookupKey)));
            if (q.LookupItems.empty()) continue;
            const BStr& columnName = Assign(name_, q.Name);
            for (const std::string& item : q.LookupItems)
                com::Check(engine_.SetLookupItem(tableName, columnName, Assign(label_, item)));
        }
    }

    Target& engine_;
    TableIndex tables_;
    ColumnIndex columns_;
    std::vector<const ColumnRecord*> records_;
    BStr table_, refTable_, name_, type_, label_, dataType_;
};

}  // namespace

void TSchema::SendToEngine(tpx::IMorva& engine, const TDatabaseInfor& db) const {
    Sender<tpx::IMorva>(engine, db).Send(SchemaTables(*this));
}

void TSchema::SendToEngine(tpx::StoreBuilder& store, const TDatabaseInfor& db) const {
    Sender<tpx::StoreBuilder>(store, db).Send(SchemaTables(*this));
}

void SendDatabaseToEngine(tpx::StoreBuilder& store, const TDatabaseInfor& db) {
    Sender<tpx::StoreBuilder>(store, db).Send(DatabaseTables(db));
}

}  // namespace morva::schema

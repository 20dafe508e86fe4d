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
    const TTableInfor& TableOf(const TSchemaInfor& t) const {
        auto it = tables_.find(t.TableName);
        if (it == tables_.end())
            throw std::runtime_error("Table " + t.TableName + " not found in database " + db_.Name);
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

/// Sends the schema's calls in order, keeping one set of text slots for all of them and the
/// column records that the tables resolved for the lookups that follow. `Target` is the engine
/// control's interface or a store builder: both take the same calls.
template <class Target>
class Sender {
  public:
    Sender(Target& engine, const TDatabaseInfor& db) : engine_(engine), tables_(db) {}

    void Send(const TSchema& schema) {
        size_t columns = 0;
        for (const TSchemaInfor& t : schema.Tables) columns += t.ColumnNames.size();
        records_.reserve(columns);
        com::Check(engine_.CreateDatabase(Text(schema.DbName),
                                          static_cast<int32_t>(schema.Tables.size())));
        for (const TSchemaInfor& t : schema.Tables) SendTable(t);
        for (const TSchemaInfor& t : schema.Tables) SendReferences(t);
        size_t next = 0;
        for (const TSchemaInfor& t : schema.Tables) SendLookups(t, next);
    }

  private:
    void SendTable(const TSchemaInfor& t) {
        const TTableInfor& table = tables_.TableOf(t);
        const BStr& tableName = Assign(table_, t.TableName);
        com::Check(engine_.AddTable(tableName, Text(t.TableType), Text(t.TableLabel),
                                    static_cast<int32_t>(t.ColumnNames.size()),
                                    t.RefTables.Count()));
        columns_.Build(table);
        for (size_t i = 0; i < t.ColumnNames.size(); ++i) {
            const std::string& name = t.ColumnNames[i];
            const ColumnRecord* q = columns_.Find(name);
            if (!q)
                throw std::runtime_error("Column " + name + " not found in table " +
                                         table.TableName);
            records_.push_back(q);
            // The display width travels in the flags' integer, shifted past the two flag bits.
            int32_t inx =
                static_cast<int32_t>(static_cast<uint32_t>(q->DisplayWidth) << 2) | q->Flags;
            com::Check(engine_.AddColumnIntoTable(
                tableName, Assign(type_, t.ColumnTypes[i]), Assign(name_, q->Name),
                Assign(label_, t.ColumnLabels[i]), Assign(dataType_, q->DataType), q->Length, inx,
                q->Precision, q->Scale));
        }
    }

    void SendReferences(const TSchemaInfor& t) {
        const BStr& tableName = Assign(table_, t.TableName);
        for (const TRefTables::Entry& r : t.RefTables.entries()) {
            const BStr& refName = Assign(refTable_, r.name);
            com::Check(
                engine_.CreateRefTable(tableName, refName, static_cast<int32_t>(r.pairs.size())));
            for (const TRefColumn& pair : r.pairs)
                com::Check(engine_.AddRefColumn(tableName, refName, Assign(name_, pair.RefColumn),
                                                Assign(type_, pair.KeyColumn)));
        }
    }

    // `next` is the position of the table's first column among the resolved records.
    void SendLookups(const TSchemaInfor& t, size_t& next) {
        const BStr& tableName = Assign(table_, t.TableName);
        for (size_t i = 0; i < t.ColumnNames.size(); ++i) {
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
    Sender<tpx::IMorva>(engine, db).Send(*this);
}

void TSchema::SendToEngine(tpx::StoreBuilder& store, const TDatabaseInfor& db) const {
    Sender<tpx::StoreBuilder>(store, db).Send(*this);
}

}  // namespace morva::schema

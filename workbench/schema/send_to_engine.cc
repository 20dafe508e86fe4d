// Handing a schema to the engine control.

#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "engine/host/imorva.h"
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

const ColumnRecord& ColumnOf(const TTableInfor& table, const std::string& name) {
    const ColumnRecord* c = table.FindColumn(name);
    if (!c) throw std::runtime_error("Column " + name + " not found in table " + table.TableName);
    return *c;
}

void SendTable(tpx::IMorva& engine, const TableIndex& tables, const TSchemaInfor& t) {
    const TTableInfor& table = tables.TableOf(t);
    com::Check(engine.AddTable(Text(t.TableName), Text(t.TableType), Text(t.TableLabel),
                               static_cast<int32_t>(t.ColumnNames.size()), t.RefTables.Count()));
    for (size_t i = 0; i < t.ColumnNames.size(); ++i) {
        const ColumnRecord& q = ColumnOf(table, t.ColumnNames[i]);
        // The display width travels in the flags' integer, shifted past the two flag bits.
        int32_t inx = static_cast<int32_t>(static_cast<uint32_t>(q.DisplayWidth) << 2) | q.Flags;
        com::Check(engine.AddColumnIntoTable(
            Text(t.TableName), Text(t.ColumnTypes[i]), Text(q.Name), Text(t.ColumnLabels[i]),
            Text(q.DataType), q.Length, inx, q.Precision, q.Scale));
    }
}

void SendReferences(tpx::IMorva& engine, const TSchemaInfor& t) {
    for (const TRefTables::Entry& r : t.RefTables.entries()) {
        com::Check(engine.CreateRefTable(Text(t.TableName), Text(r.name),
                                         static_cast<int32_t>(r.pairs.size())));
        for (const TRefColumn& pair : r.pairs)
            com::Check(engine.AddRefColumn(Text(t.TableName), Text(r.name), Text(pair.RefColumn),
                                           Text(pair.KeyColumn)));
    }
}

void SendLookups(tpx::IMorva& engine, const TableIndex& tables, const TSchemaInfor& t) {
    const TTableInfor& table = tables.TableOf(t);
    for (const std::string& name : t.ColumnNames) {
        const ColumnRecord& q = ColumnOf(table, name);
        if (!q.LookupTable.empty() && !q.LookupColumn.empty() && !q.LookupKey.empty())
            com::Check(engine.SetLookupTable(Text(t.TableName), Text(q.Name), Text(q.LookupTable),
                                             Text(q.LookupColumn), Text(q.LookupKey)));
        for (const std::string& item : q.LookupItems)
            com::Check(engine.SetLookupItem(Text(t.TableName), Text(q.Name), Text(item)));
    }
}

}  // namespace

void TSchema::SendToEngine(tpx::IMorva& engine, const TDatabaseInfor& db) const {
    TableIndex tables(db);
    com::Check(engine.CreateDatabase(Text(DbName), static_cast<int32_t>(Tables.size())));
    for (const TSchemaInfor& t : Tables) SendTable(engine, tables, t);
    for (const TSchemaInfor& t : Tables) SendReferences(engine, t);
    for (const TSchemaInfor& t : Tables) SendLookups(engine, tables, t);
}

}  // namespace morva::schema

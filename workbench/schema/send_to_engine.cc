// Handing a schema to the engine control.

#include <stdexcept>

#include "engine/host/imorva.h"
#include "workbench/schema/schema.h"

namespace morva::schema {

namespace {

using tpx::BStr;

/// The engine reads a null string as absent; an empty text is sent as one.
BStr Text(const std::string& s) {
    return s.empty() ? BStr() : BStr(s);
}

const TTableInfor& TableOf(const TDatabaseInfor& db, const TSchemaInfor& t) {
    const TTableInfor* table = db.FindTable(t.TableName);
    if (!table)
        throw std::runtime_error("Table " + t.TableName + " not found in database " + db.Name);
    return *table;
}

const ColumnRecord& ColumnOf(const TTableInfor& table, const std::string& name) {
    const ColumnRecord* c = table.FindColumn(name);
    if (!c) throw std::runtime_error("Column " + name + " not found in table " + table.TableName);
    return *c;
}

void SendTable(tpx::IMorva& engine, const TDatabaseInfor& db, const TSchemaInfor& t) {
    const TTableInfor& table = TableOf(db, t);
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

void SendLookups(tpx::IMorva& engine, const TDatabaseInfor& db, const TSchemaInfor& t) {
    const TTableInfor& table = TableOf(db, t);
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
    com::Check(engine.CreateDatabase(Text(DbName), static_cast<int32_t>(Tables.size())));
    for (const TSchemaInfor& t : Tables) SendTable(engine, db, t);
    for (const TSchemaInfor& t : Tables) SendReferences(engine, t);
    for (const TSchemaInfor& t : Tables) SendLookups(engine, db, t);
}

}  // namespace morva::schema

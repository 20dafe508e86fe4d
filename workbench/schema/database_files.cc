// Loading and saving a database's information through the table file reader and writer.

#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_infor.h"

namespace morva::schema {

namespace {

TTableInfor FromTableFile(const sql::TableFile& file) {
    TTableInfor table(static_cast<int32_t>(file.columns.size()));
    table.TableName = file.name;
    table.TableType = file.type;
    table.TableLabel = file.label;
    table.Selected = true;
    for (const sql::ColumnEntry& e : file.columns) {
        ColumnRecord* c = table.AddColumn(true, e.name, e.type, e.label, e.dataType, e.length,
                                          e.displayWidth, e.flags, e.precision, e.scale);
        c->LookupTable = e.lookupTable;
        c->LookupColumn = e.lookupColumn;
        c->LookupKey = e.lookupKey;
        c->LookupItems = e.lookupItems;
    }
    for (const sql::RefGroupEntry& g : file.groups) {
        table.RefTables.AddTable(g.masterTable);
        for (const sql::RefPairEntry& p : g.pairs)
            table.RefTables.AddPair(g.masterTable, p.masterColumn, p.localColumn);
    }
    return table;
}

sql::TableFile ToTableFile(const TTableInfor& table) {
    sql::TableFile file;
    file.name = table.TableName;
    file.type = table.TableType;
    file.label = table.TableLabel;
    for (const ColumnRecord& c : table.columns()) {
        file.columns.push_back({c.Name, c.Type, c.Label, c.DataType, c.Length, c.DisplayWidth,
                                c.Flags, c.Precision, c.Scale, c.LookupTable, c.LookupColumn,
                                c.LookupKey, c.LookupItems});
    }
    for (const TRefTables::Entry& e : table.RefTables.entries()) {
        sql::RefGroupEntry g{e.name, {}};
        for (const TRefColumn& p : e.pairs) g.pairs.push_back({p.RefColumn, p.KeyColumn});
        file.groups.push_back(std::move(g));
    }
    return file;
}

}  // namespace

std::unique_ptr<TDatabaseInfor> TDatabaseInfor::LoadDatabase(const std::string& databaseDir,
                                                             const std::string& name,
                                                             std::string* error) {
    std::optional<std::string> folder = DatabaseFolder(databaseDir, name, error);
    std::vector<sql::TableFile> files;
    if (!folder || !sql::LoadDatabaseFolder(*folder, &files, error)) return nullptr;
    auto db = std::make_unique<TDatabaseInfor>();
    db->Name = name;
    for (const sql::TableFile& f : files) db->Tables.push_back(FromTableFile(f));
    return db;
}

bool TDatabaseInfor::SaveDatabase(const std::string& databaseDir, std::string* error) const {
    std::optional<std::string> folder = DatabaseFolder(databaseDir, Name, error);
    if (!folder) return false;
    std::vector<sql::TableFile> files;
    for (const TTableInfor& t : Tables) files.push_back(ToTableFile(t));
    return sql::SaveDatabaseFolder(*folder, files, error);
}

}  // namespace morva::schema

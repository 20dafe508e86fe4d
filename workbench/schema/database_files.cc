// Loading and saving a database's information through the table file reader and writer.

#include "sqlcompiler/table_file.h"
#include "workbench/schema/database_infor.h"

namespace morva::schema {

namespace {

// The table read from a table file; its texts move over rather than being copied, as the
// load of a large database would otherwise copy every column entry a second time.
TTableInfor FromTableFile(sql::TableFile&& file) {
    TTableInfor table(static_cast<int32_t>(file.columns.size()));
    table.TableName = std::move(file.name);
    table.TableType = std::move(file.type);
    table.TableLabel = std::move(file.label);
    table.Selected = true;
    for (sql::ColumnEntry& e : file.columns) {
        ColumnRecord c;
        c.Selected = true;
        c.Name = std::move(e.name);
        c.Type = std::move(e.type);
        c.Label = std::move(e.label);
        c.DataType = std::move(e.dataType);
        c.Length = e.length;
        c.DisplayWidth = e.displayWidth;
        c.Flags = e.flags;
        c.Precision = e.precision;
        c.Scale = e.scale;
        c.LookupTable = std::move(e.lookupTable);
        c.LookupColumn = std::move(e.lookupColumn);
        c.LookupKey = std::move(e.lookupKey);
        c.LookupItems = std::move(e.lookupItems);
        table.AddColumn(std::move(c));
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
    std::vector<std::string> names;
    if (!folder || !sql::ListTableFiles(*folder, &names, error)) return nullptr;
    auto db = std::make_unique<TDatabaseInfor>();
    db->Name = name;
    db->Tables.reserve(names.size());
    // Each file goes straight into its table: the whole database is never held twice.
    for (const std::string& file : names) {
        sql::TableFile t;
        if (!sql::ReadTableFile(*folder + "/" + file, &t, error)) return nullptr;
        db->Tables.push_back(FromTableFile(std::move(t)));
    }
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

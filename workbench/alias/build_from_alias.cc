#include "workbench/alias/build_from_alias.h"

namespace morva::alias {

bool BuildFromBde(schema::TDatabaseInfor& db, const Alias& alias,
                  const std::vector<std::string>& tables, std::string* error) {
    AliasConnection connection;
    db.Clear();
    db.Name = alias.name;
    if (!connection.Open(alias, error)) return false;
    for (const std::string& name : tables) {
        std::vector<FieldInfo> fields;
        if (!connection.Fields(name, &fields, error)) return false;
        schema::TTableInfor table(static_cast<int32_t>(fields.size()));
        table.TableName = com::CutShortString(name);
        table.TableType = "Normal";
        table.TableLabel = "Normal";
        table.Selected = true;
        for (const FieldInfo& f : fields) {
            table.AddColumn(true, f.name, f.indexed ? "Key" : "Normal", f.displayLabel,
                            FieldTypeNames(f.type), f.size, f.displayWidth,
                            f.indexed ? schema::kColumnKey : 0, f.precision, 0);
        }
        db.Tables.push_back(std::move(table));
    }
    return true;
}

}  // namespace morva::alias

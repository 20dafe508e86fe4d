#include "sqlcompiler/table_writer.h"

namespace morva::sql {

TableFile ToTableFile(const TableDef& table) {
    TableFile file{table.name, table.type, table.label, {}, {}};
    for (const auto& c : table.columns) {
        int32_t width = c->displayWidth != 0 ? c->displayWidth : c->length != 0 ? c->length : 10;
        file.columns.push_back({c->name, c->type, c->label.empty() ? c->name : c->label,
                                c->dataType, c->length, width, c->flags, c->precision, c->scale, "",
                                "", "", c->lookupItems});
    }
    for (const RefGroup& g : table.references) {
        RefGroupEntry group{g.masterTable, {}};
        for (const RefPair& p : g.pairs) group.pairs.push_back({p.masterColumn, p.localColumn});
        file.groups.push_back(std::move(group));
    }
    return file;
}

}  // namespace morva::sql

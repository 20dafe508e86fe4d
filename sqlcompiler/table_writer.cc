#include "sqlcompiler/table_writer.h"

namespace morva::sql {

namespace {

// Sets `entry` to the column's values as the table file holds them. The entry's buffers are
// reused from column to column by EncodeTable.
void FillEntry(const ColumnDef& c, ColumnEntry* entry) {
    entry->name = c.name;
    entry->type = c.type;
    entry->label = c.label.empty() ? c.name : c.label;
    entry->dataType = c.dataType;
    entry->length = c.length;
    entry->displayWidth = c.displayWidth != 0 ? c.displayWidth : c.length != 0 ? c.length : 10;
    entry->flags = c.flags;
    entry->precision = c.precision;
    entry->scale = c.scale;
    entry->lookupTable.clear();
    entry->lookupColumn.clear();
    entry->lookupKey.clear();
    entry->lookupItems = c.lookupItems;
}

}  // namespace

TableFile ToTableFile(const TableDef& table) {
    TableFile file{table.name, table.type, table.label, {}, {}};
    for (const auto& c : table.columns) FillEntry(*c, &file.columns.emplace_back());
    for (const RefGroup& g : table.references) {
        RefGroupEntry group{g.masterTable, {}};
        for (const RefPair& p : g.pairs) group.pairs.push_back({p.masterColumn, p.localColumn});
        file.groups.push_back(std::move(group));
    }
    return file;
}

std::string EncodeTable(const TableDef& table) {
    TableFileEncoder out(table.name, table.type, table.label, table.columns.size());
    ColumnEntry entry;
    for (const auto& c : table.columns) {
        FillEntry(*c, &entry);
        out.Column(entry);
    }
    out.GroupCount(table.references.size());
    for (const RefGroup& g : table.references) {
        out.Group(g.masterTable, g.pairs.size());
        for (const RefPair& p : g.pairs) out.Pair({p.masterColumn, p.localColumn});
    }
    return out.Take();
}

}  // namespace morva::sql

#include "sqlcompiler/model.h"

#include "component/text_util.h"

namespace morva::sql {

void ColumnDef::MarkKey() {
    flags = kFlagKey;
    type = "Key";
}

void RefGroup::AddPair(std::string masterColumn, std::string localColumn) {
    for (const RefPair& p : pairs)
        if (p.masterColumn == masterColumn && p.localColumn == localColumn) return;
    pairs.push_back({std::move(masterColumn), std::move(localColumn)});
}

ColumnDef* TableDef::FindColumn(std::string_view name) const {
    std::string upper = com::ToUpperAscii(name);
    for (const auto& c : columns)
        if (com::ToUpperAscii(c->name) == upper) return c.get();
    return nullptr;
}

void TableDef::AppendType(std::string_view word) {
    if (type.find(word) == std::string::npos) type += word;
}

TableDef* Model::AddTable(std::unique_ptr<TableDef> table) {
    TableDef* added = table.get();
    tables.push_back(std::move(table));
    byName_.try_emplace(added->name, added);
    return added;
}

TableDef* Model::FindTable(std::string_view name) const {
    auto it = byName_.find(com::ToUpperAscii(name));
    return it == byName_.end() ? nullptr : it->second;
}

void Model::Clear() {
    byName_.clear();
    tables.clear();
    domains.columns.clear();
}

}  // namespace morva::sql

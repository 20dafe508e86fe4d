#include "sqlcompiler/model.h"

#include "component/quoted_text.h"
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

namespace {

using com::Quoted;

void DumpTable(const TableDef& t, const char* kind, std::string& out) {
    out += std::string(kind) + " " + t.name + " type=" + Quoted(t.type) +
           " label=" + Quoted(t.label) + "\n";
    for (const auto& c : t.columns) {
        out += "  COLUMN " + c->name + " type=" + Quoted(c->type) + " label=" + Quoted(c->label) +
               " data=" + Quoted(c->dataType) + " length=" + std::to_string(c->length) +
               " flags=" + std::to_string(c->flags) + " precision=" + std::to_string(c->precision) +
               " scale=" + std::to_string(c->scale) + "\n";
        for (const std::string& item : c->lookupItems) out += "    ITEM " + Quoted(item) + "\n";
    }
    for (const RefGroup& g : t.references) {
        out += "  REF " + g.masterTable;
        for (const RefPair& p : g.pairs) out += " " + p.masterColumn + "=" + p.localColumn;
        out += "\n";
    }
}

}  // namespace

std::string DumpModel(const Model& model) {
    std::string out;
    for (const auto& t : model.tables) DumpTable(*t, "TABLE", out);
    if (!model.domains.columns.empty()) DumpTable(model.domains, "DOMAINS", out);
    return out;
}

}  // namespace morva::sql

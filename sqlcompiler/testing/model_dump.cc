#include "sqlcompiler/testing/model_dump.h"

#include "component/quoted_text.h"

namespace morva::sql::testing {

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

}  // namespace morva::sql::testing

#include "sqlcompiler/table_file_dump.h"

#include <cstdio>

namespace morva::sql {
namespace {

std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

std::string Int(int32_t v) {
    return std::to_string(v);
}

}  // namespace

std::string DumpTablesText(const std::vector<TableFile>& tables) {
    std::string out;
    for (const TableFile& t : tables) {
        out += "TABLE " + t.name + " type=" + Quote(t.type) + " label=" + Quote(t.label) + "\n";
        for (const ColumnEntry& c : t.columns) {
            out += "  COLUMN " + c.name + " type=" + Quote(c.type) + " label=" + Quote(c.label) +
                   " data=" + Quote(c.dataType) + " length=" + Int(c.length) +
                   " width=" + Int(c.displayWidth) + " flags=" + Int(c.flags) +
                   " precision=" + Int(c.precision) + " scale=" + Int(c.scale) + "\n";
            if (!c.lookupTable.empty() || !c.lookupColumn.empty() || !c.lookupKey.empty())
                out += "    LOOKUP table=" + Quote(c.lookupTable) +
                       " column=" + Quote(c.lookupColumn) + " key=" + Quote(c.lookupKey) + "\n";
            for (const std::string& item : c.lookupItems) out += "    ITEM " + Quote(item) + "\n";
        }
        for (const RefGroupEntry& g : t.groups) {
            out += "  REF " + g.masterTable;
            for (const RefPairEntry& p : g.pairs) out += " " + p.masterColumn + "=" + p.localColumn;
            out += "\n";
        }
    }
    return out;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        unsigned char u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string DumpTablesJson(const std::string& database, const std::vector<TableFile>& tables) {
    std::string out = "{\"database\": " + JsonString(database) + ", \"tables\": [";
    for (size_t i = 0; i < tables.size(); ++i) {
        const TableFile& t = tables[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"name\": " + JsonString(t.name) + ", \"type\": " + JsonString(t.type) +
               ", \"label\": " + JsonString(t.label) + ", \"columns\": [";
        for (size_t j = 0; j < t.columns.size(); ++j) {
            const ColumnEntry& c = t.columns[j];
            out += j ? ",\n    " : "\n    ";
            out += "{\"name\": " + JsonString(c.name) + ", \"type\": " + JsonString(c.type) +
                   ", \"label\": " + JsonString(c.label) +
                   ", \"dataType\": " + JsonString(c.dataType) + ", \"length\": " + Int(c.length) +
                   ", \"displayWidth\": " + Int(c.displayWidth) + ", \"flags\": " + Int(c.flags) +
                   ", \"precision\": " + Int(c.precision) + ", \"scale\": " + Int(c.scale) +
                   ", \"lookupTable\": " + JsonString(c.lookupTable) +
                   ", \"lookupColumn\": " + JsonString(c.lookupColumn) +
                   ", \"lookupKey\": " + JsonString(c.lookupKey) + ", \"lookupItems\": [";
            for (size_t k = 0; k < c.lookupItems.size(); ++k)
                out += (k ? ", " : "") + JsonString(c.lookupItems[k]);
            out += "]}";
        }
        out += "], \"references\": [";
        for (size_t j = 0; j < t.groups.size(); ++j) {
            const RefGroupEntry& g = t.groups[j];
            out += (j ? ", " : "") + std::string("{\"master\": ") + JsonString(g.masterTable) +
                   ", \"pairs\": [";
            for (size_t k = 0; k < g.pairs.size(); ++k)
                out += (k ? ", " : "") + std::string("{\"masterColumn\": ") +
                       JsonString(g.pairs[k].masterColumn) +
                       ", \"localColumn\": " + JsonString(g.pairs[k].localColumn) + "}";
            out += "]}";
        }
        out += "]}";
    }
    return out + "\n]}\n";
}

}  // namespace morva::sql

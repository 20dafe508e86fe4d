#include "sqlcompiler/table_file_dump.h"

#include <cstdio>

#include "component/quoted_text.h"

namespace morva::sql {
namespace {

using com::Quoted;

std::string Int(int32_t v) {
    return std::to_string(v);
}

}  // namespace

std::string DumpTablesText(const std::vector<TableFile>& tables) {
    std::string out;
    for (const TableFile& t : tables) {
        out += "TABLE " + t.name + " type=" + Quoted(t.type) + " label=" + Quoted(t.label) + "\n";
        for (const ColumnEntry& c : t.columns) {
            out += "  COLUMN " + c.name + " type=" + Quoted(c.type) + " label=" + Quoted(c.label) +
                   " data=" + Quoted(c.dataType) + " length=" + Int(c.length) +
                   " width=" + Int(c.displayWidth) + " flags=" + Int(c.flags) +
                   " precision=" + Int(c.precision) + " scale=" + Int(c.scale) + "\n";
            if (!c.lookupTable.empty() || !c.lookupColumn.empty() || !c.lookupKey.empty())
                out += "    LOOKUP table=" + Quoted(c.lookupTable) +
                       " column=" + Quoted(c.lookupColumn) + " key=" + Quoted(c.lookupKey) + "\n";
            for (const std::string& item : c.lookupItems) out += "    ITEM " + Quoted(item) + "\n";
        }
        for (const RefGroupEntry& g : t.groups) {
            out += "  REF " + g.masterTable;
            for (const RefPairEntry& p : g.pairs) out += " " + p.masterColumn + "=" + p.localColumn;
            out += "\n";
        }
    }
    return out;
}

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0 when the byte there starts none. Overlong
// forms, surrogates and code points past U+10FFFF are not valid: a JSON reader refuses them.
size_t Utf8Length(const std::string& s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80                 ? 1
               : c >= 0xC2 && c <= 0xDF ? 2
               : (c >> 4) == 0xE        ? 3
               : c >= 0xF0 && c <= 0xF4 ? 4
                                        : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    // The second byte's range for the lead bytes that allow fewer than all continuations.
    unsigned char second = static_cast<unsigned char>(n > 1 ? s[i + 1] : 0);
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) ||
        (c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90))
        return 0;
    return n;
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char u = static_cast<unsigned char>(text[i]);
        size_t n = Utf8Length(text, i);
        if (u == '"' || u == '\\') {
            out += '\\';
            out += text[i++];
        } else if (u < 0x20 || n == 0) {
            // Control characters, and bytes of another code page, as the code point of the
            // same number, so that the output is always valid JSON.
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
            ++i;
        } else {
            out.append(text, i, n);
            i += n;
        }
    }
    return out + "\"";
}

std::string DumpTablesJson(const std::string& database, const std::vector<TableFile>& tables,
                           std::string_view moreMembers) {
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
    out += "\n]";
    if (!moreMembers.empty()) out.append(", ").append(moreMembers);
    return out + "}\n";
}

}  // namespace morva::sql

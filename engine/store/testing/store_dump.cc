#include "engine/store/testing/store_dump.h"

#include "component/quoted_text.h"
#include "engine/store/store.h"

namespace morva::tpx {

namespace {

using com::AppendQuoted;

/// Appends ` key=` and the quoted text, or `-` when absent.
void AppendField(std::string& out, std::string_view key, const StoreText& text) {
    out += ' ';
    out += key;
    out += '=';
    if (text)
        AppendQuoted(out, *text);
    else
        out += '-';
}

void AppendNumber(std::string& out, std::string_view key, int32_t value) {
    out += ' ';
    out += key;
    out += '=';
    out += std::to_string(value);
}

/// The name of a linked element, or `-` when the link is not set.
template <typename T>
void AppendLink(std::string& out, std::string_view key, const T* element) {
    AppendField(out, key, element ? element->name : StoreText());
}

void DumpColumn(std::string& out, int32_t index, const CColumn& column) {
    out += "  column " + std::to_string(index) + ' ';
    if (column.name)
        AppendQuoted(out, *column.name);
    else
        out += '-';
    AppendField(out, "type", column.type);
    AppendField(out, "label", column.label);
    AppendField(out, "dataType", column.dataType);
    AppendNumber(out, "size", column.size);
    AppendNumber(out, "flags", column.flags);
    out += " [";
    if (column.IsKey()) out += "key ";
    if (column.IsReadOnly()) out += "readonly ";
    out += "disp=" + std::to_string(column.DisplayWidth()) + ']';
    AppendNumber(out, "precision", column.precision);
    AppendNumber(out, "scale", column.scale);
    out += '\n';
    if (column.lookupTable || column.lookupColumn || column.lookupKey) {
        out += "    lookup";
        AppendLink(out, "table", column.lookupTable);
        AppendLink(out, "column", column.lookupColumn);
        AppendLink(out, "key", column.lookupKey);
        out += '\n';
    }
    if (column.lookupItems.count() > 0) {
        out += "    items";
        AppendNumber(out, "maxLength", column.lookupItems.maxLength());
        out += '\n';
        for (int32_t i = 0; i < column.lookupItems.count(); ++i) {
            out += "      item " + std::to_string(i) + ' ';
            AppendQuoted(out, *column.lookupItems.At(i));
            out += '\n';
        }
    }
}

void DumpRef(std::string& out, int32_t index, const CRefTable& ref) {
    out += "  ref " + std::to_string(index);
    AppendLink(out, "table", ref.table);
    AppendNumber(out, "pairs", ref.PairCount());
    out += '\n';
    for (int32_t i = 0; i < ref.PairCount(); ++i) {
        out += "    pair " + std::to_string(i);
        AppendLink(out, "ref", ref.refColumns().At(i));
        AppendLink(out, "key", ref.keyColumns().At(i));
        out += '\n';
    }
}

void DumpTable(std::string& out, int32_t index, const CTable& table) {
    out += "table " + std::to_string(index) + ' ';
    if (table.name)
        AppendQuoted(out, *table.name);
    else
        out += '-';
    AppendField(out, "type", table.type);
    AppendField(out, "label", table.label);
    out += "\n  widths";
    AppendNumber(out, "maxSize", table.maxSize);
    AppendNumber(out, "maxNameLen", table.maxNameLen);
    AppendNumber(out, "maxTypeLen", table.maxTypeLen);
    AppendNumber(out, "maxLabelLen", table.maxLabelLen);
    AppendNumber(out, "maxDataTypeLen", table.maxDataTypeLen);
    AppendNumber(out, "keyCount", table.keyCount);
    out += '\n';
    for (int32_t i = 0; i < table.columns().count(); ++i) DumpColumn(out, i, *table.ColumnAt(i));
    for (int32_t i = 0; i < table.refTables().count(); ++i) DumpRef(out, i, *table.RefAt(i));
}

}  // namespace

std::string DumpStore(const CDatabase* database) {
    if (!database) return "no database\n";
    const CDatabase& db = *database;
    std::string out = "database ";
    if (db.name)
        AppendQuoted(out, *db.name);
    else
        out += '-';
    out += "\nroom";
    AppendField(out, "name", db.roomName);
    AppendField(out, "type", db.roomType);
    AppendField(out, "label", db.roomLabel);
    out += "\nschema";
    AppendField(out, "name", db.schemaName);
    AppendField(out, "type", db.schemaType);
    AppendField(out, "label", db.schemaLabel);
    out += "\nwidths";
    AppendNumber(out, "nameWidth", db.nameWidth);
    AppendNumber(out, "typeWidth", db.typeWidth);
    AppendNumber(out, "labelWidth", db.labelWidth);
    AppendNumber(out, "dataTypeWidth", db.dataTypeWidth);
    AppendNumber(out, "maxSize", db.maxSize);
    AppendNumber(out, "keyCount", db.keyCount);
    out += '\n';
    for (int32_t i = 0; i < db.tables().count(); ++i) DumpTable(out, i, *db.TableAt(i));
    return out;
}

}  // namespace morva::tpx

#include "bench/bench_database.h"

#include "sqlcompiler/table_file_dump.h"

namespace morva::bench {

namespace {

struct ColumnKind {
    const char* dataType;
    int32_t length;
    int32_t precision;
    int32_t scale;
};

// The data types cycle through the columns of every table.
constexpr ColumnKind kKinds[] = {
    {"INTEGER", 4, 0, 0},  {"VARCHAR", 40, 0, 0},  {"NUMERIC", 15, 15, 2},
    {"DATE", 4, 0, 0},     {"CHAR", 1, 0, 0},      {"VARCHAR", 120, 0, 0},
    {"SMALLINT", 2, 0, 0}, {"TIMESTAMP", 8, 0, 0}, {"DOUBLE PRECISION", 8, 0, 0},
    {"BLOB", 8, 0, 0},
};

std::string Json(const std::string& text) {
    return sql::JsonString(text);
}

}  // namespace

schema::TDatabaseInfor MakeDatabase(int tables, int columns) {
    schema::TDatabaseInfor db;
    db.Name = "BENCH";
    for (int t = 0; t < tables; ++t) {
        schema::TTableInfor table(columns);
        table.TableName = "TABLE_" + std::to_string(t);
        table.TableType = t > 0 ? "Sub" : "Master";
        table.TableLabel = "Table number " + std::to_string(t);
        for (int c = 0; c < columns; ++c) {
            const ColumnKind& kind = kKinds[c % std::size(kKinds)];
            bool key = c == 0;
            std::string name = c == 1 && t > 0 ? "PARENT_ID" : "COLUMN_" + std::to_string(c);
            std::string type = key ? "Key" : c == 1 && t > 0 ? "RefTop" : "Normal";
            schema::ColumnRecord* column = table.AddColumn(
                true, name, type, "Column " + std::to_string(c) + " of " + table.TableName,
                kind.dataType, kind.length, kind.length + 2, key ? schema::kColumnKey : 0,
                kind.precision, kind.scale);
            if (c == 4) column->LookupItems = {"Active", "Inactive", "Blocked"};
        }
        if (t > 0) {
            std::string master = "TABLE_" + std::to_string(t - 1);
            table.RefTables.AddTable(master);
            table.RefTables.AddPair(master, "COLUMN_0", "PARENT_ID");
        }
        db.Tables.push_back(std::move(table));
    }
    return db;
}

std::string DatabaseJson(const schema::TDatabaseInfor& db) {
    std::string out = "{\"name\": " + Json(db.Name) + ", \"tables\": [";
    for (size_t t = 0; t < db.Tables.size(); ++t) {
        const schema::TTableInfor& table = db.Tables[t];
        out += t ? ",\n" : "\n";
        out += "{\"name\": " + Json(table.TableName) + ", \"type\": " + Json(table.TableType) +
               ", \"label\": " + Json(table.TableLabel) + ", \"columns\": [";
        for (size_t c = 0; c < table.columns().size(); ++c) {
            const schema::ColumnRecord& column = table.columns()[c];
            out += c ? ", " : "";
            out += "{\"name\": " + Json(column.Name) + ", \"type\": " + Json(column.Type) +
                   ", \"label\": " + Json(column.Label) +
                   ", \"dataType\": " + Json(column.DataType) +
                   ", \"size\": " + std::to_string(column.Length) +
                   ", \"key\": " + std::to_string(column.Flags & schema::kColumnKey) +
                   ", \"items\": [";
            for (size_t i = 0; i < column.LookupItems.size(); ++i)
                out += (i ? ", " : "") + Json(column.LookupItems[i]);
            out += "]}";
        }
        out += "], \"refs\": [";
        for (int r = 0; r < table.RefTables.Count(); ++r) {
            const auto& ref = table.RefTables[r];
            out += r ? ", " : "";
            out += "{\"table\": " + Json(ref.name) + ", \"pairs\": [";
            for (size_t p = 0; p < ref.pairs.size(); ++p)
                out += std::string(p ? ", " : "") + "[" + Json(ref.pairs[p].RefColumn) + ", " +
                       Json(ref.pairs[p].KeyColumn) + "]";
            out += "]}";
        }
        out += "]}";
    }
    return out + "\n]}\n";
}

}  // namespace morva::bench

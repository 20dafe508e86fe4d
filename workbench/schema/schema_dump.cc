#include "workbench/schema/schema_dump.h"

#include "component/quoted_text.h"
#include "sqlcompiler/table_file_dump.h"

namespace morva::schema {

namespace {

using com::Quoted;
using sql::JsonString;

}  // namespace

std::string DumpSchema(const TSchema& schema) {
    std::string out = "schema " + Quoted(schema.Name) + " type " + Quoted(schema.SchemaType) +
                      " label " + Quoted(schema.SchemaLabel) + " database " +
                      Quoted(schema.DbName) + "\n";
    for (const TSchemaInfor& t : schema.Tables) {
        out += "table " + Quoted(t.TableName) + " type " + Quoted(t.TableType) + " label " +
               Quoted(t.TableLabel) + "\n";
        for (size_t i = 0; i < t.ColumnNames.size(); ++i)
            out += "  column " + Quoted(t.ColumnNames[i]) + " type " + Quoted(t.ColumnTypes[i]) +
                   " label " + Quoted(t.ColumnLabels[i]) + "\n";
        for (const TRefTables::Entry& r : t.RefTables.entries()) {
            out += "  references " + Quoted(r.name) + "\n";
            for (const TRefColumn& p : r.pairs)
                out += "    " + Quoted(p.KeyColumn) + " -> " + Quoted(p.RefColumn) + "\n";
        }
    }
    return out;
}

std::string DumpSchemaJson(const TSchema& schema) {
    std::string out = "{\"name\": " + JsonString(schema.Name) +
                      ", \"type\": " + JsonString(schema.SchemaType) +
                      ", \"label\": " + JsonString(schema.SchemaLabel) +
                      ", \"database\": " + JsonString(schema.DbName) + ", \"tables\": [";
    for (size_t ti = 0; ti < schema.Tables.size(); ++ti) {
        const TSchemaInfor& t = schema.Tables[ti];
        out += ti ? ",\n  " : "\n  ";
        out += "{\"name\": " + JsonString(t.TableName) + ", \"type\": " + JsonString(t.TableType) +
               ", \"label\": " + JsonString(t.TableLabel) + ", \"columns\": [";
        for (size_t i = 0; i < t.ColumnNames.size(); ++i) {
            out += i ? ", " : "";
            out += "{\"name\": " + JsonString(t.ColumnNames[i]) +
                   ", \"type\": " + JsonString(t.ColumnTypes[i]) +
                   ", \"label\": " + JsonString(t.ColumnLabels[i]) + "}";
        }
        out += "], \"references\": [";
        for (int r = 0; r < t.RefTables.Count(); ++r) {
            out += r ? ", " : "";
            out += "{\"table\": " + JsonString(t.RefTables[r].name) + ", \"pairs\": [";
            const auto& pairs = t.RefTables[r].pairs;
            for (size_t p = 0; p < pairs.size(); ++p) {
                out += p ? ", " : "";
                out += "{\"refColumn\": " + JsonString(pairs[p].RefColumn) +
                       ", \"keyColumn\": " + JsonString(pairs[p].KeyColumn) + "}";
            }
            out += "]}";
        }
        out += "]}";
    }
    out += schema.Tables.empty() ? "]}\n" : "\n]}\n";
    return out;
}

std::string DumpDatabaseJson(const std::string& database, const std::vector<sql::TableFile>& tables,
                             const std::vector<TSchema>& schemas) {
    std::string members = "\"schemas\": [";
    for (size_t i = 0; i < schemas.size(); ++i) {
        std::string one = DumpSchemaJson(schemas[i]);
        one.pop_back();  // the line feed that ends a schema dumped on its own
        members += (i ? ",\n" : "\n") + one;
    }
    members += schemas.empty() ? "]" : "\n]";
    return sql::DumpTablesJson(database, tables, members);
}

}  // namespace morva::schema

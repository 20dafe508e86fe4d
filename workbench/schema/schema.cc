#include "workbench/schema/schema.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "component/atomic_file.h"
#include "component/file_name.h"
#include "component/text_util.h"
#include "sqlcompiler/table_file.h"

namespace morva::schema {

namespace fs = std::filesystem;

namespace {

std::string InvalidFormat(const std::string& path) {
    return "Invalid file format(" + path + ")";
}

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        if (error) *error = path + ": " + std::strerror(EISDIR);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    *bytes = std::move(s).str();
    return true;
}

bool ReadHeader(com::FieldReader& in) {
    int32_t magic = 0, version = 0;
    return in.Int32(&magic) && magic == kSchemaMagic && in.Int32(&version) &&
           version == kSchemaVersion;
}

bool ReadTable(com::FieldReader& in, TSchemaInfor* table) {
    int32_t columns = 0;
    if (!in.ShortString(&table->TableName) || !in.ShortString(&table->TableType) ||
        !in.ShortString(&table->TableLabel) || !in.Count(&columns))
        return false;
    for (int32_t i = 0; i < columns; ++i) {
        std::string name, type, label;
        if (!in.ShortString(&name) || !in.ShortString(&type) || !in.ShortString(&label))
            return false;
        table->AppendColumn(name, type, label);
    }
    return table->RefTables.Read(in);
}

}  // namespace

TSchemaInfor TSchemaInfor::FromTable(const TTableInfor& table) {
    TSchemaInfor t;
    t.TableName = table.TableName;
    t.TableType = table.TableType;
    t.TableLabel = table.TableLabel;
    auto selected = static_cast<size_t>(table.CountSelectedColumns());
    t.ColumnNames.reserve(selected);
    t.ColumnTypes.reserve(selected);
    t.ColumnLabels.reserve(selected);
    for (const ColumnRecord& c : table.columns())
        if (c.Selected) t.AppendColumn(c.Name, c.Type, c.Label);
    t.RefTables.CopyFrom(table.RefTables);
    return t;
}

void TSchemaInfor::AppendColumn(std::string_view name, std::string_view type,
                                std::string_view label) {
    ColumnNames.emplace_back(name);
    ColumnTypes.emplace_back(type);
    ColumnLabels.emplace_back(label);
}

void TSchemaInfor::RemoveColumn(size_t index) {
    ColumnNames.erase(ColumnNames.begin() + static_cast<long>(index));
    ColumnTypes.erase(ColumnTypes.begin() + static_cast<long>(index));
    ColumnLabels.erase(ColumnLabels.begin() + static_cast<long>(index));
}

int TSchemaInfor::FindColumnIgnoringCase(std::string_view name) const {
    for (size_t i = 0; i < ColumnNames.size(); ++i)
        if (com::EqualsIgnoreCase(ColumnNames[i], name)) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<TSchema> TSchema::CreateFromDatabase(std::string_view name, std::string_view type,
                                                     std::string_view label,
                                                     const TDatabaseInfor& db) {
    auto s = std::make_unique<TSchema>();
    s->Name = name;
    s->SchemaType = type;
    s->SchemaLabel = label;
    s->DbName = db.Name;
    size_t selected = 0;
    for (const TTableInfor& t : db.Tables) selected += t.Selected ? 1 : 0;
    s->Tables.reserve(selected);
    for (const TTableInfor& t : db.Tables)
        if (t.Selected) s->Tables.push_back(TSchemaInfor::FromTable(t));
    return s;
}

int TSchema::FindTable(std::string_view name) const {
    for (size_t i = 0; i < Tables.size(); ++i)
        if (Tables[i].TableName == name) return static_cast<int>(i);
    return -1;
}

// Tables of the database that are selected are kept or appended (new ones go to the end, so
// the user's order survives); deselected ones are dropped. Schema tables that the database
// does not know are left alone. Columns are matched ignoring case.
void TSchema::Synchronise(const TDatabaseInfor& db) {
    for (const TTableInfor& dt : db.Tables) {
        int index = FindTable(dt.TableName);
        if (index < 0) {
            if (dt.Selected) Tables.push_back(TSchemaInfor::FromTable(dt));
            continue;
        }
        if (!dt.Selected) {
            Tables.erase(Tables.begin() + index);
            continue;
        }
        TSchemaInfor& st = Tables[static_cast<size_t>(index)];
        st.TableType = dt.TableType;
        st.TableLabel = dt.TableLabel;
        for (const ColumnRecord& c : dt.columns()) {
            int ci = st.FindColumnIgnoringCase(c.Name);
            if (ci < 0) {
                if (c.Selected) st.AppendColumn(c.Name, c.Type, c.Label);
            } else if (c.Selected) {
                auto i = static_cast<size_t>(ci);
                st.ColumnNames[i] = c.Name;
                st.ColumnTypes[i] = c.Type;
                st.ColumnLabels[i] = c.Label;
            } else {
                st.RemoveColumn(static_cast<size_t>(ci));
            }
        }
        st.RefTables.CopyFrom(dt.RefTables);
    }
}

bool TSchema::ApplyToDatabase(TDatabaseInfor& db, std::string* error) const {
    for (const TSchemaInfor& st : Tables) {
        TTableInfor* dt = db.FindTable(st.TableName);
        if (!dt) {
            if (error) *error = "Table " + st.TableName + " not found in database " + db.Name;
            return false;
        }
        dt->Selected = true;
        TDatabaseInfor::SetTableType(*dt, st.TableType);
        TDatabaseInfor::SetTableLabel(*dt, st.TableLabel);
        for (size_t i = 0; i < st.ColumnNames.size(); ++i) {
            ColumnRecord* c = dt->FindColumn(st.ColumnNames[i]);
            if (!c) {
                if (error)
                    *error = "Column " + st.ColumnNames[i] + " not found in table " + st.TableName;
                return false;
            }
            c->Selected = true;
            c->Type = com::CutShortString(st.ColumnTypes[i]);
            c->Label = com::CutShortString(st.ColumnLabels[i]);
        }
        dt->RefTables.CopyFrom(st.RefTables);
    }
    return true;
}

std::string TSchema::Encode() const {
    com::FieldWriter out;
    out.Int32(kSchemaMagic);
    out.Int32(kSchemaVersion);
    out.ShortString(Name);
    out.ShortString(SchemaType);
    out.ShortString(SchemaLabel);
    out.ShortString(DbName);
    out.Int32(static_cast<int32_t>(Tables.size()));
    for (const TSchemaInfor& t : Tables) {
        out.ShortString(t.TableName);
        out.ShortString(t.TableType);
        out.ShortString(t.TableLabel);
        out.Int32(static_cast<int32_t>(t.ColumnNames.size()));
        for (size_t i = 0; i < t.ColumnNames.size(); ++i) {
            out.ShortString(t.ColumnNames[i]);
            out.ShortString(t.ColumnTypes[i]);
            out.ShortString(t.ColumnLabels[i]);
        }
        t.RefTables.Write(out);
    }
    return out.Take();
}

bool TSchema::Decode(std::string_view bytes, TSchema* schema) {
    com::FieldReader in(bytes);
    if (!ReadHeader(in)) return false;
    int32_t tables = 0;
    if (!in.ShortString(&schema->Name) || !in.ShortString(&schema->SchemaType) ||
        !in.ShortString(&schema->SchemaLabel) || !in.ShortString(&schema->DbName) ||
        !in.Count(&tables))
        return false;
    for (int32_t i = 0; i < tables; ++i) {
        TSchemaInfor t;
        if (!ReadTable(in, &t)) return false;
        schema->Tables.push_back(std::move(t));
    }
    return in.AtEnd();
}

std::unique_ptr<TSchema> TSchema::LoadFrom(const std::string& path, std::string* error) {
    auto schema = std::make_unique<TSchema>();
    std::string bytes;
    if (!ReadWholeFile(path, &bytes, error)) return schema;
    if (!Decode(bytes, schema.get()) && error) *error = InvalidFormat(path);
    return schema;
}

std::unique_ptr<TSchema> TSchema::Load(const std::string& databaseDir, const std::string& dbName,
                                       const std::string& name, std::string* error) {
    std::optional<std::string> path = SchemaFilePath(databaseDir, dbName, name, error);
    if (!path) return std::make_unique<TSchema>();
    return LoadFrom(*path, error);
}

bool TSchema::SaveTo(const std::string& path, std::string* error) const {
    return com::WriteFileAtomically(path, Encode(), error);
}

bool TSchema::Save(const std::string& databaseDir, std::string* error) const {
    std::optional<std::string> path = SchemaFilePath(databaseDir, DbName, Name, error);
    return path && SaveTo(*path, error);
}

bool TSchema::Delete(const std::string& databaseDir, std::string* error) const {
    std::optional<std::string> path = SchemaFilePath(databaseDir, DbName, Name, error);
    if (!path) return false;
    std::error_code ec;
    if (!fs::remove(*path, ec) || ec) {
        if (error) *error = *path + ": " + (ec ? ec.message() : std::strerror(ENOENT));
        return false;
    }
    return true;
}

std::optional<std::string> SchemaFilePath(const std::string& databaseDir, const std::string& dbName,
                                          const std::string& name, std::string* error) {
    std::optional<std::string> folder = DatabaseFolder(databaseDir, dbName, nullptr);
    if (folder && com::IsSafeFileName(name))
        return *folder + "/" + sql::kSchemaFolderName + "/" + name + ".CSF";
    if (error) *error = "'" + dbName + "/" + name + "' cannot name a schema file";
    return std::nullopt;
}

std::vector<std::string> SchemaNames(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string file = entry.path().filename().string();
        if (entry.is_regular_file(ec) && file.size() > 4 &&
            com::EqualsIgnoreCase(file.substr(file.size() - 4), ".CSF"))
            files.push_back(file);
    }
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return com::ToUpperAscii(a) < com::ToUpperAscii(b);
    });
    std::vector<std::string> names;
    for (const std::string& file : files) {
        std::string bytes, name;
        if (!ReadWholeFile(folder + "/" + file, &bytes, nullptr)) continue;
        com::FieldReader in(bytes);
        if (ReadHeader(in) && in.ShortString(&name)) names.push_back(name);
    }
    return names;
}

}  // namespace morva::schema

#include "workbench/schema/database_infor.h"

#include <filesystem>

#include "component/message_box.h"

namespace morva::schema {

namespace fs = std::filesystem;

std::string DatabaseFolder(const std::string& databaseDir, const std::string& name) {
    return databaseDir + "/" + name;
}

ColumnRecord* TTableInfor::AddColumn(bool selected, std::string_view name, std::string_view type,
                                     std::string_view label, std::string_view dataType,
                                     int32_t length, int32_t displayWidth, int32_t flags,
                                     int32_t precision, int32_t scale) {
    if (ColumnCount() >= capacity_) return nullptr;
    ColumnRecord c;
    c.Selected = selected;
    c.Name = CutShortString(name);
    c.Type = CutShortString(type);
    c.Label = CutShortString(label);
    c.DataType = CutShortString(dataType);
    c.Length = length;
    c.DisplayWidth = displayWidth;
    c.Flags = flags;
    c.Precision = precision;
    c.Scale = scale;
    columns_.push_back(std::move(c));
    return &columns_.back();
}

ColumnRecord* TTableInfor::ColumnAt(int32_t index) {
    if (index < 0 || index >= ColumnCount()) return nullptr;
    return &columns_[static_cast<size_t>(index)];
}

const ColumnRecord* TTableInfor::ColumnAt(int32_t index) const {
    return const_cast<TTableInfor*>(this)->ColumnAt(index);
}

ColumnRecord* TTableInfor::FindColumn(std::string_view name) {
    for (ColumnRecord& c : columns_)
        if (c.Name == name) return &c;
    return nullptr;
}

const ColumnRecord* TTableInfor::FindColumn(std::string_view name) const {
    return const_cast<TTableInfor*>(this)->FindColumn(name);
}

int32_t TTableInfor::CountSelectedColumns() const {
    int32_t n = 0;
    for (const ColumnRecord& c : columns_) n += c.Selected ? 1 : 0;
    return n;
}

TTableInfor* TDatabaseInfor::FindTable(std::string_view name) {
    for (TTableInfor& t : Tables)
        if (t.TableName == name) return &t;
    return nullptr;
}

const TTableInfor* TDatabaseInfor::FindTable(std::string_view name) const {
    return const_cast<TDatabaseInfor*>(this)->FindTable(name);
}

void TDatabaseInfor::SetAllMarks(bool selected) {
    for (TTableInfor& t : Tables) {
        t.Selected = selected;
        for (int32_t i = 0; i < t.ColumnCount(); ++i) t.ColumnAt(i)->Selected = selected;
    }
}

void TDatabaseInfor::SetTableType(TTableInfor& table, std::string_view text) {
    table.TableType = CutShortString(text);
}

void TDatabaseInfor::SetTableLabel(TTableInfor& table, std::string_view text) {
    table.TableLabel = CutShortString(text);
}

bool TDatabaseInfor::ConfirmNewDatabase(const std::string& databaseDir, const std::string& name) {
    std::error_code ec;
    if (!fs::is_directory(DatabaseFolder(databaseDir, name), ec)) return true;
    std::string text = "Database " + name + " already exist. Continue anyway ?";
    return com::ShowMessageBox(text, "Confirm", com::MbIcon::Question, com::MbButtons::YesNo) ==
           com::IDYES;
}

namespace {

/// Deletes the plain files of `folder`, then the folder itself.
bool RemoveFolder(const fs::path& folder, std::string* error) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file()) continue;
        if (!fs::remove(entry.path(), ec) || ec) break;
    }
    if (!ec) fs::remove(folder, ec);
    if (ec) {
        if (error) *error = folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace

bool TDatabaseInfor::DeleteDatabaseFolder(const std::string& databaseDir, const std::string& name,
                                          std::string* error) {
    fs::path folder = DatabaseFolder(databaseDir, name);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return true;
    if (fs::is_directory(folder / "Schema", ec) && !RemoveFolder(folder / "Schema", error))
        return false;
    return RemoveFolder(folder, error);
}

}  // namespace morva::schema

#include "workbench/schema/database_infor.h"

#include <filesystem>

#include "component/binary_fields.h"
#include "component/message_box.h"
#include "component/utf8.h"
#include "sqlcompiler/table_file.h"

namespace morva::schema {

namespace fs = std::filesystem;

ColumnRecord* TTableInfor::AddColumn(bool selected, std::string_view name, std::string_view type,
                                     std::string_view label, std::string_view dataType,
                                     int32_t length, int32_t displayWidth, int32_t flags,
                                     int32_t precision, int32_t scale) {
    if (ColumnCount() >= capacity_) return nullptr;
    ColumnRecord c;
    c.Selected = selected;
    c.Name = com::CutShortString(name);
    c.Type = com::CutShortString(type);
    c.Label = com::CutShortString(label);
    c.DataType = com::CutShortString(dataType);
    c.Length = length;
    c.DisplayWidth = displayWidth;
    c.Flags = flags;
    c.Precision = precision;
    c.Scale = scale;
    columns_.push_back(std::move(c));
    return &columns_.back();
}

namespace {

// Cuts `text` as CutShortString does, in place: texts read from a table file already fit.
void CutInPlace(std::string& text) {
    text.resize(com::CutUtf8(text, com::kShortStringMax).size());
}

}  // namespace

ColumnRecord* TTableInfor::AddColumn(ColumnRecord&& column) {
    if (ColumnCount() >= capacity_) return nullptr;
    for (std::string* text : {&column.Name, &column.Type, &column.Label, &column.DataType})
        CutInPlace(*text);
    columns_.push_back(std::move(column));
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
    table.TableType = com::CutShortString(text);
}

void TDatabaseInfor::SetTableLabel(TTableInfor& table, std::string_view text) {
    table.TableLabel = com::CutShortString(text);
}

bool TDatabaseInfor::ConfirmNewDatabase(const std::string& databaseDir, const std::string& name) {
    std::optional<std::string> folder = DatabaseFolder(databaseDir, name, nullptr);
    std::error_code ec;
    if (!folder || !fs::is_directory(*folder, ec)) return true;
    std::string text = "Database " + name + " already exist. Continue anyway ?";
    return com::ShowMessageBox(text, "Confirm", com::MbIcon::Question, com::MbButtons::YesNo) ==
           com::IDYES;
}

bool TDatabaseInfor::DeleteDatabaseFolder(const std::string& databaseDir, const std::string& name,
                                          std::string* error) {
    std::optional<std::string> checked = DatabaseFolder(databaseDir, name, error);
    if (!checked) return false;
    std::error_code ec;
    if (!fs::is_directory(*checked, ec)) return true;
    return sql::DeleteDatabaseFolder(*checked, error);
}

}  // namespace morva::schema

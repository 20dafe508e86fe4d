// The builder functions behind the grammar's actions: what each recognised piece of a
// statement does to the model and to the scanner's mode.

#include <algorithm>

#include "component/text_util.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/messages.h"

namespace morva::sql {

using com::ToUpperAscii;

namespace {

// The lines of a comment text, each trimmed of blanks; an empty line reads "(None)".
std::vector<std::string> CommentLines(std::string_view text) {
    std::vector<std::string> lines;
    for (;;) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        size_t first = line.find_first_not_of(" \t\r");
        size_t last = line.find_last_not_of(" \t\r");
        lines.emplace_back(first == std::string_view::npos ? std::string_view("(None)")
                                                           : line.substr(first, last - first + 1));
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

// A copy of `column` without the key mark and the reference type unless they are kept.
std::unique_ptr<ColumnDef> CopyColumn(const ColumnDef& column, bool keys, bool references) {
    auto copy = std::make_unique<ColumnDef>(column);
    if (!keys) copy->flags &= ~kFlagKey;
    if (!references && (copy->type == "RefTop" || copy->type == "Ref"))
        copy->type = copy->flags & kFlagKey ? "Key" : "Normal";
    if (!keys && copy->type == "Key") copy->type = "Normal";
    return copy;
}

}  // namespace

void Compilation::BeginTable(const std::string& name) {
    auto table = std::make_unique<TableDef>();
    table->name = ToUpperAscii(name);
    table->label = name;
    currentTable_ = model_.AddTable(std::move(table));
    tableLine_ = line;
}

void Compilation::EndTable() {
    currentTable_ = nullptr;
    mode = kModeSkipping;
}

void Compilation::BeginColumn(const std::string& name) {
    auto column = std::make_unique<ColumnDef>();
    column->name = ToUpperAscii(name);
    currentColumn_ = column.get();
    // A column added to a table that was not found belongs to nothing; it is kept aside so
    // that the current column stays valid until the model is released.
    (currentTable_ ? currentTable_->columns : orphanColumns_).push_back(std::move(column));
    columnLine_ = line;
}

void Compilation::BeginDomain(const std::string& name) {
    auto column = std::make_unique<ColumnDef>();
    column->name = ToUpperAscii(name);
    currentColumn_ = column.get();
    model_.domains.columns.push_back(std::move(column));
}

void Compilation::EndStatement() {
    mode = kModeSkipping;
}

void Compilation::SetDataType(const char* name) {
    if (currentColumn_) currentColumn_->dataType = name;
}

void Compilation::SetIdentType(const std::string& name) {
    if (!currentColumn_) return;
    if (const ColumnDef* domain = model_.domains.FindColumn(name);
        domain && domain != currentColumn_) {
        currentColumn_->dataType = domain->dataType;
        currentColumn_->length = domain->length;
        currentColumn_->precision = domain->precision;
        currentColumn_->scale = domain->scale;
    } else {
        currentColumn_->dataType = name;
    }
}

void Compilation::SetSize(int32_t length) {
    if (currentColumn_ && currentColumn_->length == 0) currentColumn_->length = length;
}

void Compilation::SetScale(int32_t scale) {
    if (currentColumn_) currentColumn_->scale = scale;
}

void Compilation::SetPrecision(int32_t precision) {
    if (currentColumn_) currentColumn_->precision = precision;
}

void Compilation::StartComputed() {
    mode = kModeComputed;
    depth = 0;
}

void Compilation::ComputedIdent(const std::string& name) {
    if (!currentColumn_ || !currentTable_) return;
    if (const ColumnDef* source = currentTable_->FindColumn(name))
        currentColumn_->dataType = source->dataType;
}

void Compilation::EndComputed() {
    if (currentColumn_) currentColumn_->flags |= kFlagComputed;
    mode = kModeStatement;
}

void Compilation::StartCheck() {
    mode = kModeCheck;
    depth = 0;
}

void Compilation::EndCheck() {
    mode = kModeStatement;
}

void Compilation::MarkColumnKey() {
    if (currentColumn_) currentColumn_->MarkKey();
}

void Compilation::MarkKeyColumn(const std::string& name) {
    if (!currentTable_) return;
    if (ColumnDef* column = currentTable_->FindColumn(name)) {
        column->MarkKey();
    } else {
        ReportLine(msg::kIndexColumnNotFound, scriptName_.c_str(), line, name.c_str(),
                   currentTable_->name.c_str());
    }
}

void Compilation::StartReference(const std::string& masterTable) {
    pendingMaster_ = masterTable;
    pendingMasters_.clear();
}

void Compilation::AddPendingMaster(const std::string& name) {
    pendingMasters_.push_back(name);
}

void Compilation::StartForeignKey() {
    pendingLocals_.clear();
}

void Compilation::AddPendingLocal(const std::string& name) {
    pendingLocals_.push_back(name);
}

void Compilation::EndColumnReference() {
    TableDef* table = currentTable_;
    std::string master = ToUpperAscii(pendingMaster_);
    if (!table || master == table->name) return;
    RefGroup group{master, {}};
    for (size_t i = 0; i < pendingMasters_.size(); ++i) {
        const std::string& name = pendingMasters_[i];
        if (ColumnDef* column = table->FindColumn(name)) {
            group.AddPair(ToUpperAscii(name), column->name);
            column->type = i == 0 ? "RefTop" : "Ref";
        } else {
            ReportLine(msg::kRefColumnNotFound, scriptName_.c_str(), line, name.c_str(),
                       table->name.c_str());
            ++warnings_;
        }
    }
    FinishReference(*table, std::move(group));
}

void Compilation::EndForeignKey() {
    TableDef* table = currentTable_;
    std::string master = ToUpperAscii(pendingMaster_);
    if (!table || master == table->name) return;
    RefGroup group{master, {}};
    size_t n = std::min(pendingLocals_.size(), pendingMasters_.size());
    for (size_t i = 0; i < n; ++i) {
        group.AddPair(ToUpperAscii(pendingMasters_[i]), ToUpperAscii(pendingLocals_[i]));
        if (ColumnDef* column = table->FindColumn(pendingLocals_[i]))
            column->type = i == 0 ? "RefTop" : "Ref";
    }
    FinishReference(*table, std::move(group));
}

void Compilation::AddCatalogueReference(TableDef& table, const std::string& masterTable,
                                        const std::string& masterColumn,
                                        const std::string& localColumn) {
    std::string master = ToUpperAscii(masterTable);
    if (master == table.name) return;
    for (RefGroup& group : table.references) {
        if (group.masterTable == master) {
            group.AddPair(ToUpperAscii(masterColumn), ToUpperAscii(localColumn));
            return;
        }
    }
    RefGroup group{master, {}};
    group.AddPair(ToUpperAscii(masterColumn), ToUpperAscii(localColumn));
    FinishReference(table, std::move(group));
}

void Compilation::FinishReference(TableDef& table, RefGroup group) {
    if (group.pairs.empty()) return;
    std::string master = group.masterTable;
    table.references.push_back(std::move(group));
    table.AppendType("Sub");
    if (TableDef* target = model_.FindTable(master)) target->AppendType("Master");
}

TableDef* Compilation::AppendTable(const std::string& name, const std::string& label) {
    try {
        auto table = std::make_unique<TableDef>();
        table->name = ToUpperAscii(name);
        table->label = label;
        return model_.AddTable(std::move(table));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Compilation::FindCurrentTable(const std::string& name) {
    currentTable_ = model_.FindTable(name);
    if (!currentTable_) ReportLine(msg::kTableNotFound, scriptName_.c_str(), line, name.c_str());
}

void Compilation::EndIndex() {
    currentTable_ = nullptr;
    mode = kModeSkipping;
}

void Compilation::SyntaxError() {
    ReportLine(msg::kSyntaxError, scriptName_.c_str(), line);
    ++errors_;
}

void Compilation::StackOverflow() {
    ReportLine(msg::kStackOverflow, scriptName_.c_str(), line);
    ++fatals_;
    ++errors_;
}

}  // namespace morva::sql

namespace morva::sql {

bool Compilation::SelectTable(std::string_view name) {
    currentTable_ = model_.FindTable(name);
    currentColumn_ = nullptr;
    return currentTable_ != nullptr;
}

bool Compilation::SelectColumn(std::string_view name) {
    currentColumn_ = currentTable_ ? currentTable_->FindColumn(name) : nullptr;
    return currentColumn_ != nullptr;
}

void Compilation::LabelTable(std::string_view text) {
    if (currentTable_ && !text.empty()) currentTable_->label = CommentLines(text).front();
}

void Compilation::LabelColumn(std::string_view text) {
    if (!currentColumn_ || text.empty()) return;
    std::vector<std::string> lines = CommentLines(text);
    currentColumn_->label = lines.front();
    if (lines.size() > 1) currentColumn_->lookupItems.assign(lines.begin() + 1, lines.end());
}

void Compilation::AddLookupItem(const std::string& item) {
    if (currentColumn_) currentColumn_->lookupItems.push_back(item);
}

void Compilation::InheritColumns(const std::vector<std::string>& parents) {
    if (!currentTable_) return;
    std::vector<std::unique_ptr<ColumnDef>> own = std::move(currentTable_->columns);
    std::vector<std::unique_ptr<ColumnDef>>& columns = currentTable_->columns;
    columns.clear();
    for (const std::string& name : parents) {
        const TableDef* parent = model_.FindTable(name);
        if (!parent || parent == currentTable_) continue;
        for (const auto& column : parent->columns) {
            if (currentTable_->FindColumn(column->name)) continue;
            auto mine = std::find_if(own.begin(), own.end(),
                                     [&](const auto& c) { return c && c->name == column->name; });
            columns.push_back(mine != own.end() ? std::move(*mine)
                                                : CopyColumn(*column, false, false));
        }
    }
    for (auto& column : own)
        if (column) columns.push_back(std::move(column));
}

void Compilation::CopyColumns(std::string_view source, bool keys, bool references) {
    const TableDef* from = model_.FindTable(source);
    if (!currentTable_ || !from || from == currentTable_) return;
    for (const auto& column : from->columns) {
        if (currentTable_->FindColumn(column->name)) continue;
        currentTable_->columns.push_back(CopyColumn(*column, keys, references));
    }
    if (!references) return;
    for (const RefGroup& group : from->references) {
        if (group.masterTable != currentTable_->name) FinishReference(*currentTable_, group);
    }
}

void Compilation::ResolveMasterKey() {
    if (!pendingMasters_.empty()) return;
    const TableDef* master = model_.FindTable(pendingMaster_);
    if (!master) return;
    for (const auto& column : master->columns)
        if (column->flags & kFlagKey) pendingMasters_.push_back(column->name);
}

void Compilation::Unexpected(int32_t atLine, std::string_view token, std::string_view expected) {
    ReportLine(msg::kUnexpected, scriptName_.c_str(), atLine, std::string(token).c_str(),
               std::string(expected).c_str());
    ++errors_;
}

void Compilation::RefuseInput(const char* why) {
    ReportLine(msg::kRefusedInput, scriptName_.c_str(), why);
    ++errors_;
}

void Compilation::MarkMasters() {
    for (const auto& table : model_.tables) {
        for (const RefGroup& group : table->references)
            if (TableDef* target = model_.FindTable(group.masterTable))
                target->AppendType("Master");
    }
}

}  // namespace morva::sql

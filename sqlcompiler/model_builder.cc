// The builder functions behind the grammar's actions: what each recognised piece of a
// statement does to the model and to the scanner's mode.

#include "component/text_util.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/messages.h"

namespace morva::sql {

using com::ToUpperAscii;

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

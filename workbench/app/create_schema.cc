#include "workbench/app/create_schema.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "component/binary_fields.h"
#include "workbench/app/add_ref_table.h"
#include "workbench/app/column_edit.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/type_label.h"
#include "workbench/schema/schema.h"

namespace morva::app {

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString TrueFalse(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QTreeWidget* MakeListView(QWidget* parent, const char* name, const QStringList& headers) {
    auto* view = new QTreeWidget(parent);
    view->setObjectName(QLatin1String(name));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setHeaderLabels(headers);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return view;
}

}  // namespace

TCreateSchema::TCreateSchema(TSettings& settings, TTypeLabel* typeLabel, TColumnEdit* columnEdit,
                             TAddRefTable* addRef, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      typeLabel_(typeLabel),
      columnEdit_(columnEdit),
      addRef_(addRef) {
    setObjectName(QStringLiteral("CreateSchema"));
    lvTable = MakeListView(
        this, "lvTable",
        {QStringLiteral("Name"), QStringLiteral("Table Type"), QStringLiteral("Label")});
    lvTable->setColumnWidth(0, 180);
    lvTable->setColumnWidth(1, 110);
    lvColumn = MakeListView(
        this, "lvColumn",
        {QStringLiteral("Name"), QStringLiteral("Column Type"), QStringLiteral("Label"),
         QStringLiteral("Datatype"), QStringLiteral("Size"), QStringLiteral("Display size"),
         QStringLiteral("Index"), QStringLiteral("Readonly"), QStringLiteral("Precision"),
         QStringLiteral("Scale")});
    const int columnWidths[] = {150, 90, 130, 80, 50, 80, 50, 65, 65, 50};
    for (int i = 0; i < 10; ++i) lvColumn->setColumnWidth(i, columnWidths[i]);
    lbRefTable = new QListWidget(this);
    lbRefTable->setObjectName(QStringLiteral("lbRefTable"));
    lbRefTable->setMaximumWidth(170);

    auto button = [this](const char* name, const QString& caption, void (TCreateSchema::*click)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        if (click) connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    bt1Edit = button("bt1Edit", QStringLiteral("&1. Edit"), &TCreateSchema::bt1EditClick);
    bt2Clear = button("bt2Clear", QStringLiteral("&2. Clear all"), &TCreateSchema::bt2ClearClick);
    bt3Select =
        button("bt3Select", QStringLiteral("&3. Select all"), &TCreateSchema::bt3SelectClick);
    btTablesOnly =
        button("btTablesOnly", QStringLiteral("&Selected Only"), &TCreateSchema::btTablesOnlyClick);
    bt4Edit = button("bt4Edit", QStringLiteral("&4. Edit"), &TCreateSchema::bt4EditClick);
    bt5Clear = button("bt5Clear", QStringLiteral("&5. Clear all"), &TCreateSchema::bt5ClearClick);
    bt6Select =
        button("bt6Select", QStringLiteral("&6. Select all"), &TCreateSchema::bt6SelectClick);
    btColumnsOnly = button("btColumnsOnly", QStringLiteral("Selected O&nly"),
                           &TCreateSchema::btColumnsOnlyClick);
    btJoin = button("btJoin", QStringLiteral("&Join"), &TCreateSchema::btJoinClick);
    btEdit = button("btEdit", QStringLiteral("&Edit"), &TCreateSchema::btEditClick);
    btOk = button("btOk", QStringLiteral("OK"), &TCreateSchema::btOkClick);
    btOk->setDefault(true);
    btCancel = button("btCancel", QStringLiteral("Cancel"), nullptr);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Upper half: tables, their buttons, and the references of the shown table.
    auto* upper = new QWidget(this);
    auto* tableButtons = new QVBoxLayout;
    for (QPushButton* b : {bt1Edit, bt2Clear, bt3Select, btTablesOnly}) tableButtons->addWidget(b);
    tableButtons->addStretch();
    auto* refs = new QVBoxLayout;
    refs->addWidget(new QLabel(QStringLiteral("Reference tables:"), upper));
    refs->addWidget(lbRefTable);
    refs->addWidget(btJoin);
    auto* upperLayout = new QHBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->addWidget(lvTable, 1);
    upperLayout->addLayout(tableButtons);
    upperLayout->addLayout(refs);

    // Lower half: columns and their buttons, which move with the splitter.
    auto* lower = new QWidget(this);
    auto* columnButtons = new QVBoxLayout;
    for (QPushButton* b : {bt4Edit, bt5Clear, bt6Select, btColumnsOnly})
        columnButtons->addWidget(b);
    columnButtons->addStretch();
    auto* lowerLayout = new QHBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(lvColumn, 1);
    lowerLayout->addLayout(columnButtons);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->addWidget(upper);
    Splitter->addWidget(lower);
    Splitter->setChildrenCollapsible(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btEdit);
    bottom->addStretch();
    bottom->addWidget(btOk);
    bottom->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Splitter, 1);
    layout->addLayout(bottom);
    resize(860, 560);

    connect(lvTable, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (filling_ || !item) return;
        shownTable_ = item->data(0, kIndexRole).toInt();
        FillColumns();
        FillReferences();
    });
    connect(lvTable, &QTreeWidget::itemChanged, this, &TCreateSchema::ItemChanged);
    connect(lvColumn, &QTreeWidget::itemChanged, this, &TCreateSchema::ItemChanged);
    connect(lvTable, &QTreeWidget::itemDoubleClicked, this, &TCreateSchema::ItemDoubleClicked);
    connect(lvColumn, &QTreeWidget::itemDoubleClicked, this, &TCreateSchema::ItemDoubleClicked);
    connect(lbRefTable, &QListWidget::itemDoubleClicked, this, &TCreateSchema::btJoinClick);
}

void TCreateSchema::PrepareSchema(schema::TSchema& schema) {
    setWindowTitle(QStringLiteral("Create/Edit Database Schema"));
    schema_ = &schema;
    db_ = settings_.Database.get();
    for (QPushButton* b :
         {bt2Clear, bt3Select, bt5Clear, bt6Select, btTablesOnly, btColumnsOnly, btEdit})
        b->setVisible(true);
    SelectedTablesOnly = false;
    SelectedColumnsOnly = false;
    lvColumn->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (db_) {
        db_->SetAllMarks(false);
        std::string error;
        if (!schema.ApplyToDatabase(*db_, &error)) InformationBox(QString::fromStdString(error));
    }
    FillTables();
}

void TCreateSchema::PrepareDatabase(schema::TDatabaseInfor& db) {
    setWindowTitle(QStringLiteral("Edit Database Information"));
    schema_ = nullptr;
    db_ = &db;
    for (QPushButton* b :
         {bt2Clear, bt3Select, bt5Clear, bt6Select, btTablesOnly, btColumnsOnly, btEdit})
        b->setVisible(false);
    SelectedTablesOnly = false;
    SelectedColumnsOnly = false;
    lvColumn->setSelectionMode(QAbstractItemView::SingleSelection);
    FillTables();
}

schema::TTableInfor* TCreateSchema::TableOf(const QTreeWidgetItem* item) const {
    if (!db_ || !item) return nullptr;
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || index >= static_cast<int>(db_->Tables.size())) return nullptr;
    return &db_->Tables[static_cast<size_t>(index)];
}

schema::TTableInfor* TCreateSchema::ShownTable() const {
    if (!db_ || shownTable_ < 0 || shownTable_ >= static_cast<int>(db_->Tables.size()))
        return nullptr;
    return &db_->Tables[static_cast<size_t>(shownTable_)];
}

schema::ColumnRecord* TCreateSchema::ColumnOf(const QTreeWidgetItem* item) const {
    schema::TTableInfor* table = ShownTable();
    return table && item ? table->ColumnAt(item->data(0, kIndexRole).toInt()) : nullptr;
}

void TCreateSchema::FillTables() {
    filling_ = true;
    lvTable->clear();
    shownTable_ = -1;
    if (db_) {
        for (size_t i = 0; i < db_->Tables.size(); ++i) {
            const schema::TTableInfor& table = db_->Tables[i];
            if (SelectedTablesOnly && !table.Selected) continue;
            auto* item = new QTreeWidgetItem(lvTable);
            item->setData(0, kIndexRole, static_cast<int>(i));
            UpdateTableRow(item);
        }
    }
    filling_ = false;
    if (QTreeWidgetItem* first = lvTable->topLevelItem(0)) {
        lvTable->setCurrentItem(first);
        first->setSelected(true);
        shownTable_ = first->data(0, kIndexRole).toInt();
    }
    FillColumns();
    FillReferences();
}

void TCreateSchema::UpdateTableRow(QTreeWidgetItem* item) {
    const schema::TTableInfor* table = TableOf(item);
    if (!table) return;
    const bool wasFilling = filling_;
    filling_ = true;
    item->setText(0, Text(table->TableName));
    item->setText(1, Text(table->TableType));
    item->setText(2, Text(table->TableLabel));
    if (SchemaMode()) item->setCheckState(0, table->Selected ? Qt::Checked : Qt::Unchecked);
    filling_ = wasFilling;
}

void TCreateSchema::FillColumns() {
    filling_ = true;
    lvColumn->clear();
    if (const schema::TTableInfor* table = ShownTable()) {
        for (int i = 0; i < table->ColumnCount(); ++i) {
            if (SelectedColumnsOnly && !table->ColumnAt(i)->Selected) continue;
            auto* item = new QTreeWidgetItem(lvColumn);
            item->setData(0, kIndexRole, i);
            UpdateColumnRow(item);
        }
    }
    filling_ = false;
    if (QTreeWidgetItem* first = lvColumn->topLevelItem(0)) {
        lvColumn->setCurrentItem(first);
        first->setSelected(true);
    }
}

void TCreateSchema::UpdateColumnRow(QTreeWidgetItem* item) {
    const schema::ColumnRecord* c = ColumnOf(item);
    if (!c) return;
    const bool wasFilling = filling_;
    filling_ = true;
    const QStringList texts = {Text(c->Name),
                               Text(c->Type),
                               Text(c->Label),
                               Text(c->DataType),
                               QString::number(c->Length),
                               QString::number(c->DisplayWidth),
                               TrueFalse(c->Flags & schema::kColumnKey),
                               TrueFalse(c->Flags & schema::kColumnReadOnly),
                               QString::number(c->Precision),
                               QString::number(c->Scale)};
    for (int i = 0; i < texts.size(); ++i) item->setText(i, texts[i]);
    if (SchemaMode()) item->setCheckState(0, c->Selected ? Qt::Checked : Qt::Unchecked);
    filling_ = wasFilling;
}

void TCreateSchema::FillReferences() {
    lbRefTable->clear();
    if (const schema::TTableInfor* table = ShownTable())
        for (const auto& entry : table->RefTables.entries()) lbRefTable->addItem(Text(entry.name));
}

void TCreateSchema::ItemChanged(QTreeWidgetItem* item) {
    if (filling_ || !SchemaMode()) return;
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (item->treeWidget() == lvTable) {
        if (schema::TTableInfor* table = TableOf(item)) table->Selected = ticked;
    } else if (schema::ColumnRecord* c = ColumnOf(item)) {
        c->Selected = ticked;
    }
}

void TCreateSchema::ItemDoubleClicked(QTreeWidgetItem* item) {
    if (!SchemaMode() || !item) return;
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void TCreateSchema::TickAll(QTreeWidget* list, bool ticked) {
    if (!SchemaMode()) return;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
}

std::vector<QTreeWidgetItem*> TCreateSchema::SelectedRows(QTreeWidget* list) {
    std::vector<QTreeWidgetItem*> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->isSelected()) rows.push_back(list->topLevelItem(i));
    return rows;
}

void TCreateSchema::btTablesOnlyClick() {
    SelectedTablesOnly = !SelectedTablesOnly;
    FillTables();
}

void TCreateSchema::btColumnsOnlyClick() {
    SelectedColumnsOnly = !SelectedColumnsOnly;
    FillColumns();
}

// The entered type goes to every selected table, the label to the first one only.
void TCreateSchema::bt1EditClick() {
    const std::vector<QTreeWidgetItem*> rows = SelectedRows(lvTable);
    if (rows.empty()) return;
    const schema::TTableInfor* first = TableOf(rows.front());
    if (!first) return;
    typeLabel_->PrepareTable(Text(first->TableName), Text(first->TableType),
                             Text(first->TableLabel));
    if (typeLabel_->exec() != QDialog::Accepted) return;
    const std::string type = typeLabel_->Type().toStdString();
    for (size_t i = 0; i < rows.size(); ++i) {
        schema::TTableInfor* table = TableOf(rows[i]);
        schema::TDatabaseInfor::SetTableType(*table, type);
        if (i == 0)
            schema::TDatabaseInfor::SetTableLabel(*table, typeLabel_->Label().toStdString());
        UpdateTableRow(rows[i]);
    }
}

void TCreateSchema::bt4EditClick() {
    const std::vector<QTreeWidgetItem*> rows = SelectedRows(lvColumn);
    if (rows.empty() || !ShownTable()) return;
    if (!SchemaMode()) {
        schema::ColumnRecord* c = ColumnOf(rows.front());
        columnEdit_->Prepare(*db_, Text(ShownTable()->TableName), *c);
        if (columnEdit_->exec() != QDialog::Accepted) return;
        columnEdit_->WriteBack(*c);
        UpdateColumnRow(rows.front());
        return;
    }
    const schema::ColumnRecord* first = ColumnOf(rows.front());
    typeLabel_->PrepareColumn(Text(first->Name), Text(first->Type), Text(first->Label));
    if (typeLabel_->exec() != QDialog::Accepted) return;
    const std::string type = com::CutShortString(typeLabel_->Type().toStdString());
    for (size_t i = 0; i < rows.size(); ++i) {
        schema::ColumnRecord* c = ColumnOf(rows[i]);
        c->Type = type;
        if (i == 0) c->Label = com::CutShortString(typeLabel_->Label().toStdString());
        UpdateColumnRow(rows[i]);
    }
}

// Each selected table in turn is shown and joined; its references are replaced only when
// the reference dialog reports a change.
void TCreateSchema::btJoinClick() {
    if (!db_) return;
    const std::vector<QTreeWidgetItem*> rows = SelectedRows(lvTable);
    QStringList tables;
    for (int i = 0; i < lvTable->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lvTable->topLevelItem(i);
        if (!SchemaMode() || item->checkState(0) == Qt::Checked) tables << item->text(0);
    }
    for (QTreeWidgetItem* row : rows) {
        schema::TTableInfor* table = TableOf(row);
        if (!table) continue;
        lvTable->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
        QStringList masters;
        for (int i = 0; i < lvColumn->topLevelItemCount(); ++i)
            masters << lvColumn->topLevelItem(i)->text(0);
        const QListWidgetItem* ref = lbRefTable->currentItem();
        addRef_->Prepare(*db_, tables, Text(table->TableName), masters, table->RefTables,
                         ref ? ref->text() : QString());
        if (addRef_->exec() != QDialog::Accepted) continue;
        table->RefTables.CopyFrom(addRef_->RefTables());
        FillReferences();
    }
}

void TCreateSchema::btEditClick() {
    if (!schema_) return;
    typeLabel_->PrepareSchema(Text(schema_->DbName), Text(schema_->Name),
                              Text(schema_->SchemaLabel), Text(schema_->SchemaType), false);
    if (typeLabel_->exec() != QDialog::Accepted) return;
    schema_->SchemaType = com::CutShortString(typeLabel_->Type().toStdString());
    schema_->SchemaLabel = com::CutShortString(typeLabel_->Label().toStdString());
}

void TCreateSchema::btOkClick() {
    if (!db_) return;
    std::string error;
    if (!SchemaMode()) {
        BusyCursor busy;
        if (!db_->SaveDatabase(settings_.DatabaseDir.toStdString(), &error)) {
            InformationBox(QString::fromStdString(error));
            return;
        }
        accept();
        return;
    }
    const schema::TTableInfor* empty = nullptr;
    bool anyTable = false;
    for (const schema::TTableInfor& table : db_->Tables) {
        if (!table.Selected) continue;
        anyTable = true;
        if (!empty && table.CountSelectedColumns() == 0) empty = &table;
    }
    if (!anyTable) {
        InformationBox(QStringLiteral("Select one or more table first"));
        lvTable->setFocus();
        return;
    }
    if (empty) {
        InformationBox(
            QStringLiteral("Select one or more columns to table %1").arg(Text(empty->TableName)));
        const QString name = Text(empty->TableName);
        for (int i = 0; i < lvTable->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = lvTable->topLevelItem(i);
            if (item->text(0) == name) {
                lvTable->clearSelection();
                lvTable->setCurrentItem(item);
                item->setSelected(true);
                break;
            }
        }
        lvTable->setFocus();
        return;
    }
    schema_->Synchronise(*db_);
    if (!schema_->Save(settings_.DatabaseDir.toStdString(), &error)) {
        InformationBox(QString::fromStdString(error));
        return;
    }
    accept();
}

}  // namespace morva::app

#include "workbench/app/add_ref_table.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/schema/database_infor.h"

namespace morva::app {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TAddRefTable::TAddRefTable(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AddRefTable"));
    setWindowTitle(QStringLiteral("Add/Edit reference table"));
    auto list = [this](const char* name) {
        auto* box = new QListWidget(this);
        box->setObjectName(QLatin1String(name));
        box->setMinimumSize(150, 150);
        return box;
    };
    lbTables = list("lbTables");
    lbMaster = list("lbMaster");
    lbDetail = list("lbDetail");
    lbJoined = list("lbJoined");
    lbJoined->setMinimumWidth(240);
    auto button = [this](const char* name, const QString& caption, void (TAddRefTable::*click)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        if (click) connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    btAdd = button("btAdd", QStringLiteral("&Add"), &TAddRefTable::btAddClick);
    btDelete = button("btDelete", QStringLiteral("&Delete"), &TAddRefTable::btDeleteClick);
    btClear = button("btClear", QStringLiteral("C&lear"), &TAddRefTable::btClearClick);
    btOk = button("btOk", QStringLiteral("&Ok"), &TAddRefTable::btOkClick);
    btOk->setDefault(true);
    btCancel = button("btCancel", QStringLiteral("&Cancel"), nullptr);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbTables, &QListWidget::currentRowChanged, this, &TAddRefTable::lbTablesClick);

    auto* grid = new QGridLayout;
    const std::pair<const char*, QListWidget*> columns[] = {{"Available tables:", lbTables},
                                                            {"Master", lbMaster},
                                                            {"Detail", lbDetail},
                                                            {"Joined columns:", lbJoined}};
    int column = 0;
    for (const auto& [caption, box] : columns) {
        auto* label = new QLabel(QLatin1String(caption), this);
        label->setBuddy(box);
        grid->addWidget(label, 0, column);
        grid->addWidget(box, 1, column);
        ++column;
    }
    auto* sideButtons = new QVBoxLayout;
    for (QPushButton* b : {btAdd, btDelete, btClear}) sideButtons->addWidget(b);
    sideButtons->addStretch();
    grid->addLayout(sideButtons, 1, column);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btOk);
    bottom->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
}

void TAddRefTable::Prepare(const schema::TDatabaseInfor& db, const QStringList& tables,
                           const QString& current, const QStringList& masterColumns,
                           const schema::TRefTables& refs, const QString& selectedRef) {
    db_ = &db;
    refs_.CopyFrom(refs);
    const QSignalBlocker blocker(lbTables);
    lbTables->clear();
    for (const QString& name : tables)
        if (name != current) lbTables->addItem(name);
    lbTables->setCurrentRow(lbTables->count() > 0 ? 0 : -1);
    if (!selectedRef.isEmpty()) {
        const auto found = lbTables->findItems(selectedRef, Qt::MatchExactly);
        if (!found.isEmpty()) lbTables->setCurrentItem(found.first());
    }
    lbMaster->clear();
    lbMaster->addItems(masterColumns);
}

void TAddRefTable::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Changed = false;
    lbTablesClick();
}

QString TAddRefTable::SelectedTable() const {
    const QListWidgetItem* item = lbTables->currentItem();
    return item ? item->text() : QString();
}

void TAddRefTable::lbTablesClick() {
    lbDetail->clear();
    const schema::TTableInfor* table =
        db_ ? db_->FindTable(SelectedTable().toStdString()) : nullptr;
    if (table)
        for (const schema::ColumnRecord& c : table->columns()) lbDetail->addItem(Text(c.Name));
    RefreshJoined();
}

// One line per pair of the chosen table: this table's column, then the referenced column.
void TAddRefTable::RefreshJoined() {
    lbJoined->clear();
    const int index = refs_.IndexOf(SelectedTable().toStdString());
    if (index < 0) return;
    for (const schema::TRefColumn& pair : refs_[index].pairs)
        lbJoined->addItem(
            QStringLiteral("%1 ---> %2").arg(Text(pair.KeyColumn), Text(pair.RefColumn)));
}

void TAddRefTable::btAddClick() {
    const QString table = SelectedTable();
    const QListWidgetItem* master = lbMaster->currentItem();
    const QListWidgetItem* detail = lbDetail->currentItem();
    if (table.isEmpty() || !master || !detail) return;
    const std::string name = table.toStdString();
    const std::string refColumn = detail->text().toStdString();
    const std::string keyColumn = master->text().toStdString();
    if (refs_.PairExists(name, refColumn, keyColumn)) return;
    refs_.AddTable(name);
    refs_.AddPair(name, refColumn, keyColumn);
    RefreshJoined();
    Changed = true;
}

void TAddRefTable::RemovePairs(const QString& name, int pair) {
    const std::string wanted = name.toStdString();
    const int index = refs_.IndexOf(wanted);
    if (index < 0) return;
    schema::TRefTables kept;
    for (int i = 0; i < refs_.Count(); ++i) {
        const auto& entry = refs_[i];
        std::vector<schema::TRefColumn> pairs;
        if (i != index || pair >= 0) {
            pairs = entry.pairs;
            if (i == index) pairs.erase(pairs.begin() + pair);
        }
        if (i == index && pairs.empty()) continue;  // a table without pairs is dropped
        kept.AddTable(entry.name);
        for (const auto& p : pairs) kept.AddPair(entry.name, p.RefColumn, p.KeyColumn);
    }
    refs_.CopyFrom(kept);
}

void TAddRefTable::btDeleteClick() {
    const int row = lbJoined->currentRow();
    if (row < 0) return;
    RemovePairs(SelectedTable(), row);
    RefreshJoined();
    Changed = true;
}

void TAddRefTable::btClearClick() {
    RemovePairs(SelectedTable(), -1);
    RefreshJoined();
    Changed = true;
}

void TAddRefTable::btOkClick() {
    if (Changed)
        accept();
    else
        reject();
}

}  // namespace morva::app

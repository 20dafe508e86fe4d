#include "workbench/app/table_order.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/swap_list.h"
#include "workbench/schema/schema.h"

namespace morva::app {

namespace {

QString Row(const std::string& name, const std::string& label) {
    return QStringLiteral("%1 [%2]").arg(QString::fromStdString(name),
                                         QString::fromStdString(label));
}

}  // namespace

TTableOrderForm::TTableOrderForm(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("TableOrderForm"));
    setWindowTitle(QStringLiteral("Select Table Order"));
    pgOrder = new QTabWidget(this);
    pgOrder->setObjectName(QStringLiteral("pgOrder"));
    lbTables = new TSwapList(pgOrder);
    lbTables->setObjectName(QStringLiteral("lbTables"));
    lbColumns = new TSwapList(pgOrder);
    lbColumns->setObjectName(QStringLiteral("lbColumns"));
    pgOrder->addTab(lbTables, QStringLiteral("Tables"));
    pgOrder->addTab(lbColumns, QStringLiteral("Columns"));
    connect(lbTables, &TSwapList::itemsSwapped, this, &TTableOrderForm::TablesSwapped);
    connect(lbColumns, &TSwapList::itemsSwapped, this, &TTableOrderForm::ColumnsSwapped);
    connect(pgOrder, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1) FillColumns();
    });

    auto* buttons = new QDialogButtonBox(this);
    btOk = buttons->addButton(QDialogButtonBox::Ok);
    btCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btOk->setDefault(true);
    connect(btOk, &QPushButton::clicked, this, &TTableOrderForm::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pgOrder, 1);
    layout->addWidget(buttons);
    resize(380, 420);
}

TTableOrderForm::~TTableOrderForm() = default;

void TTableOrderForm::Prepare(schema::TSchema& schema) {
    target_ = &schema;
    copy_ = schema.Copy();
    lbTables->clear();
    for (const schema::TSchemaInfor& table : copy_->Tables)
        lbTables->addItem(Row(table.TableName, table.TableLabel));
    lbTables->setCurrentRow(lbTables->count() > 0 ? 0 : -1);
    lbColumns->clear();
    pgOrder->setCurrentIndex(0);
}

void TTableOrderForm::FillColumns() {
    lbColumns->clear();
    const int table = lbTables->currentRow();
    if (!copy_ || table < 0 || table >= static_cast<int>(copy_->Tables.size())) return;
    const schema::TSchemaInfor& t = copy_->Tables[static_cast<size_t>(table)];
    for (size_t i = 0; i < t.ColumnNames.size(); ++i)
        lbColumns->addItem(Row(t.ColumnNames[i], t.ColumnLabels[i]));
    lbColumns->setCurrentRow(lbColumns->count() > 0 ? 0 : -1);
}

void TTableOrderForm::TablesSwapped(int from, int to) {
    if (!copy_) return;
    std::swap(copy_->Tables[static_cast<size_t>(from)], copy_->Tables[static_cast<size_t>(to)]);
}

void TTableOrderForm::ColumnsSwapped(int from, int to) {
    const int table = lbTables->currentRow();
    if (!copy_ || table < 0) return;
    schema::TSchemaInfor& t = copy_->Tables[static_cast<size_t>(table)];
    const auto a = static_cast<size_t>(from);
    const auto b = static_cast<size_t>(to);
    std::swap(t.ColumnNames[a], t.ColumnNames[b]);
    std::swap(t.ColumnTypes[a], t.ColumnTypes[b]);
    std::swap(t.ColumnLabels[a], t.ColumnLabels[b]);
}

void TTableOrderForm::btOkClick() {
    if (!target_ || !copy_) return;
    schema::TSchema saved = *target_;
    saved.AssignTables(*copy_);
    std::string error;
    if (!saved.Save(settings_.DatabaseDir.toStdString(), &error)) {
        InformationBox(QString::fromStdString(error));
        return;
    }
    *target_ = std::move(saved);
    accept();
}

}  // namespace morva::app

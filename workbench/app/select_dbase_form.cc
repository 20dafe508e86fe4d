#include "workbench/app/select_dbase_form.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/app/directory.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::app {

TSelectDBaseForm::TSelectDBaseForm(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("SelectDBaseForm"));
    setWindowTitle(QStringLiteral("Select Database"));
    lbDatabase = new QListWidget(this);
    lbDatabase->setObjectName(QStringLiteral("lbDatabase"));
    btEdit = new QPushButton(QStringLiteral("&Edit"), this);
    btDelete = new QPushButton(QStringLiteral("&Delete"), this);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btOk->setDefault(true);
    btEdit->setEnabled(false);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {btOk, btCancel, btEdit, btDelete}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lbDatabase, 1);
    layout->addLayout(buttons);
    resize(380, 300);

    connect(btOk, &QPushButton::clicked, this, &TSelectDBaseForm::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btEdit, &QPushButton::clicked, this, &TSelectDBaseForm::btEditClick);
    connect(btDelete, &QPushButton::clicked, this, &TSelectDBaseForm::btDeleteClick);
    // Enter reaches the default button "&Ok"; a double click does the same.
    connect(lbDatabase, &QListWidget::itemDoubleClicked, this, &TSelectDBaseForm::btOkClick);
}

void TSelectDBaseForm::SetEditHook(EditHook hook) {
    edit_ = std::move(hook);
    btEdit->setEnabled(static_cast<bool>(edit_));
}

void TSelectDBaseForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TSelectDBaseForm::FormShow() {
    lbDatabase->clear();
    for (const std::string& name : TDirectory(settings_.DatabaseDir.toStdString()).List("*", true))
        lbDatabase->addItem(QString::fromStdString(name));
    if (lbDatabase->count() == 0) return;
    int row = 0;
    for (int i = 0; i < lbDatabase->count(); ++i) {
        if (SameTextIgnoringCase(lbDatabase->item(i)->text(), settings_.DatabaseName)) {
            row = i;
            break;
        }
    }
    lbDatabase->setCurrentRow(row);
}

QString TSelectDBaseForm::SelectedEntry() const {
    const QListWidgetItem* item = lbDatabase->currentItem();
    return item ? item->text() : QString();
}

void TSelectDBaseForm::btOkClick() {
    const QString entry = SelectedEntry();
    if (entry.isEmpty()) return;
    auto database = OpenDatabase(settings_, entry);
    if (!database) return;  // the reason has been shown; the current database stays
    settings_.Database = std::move(database);
    settings_.DatabaseName = QString::fromStdString(settings_.Database->Name);
    if (settings_.Schema &&
        QString::fromStdString(settings_.Schema->DbName) != settings_.DatabaseName) {
        settings_.Schema.reset();
        settings_.SchemaName.clear();
    }
    accept();
}

void TSelectDBaseForm::btEditClick() {
    const QString entry = SelectedEntry();
    if (entry.isEmpty() || !edit_) return;
    auto database = OpenDatabase(settings_, entry);
    if (database) edit_(*database);
}

void TSelectDBaseForm::btDeleteClick() {
    const int row = lbDatabase->currentRow();
    const QString entry = SelectedEntry();
    if (entry.isEmpty()) return;
    if (Confirmation(QStringLiteral("Delete Database [%1]. Are you sure ?").arg(entry)) !=
        Answer::Yes)
        return;
    if (!DeleteDatabaseFolder(settings_, entry)) return;
    if (settings_.DatabaseName == entry) settings_.ReleaseCurrent();
    delete lbDatabase->takeItem(row);
    if (lbDatabase->count() > 0) lbDatabase->setCurrentRow(std::min(row, lbDatabase->count() - 1));
}

}  // namespace morva::app

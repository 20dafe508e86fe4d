#include "workbench/app/room_select.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/app/create_schema.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/table_order.h"
#include "workbench/app/type_label.h"
#include "workbench/schema/schema.h"

namespace morva::app {

TRoomSelectForm::TRoomSelectForm(TSettings& settings, TTypeLabel* typeLabel,
                                 TCreateSchema* createSchema, TTableOrderForm* tableOrder,
                                 QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      typeLabel_(typeLabel),
      createSchema_(createSchema),
      tableOrder_(tableOrder) {
    setObjectName(QStringLiteral("RoomSelectForm"));
    setWindowTitle(QStringLiteral("Select Schema"));
    lbRooms = new QListWidget(this);
    lbRooms->setObjectName(QStringLiteral("lbRooms"));
    lbRooms->setMinimumSize(220, 220);
    neDatabase = new QLineEdit(this);
    neDatabase->setObjectName(QStringLiteral("neDatabase"));
    neDatabase->setReadOnly(true);
    auto button = [this](const char* name, const QString& caption,
                         void (TRoomSelectForm::*click)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        if (click) connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    btOk = button("btOk", QStringLiteral("OK"), &TRoomSelectForm::btOkClick);
    btOk->setDefault(true);
    btCancel = button("btCancel", QStringLiteral("Cancel"), nullptr);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    btAdd = button("btAdd", QStringLiteral("&Add"), &TRoomSelectForm::btAddClick);
    btEdit = button("btEdit", QStringLiteral("&Edit"), &TRoomSelectForm::btEditClick);
    btDelete = button("btDelete", QStringLiteral("&Delete"), &TRoomSelectForm::btDeleteClick);
    btCopy = button("btCopy", QStringLiteral("C&opy"), &TRoomSelectForm::btCopyClick);
    btTableOrder =
        button("btTableOrder", QStringLiteral("Table Order"), &TRoomSelectForm::btTableOrderClick);
    connect(lbRooms, &QListWidget::itemDoubleClicked, this, &TRoomSelectForm::btOkClick);

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {btOk, btCancel}) side->addWidget(b);
    side->addSpacing(12);
    for (QPushButton* b : {btAdd, btEdit, btDelete, btCopy, btTableOrder}) side->addWidget(b);
    side->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Database:"), this), 0, 0);
    grid->addWidget(neDatabase, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Schemas:"), this), 2, 0);
    grid->addWidget(lbRooms, 3, 0);
    grid->addLayout(side, 0, 1, 4, 1);
}

void TRoomSelectForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FillList();
    lbRooms->setFocus();
}

void TRoomSelectForm::FillList() {
    neDatabase->setText(settings_.DatabaseName);
    lbRooms->clear();
    const std::optional<std::string> database = schema::DatabaseFolder(
        settings_.DatabaseDir.toStdString(), settings_.DatabaseName.toStdString(), nullptr);
    if (database) lbRooms->addItems(SchemaNames(QString::fromStdString(*database + "/Schema")));
    int row = lbRooms->count() > 0 ? 0 : -1;
    if (settings_.Schema) {
        const int current = ListItemIndex(lbRooms, settings_.SchemaName);
        if (current >= 0) row = current;
    }
    lbRooms->setCurrentRow(row);
}

QString TRoomSelectForm::Selected() const {
    const QListWidgetItem* item = lbRooms->currentItem();
    return item ? item->text() : QString();
}

std::unique_ptr<schema::TSchema> TRoomSelectForm::LoadSelected() const {
    const QString name = Selected();
    if (name.isEmpty()) return nullptr;
    std::string error;
    auto loaded =
        schema::TSchema::Load(settings_.DatabaseDir.toStdString(),
                              settings_.DatabaseName.toStdString(), name.toStdString(), &error);
    if (!error.empty()) {
        InformationBox(QString::fromStdString(error));
        return nullptr;
    }
    return loaded;
}

void TRoomSelectForm::AppendAndSelect(const QString& name) {
    lbRooms->addItem(name);
    lbRooms->setCurrentRow(lbRooms->count() - 1);
}

// A damaged schema file is reported and never becomes current: the dialog stays open and
// the current schema stays as it was.
void TRoomSelectForm::btOkClick() {
    std::unique_ptr<schema::TSchema> loaded = LoadSelected();
    if (!loaded) return;
    settings_.SchemaName = QString::fromStdString(loaded->Name);
    settings_.Schema = std::move(loaded);
    accept();
}

void TRoomSelectForm::btAddClick() {
    if (!settings_.Database) return;
    typeLabel_->PrepareSchema(settings_.DatabaseName, QString(), QString(), QString());
    if (typeLabel_->exec() != QDialog::Accepted) return;
    settings_.Database->SetAllMarks(true);
    auto created = schema::TSchema::CreateFromDatabase(
        com::CutShortString(typeLabel_->Name().toStdString()),
        com::CutShortString(typeLabel_->Type().toStdString()),
        com::CutShortString(typeLabel_->Label().toStdString()), *settings_.Database);
    createSchema_->PrepareSchema(*created);
    if (createSchema_->exec() == QDialog::Accepted)
        AppendAndSelect(QString::fromStdString(created->Name));
}

void TRoomSelectForm::btEditClick() {
    std::unique_ptr<schema::TSchema> loaded = LoadSelected();
    if (!loaded || !settings_.Database) return;
    createSchema_->PrepareSchema(*loaded);
    createSchema_->exec();
}

void TRoomSelectForm::btDeleteClick() {
    const int row = lbRooms->currentRow();
    if (row < 0) return;
    const QString name = Selected();
    schema::TSchema doomed;
    doomed.Name = name.toStdString();
    doomed.DbName = settings_.DatabaseName.toStdString();
    std::string error;
    if (!doomed.Delete(settings_.DatabaseDir.toStdString(), &error)) {
        InformationBox(QString::fromStdString(error));
        return;
    }
    if (settings_.Schema && settings_.SchemaName == name) {
        settings_.Schema.reset();
        settings_.SchemaName.clear();
    }
    delete lbRooms->takeItem(row);
    lbRooms->setCurrentRow(row < lbRooms->count() ? row : lbRooms->count() - 1);
}

void TRoomSelectForm::btCopyClick() {
    std::unique_ptr<schema::TSchema> copy = LoadSelected();
    if (!copy) return;
    typeLabel_->PrepareSchema(settings_.DatabaseName, QString::fromStdString(copy->Name),
                              QString::fromStdString(copy->SchemaLabel),
                              QString::fromStdString(copy->SchemaType));
    if (typeLabel_->exec() != QDialog::Accepted) return;
    copy->Name = com::CutShortString(typeLabel_->Name().toStdString());
    copy->SchemaType = com::CutShortString(typeLabel_->Type().toStdString());
    copy->SchemaLabel = com::CutShortString(typeLabel_->Label().toStdString());
    std::string error;
    if (!copy->Save(settings_.DatabaseDir.toStdString(), &error)) {
        InformationBox(QString::fromStdString(error));
        return;
    }
    AppendAndSelect(QString::fromStdString(copy->Name));
}

void TRoomSelectForm::btTableOrderClick() {
    std::unique_ptr<schema::TSchema> loaded = LoadSelected();
    if (!loaded) return;
    tableOrder_->Prepare(*loaded);
    tableOrder_->exec();
}

}  // namespace morva::app

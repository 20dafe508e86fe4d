#include "workbench/app/create_dbi_form.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "component/binary_fields.h"
#include "workbench/alias/alias.h"
#include "workbench/alias/build_from_alias.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/passwd_form.h"
#include "workbench/schema/database_infor.h"

namespace morva::app {

TCreateDBIForm::TCreateDBIForm(TSettings& settings, TPasswdForm& passwd, QWidget* parent)
    : QDialog(parent), settings_(settings), passwd_(passwd) {
    setObjectName(QStringLiteral("CreateDBIForm"));
    setWindowTitle(QStringLiteral("Create Database Information"));
    lbCaption = new QLabel(QStringLiteral("Available Databases:  (Double-Click to Create)"), this);
    lbDatabase = new QListWidget(this);
    lbDatabase->setObjectName(QStringLiteral("lbDatabase"));
    lbCaption->setBuddy(lbDatabase);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbCaption);
    layout->addWidget(lbDatabase, 1);
    layout->addLayout(buttons);
    resize(360, 320);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(lbDatabase, &QListWidget::itemDoubleClicked, this, &TCreateDBIForm::lbDatabaseDblClick);
}

void TCreateDBIForm::FillWithAliases() {
    EngineAvailable = true;
    const std::vector<alias::Alias> aliases =
        alias::AliasStore(alias::SettingsPath(TSettings::StorePath().toStdString())).List();
    if (aliases.empty()) {
        EngineAvailable = false;
        return;
    }
    lbDatabase->clear();
    for (const alias::Alias& a : aliases) lbDatabase->addItem(QString::fromStdString(a.name));
    CurrentMode = Mode::Bde;
}

void TCreateDBIForm::FillWithSources(const QStringList& sources) {
    lbDatabase->clear();
    lbDatabase->addItems(sources);
    CurrentMode = Mode::Odbc;
}

QString TCreateDBIForm::SelectedEntry() const {
    const QListWidgetItem* item = lbDatabase->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QString TCreateDBIForm::UserID() const {
    return passwd_.UserID();
}

QString TCreateDBIForm::Password() const {
    return passwd_.Password();
}

void TCreateDBIForm::lbDatabaseDblClick() {
    const QString entry = SelectedEntry();
    if (CurrentMode == Mode::Bde && !entry.isEmpty()) {
        if (CreateFromAlias(QString::fromStdString(com::CutShortString(entry.toStdString()))))
            accept();
    } else if (CurrentMode == Mode::Odbc && !entry.isEmpty()) {
        passwd_.SetDatabase(entry);
        if (passwd_.exec() == QDialog::Accepted) accept();
    }
}

bool TCreateDBIForm::CreateFromAlias(const QString& name) {
    BusyCursor cursor;
    const std::string aliasName = name.toStdString();
    const alias::AliasStore store(alias::SettingsPath(TSettings::StorePath().toStdString()));
    const std::optional<alias::Alias> found = store.Find(aliasName);
    std::string error;
    alias::AliasConnection connection;
    if (!found || !connection.Open(*found, &error)) {
        InformationBox(found ? QString::fromStdString(error)
                             : QStringLiteral("Alias %1 not found").arg(name));
        return false;
    }
    const std::vector<std::string> tables = connection.Tables();
    schema::TDatabaseInfor db;
    const std::string databaseDir = settings_.DatabaseDir.toStdString();
    const QString folder = DatabaseFolder(settings_, name);
    if (folder.isEmpty()) return false;
    if (QFileInfo(folder).isDir() &&
        Confirmation(QStringLiteral("Database %1 already exist. Continue anyway ?").arg(name)) !=
            Answer::Yes)
        return false;
    if (!alias::BuildFromBde(db, *found, tables, &error) || !db.SaveDatabase(databaseDir, &error)) {
        InformationBox(QString::fromStdString(error));
        return false;
    }
    QDir(folder).mkpath(QStringLiteral("Schema"));
    InformationBox(QStringLiteral("Database %1 with %2 tables created")
                       .arg(name)
                       .arg(static_cast<int>(tables.size())));
    return true;
}

}  // namespace morva::app

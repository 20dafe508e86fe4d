#include "workbench/app/select_sql_file_form.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/app/directory.h"
#include "workbench/app/folder_chooser.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"

namespace morva::app {

namespace {

const QString kFilter = QStringLiteral(
    "SQL Files(*.SQL)|*.SQL|DDL Files(*.DDL)|*.DDL|DML Files(*.DML)|*.DML|Text "
    "Files(*.TXT)|*.TXT|All Files(*.*)|*.*");

}  // namespace

TSelectSQLFileForm::TSelectSQLFileForm(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("SelectSQLFileForm"));
    setWindowTitle(QStringLiteral("Select Table Creation Script Files"));

    neDatabase = new QLineEdit(this);
    neDatabase->setObjectName(QStringLiteral("neDatabase"));
    neDatabase->installEventFilter(this);
    cbFilter = new QComboBox(this);
    cbFilter->setObjectName(QStringLiteral("cbFilter"));
    const QStringList parts = kFilter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) cbFilter->addItem(parts[i], parts[i + 1]);
    cbDialect = new QComboBox(this);
    cbDialect->setObjectName(QStringLiteral("cbDialect"));
    cbDialect->addItem(QStringLiteral("Classic"), QStringLiteral("classic"));
    cbDialect->addItem(QStringLiteral("Auto"), QStringLiteral("auto"));
    cbDialect->setToolTip(
        QStringLiteral("Auto reads PostgreSQL, MySQL, MariaDB, SQLite, Oracle, SQL Server and "
                       "Firebird 3 creation scripts"));
    Folders = new TFolderChooser(this);
    lbFiles = new QListWidget(this);
    lbFiles->setObjectName(QStringLiteral("lbFiles"));
    lbFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbSelected = new QListWidget(this);
    lbSelected->setObjectName(QStringLiteral("lbSelected"));
    lbSelected->setSelectionMode(QAbstractItemView::ExtendedSelection);
    btAdd = new QPushButton(QStringLiteral("Add"), this);
    btRemove = new QPushButton(QStringLiteral("Remove"), this);
    btOk = new QPushButton(QStringLiteral("&Ok"), this);
    btCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btAdd->setEnabled(false);
    btRemove->setEnabled(false);
    btOk->setDefault(true);
    for (QPushButton* b : {btAdd, btRemove, btCancel}) b->setAutoDefault(false);

    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label(QStringLiteral("Database Name:"), neDatabase), 0, 0);
    grid->addWidget(neDatabase, 0, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("Files"), lbFiles), 1, 0);
    grid->addWidget(label(QStringLiteral("Folders"), Folders->lbFolders), 1, 1);
    grid->addWidget(lbFiles, 2, 0);
    grid->addWidget(Folders, 2, 1, 3, 1);
    grid->addWidget(label(QStringLiteral("File Type:"), cbFilter), 3, 0);
    grid->addWidget(cbFilter, 4, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(btAdd);
    middle->addWidget(btRemove);
    middle->addStretch();
    grid->addLayout(middle, 2, 2, 3, 1);
    grid->addWidget(label(QStringLiteral("Selected Files:"), lbSelected), 1, 3);
    grid->addWidget(lbSelected, 2, 3, 3, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label(QStringLiteral("Dialect:"), cbDialect));
    buttons->addWidget(cbDialect);
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(960, 440);

    connect(neDatabase, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int at = neDatabase->cursorPosition();
        neDatabase->setText(UpperCase(text));
        neDatabase->setCursorPosition(at);
    });
    connect(cbFilter, &QComboBox::activated, this, &TSelectSQLFileForm::cbFilterChange);
    connect(Folders, &TFolderChooser::FolderChanged, this, &TSelectSQLFileForm::RefreshFiles);
    connect(btAdd, &QPushButton::clicked, this, &TSelectSQLFileForm::btAddClick);
    connect(btRemove, &QPushButton::clicked, this, &TSelectSQLFileForm::btRemoveClick);
    connect(btOk, &QPushButton::clicked, this, &TSelectSQLFileForm::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &TSelectSQLFileForm::btCancelClick);
    connect(lbFiles, &QListWidget::itemDoubleClicked, this, &TSelectSQLFileForm::btAddClick);
    for (QListWidget* list : {lbFiles, lbSelected})
        connect(list, &QListWidget::itemSelectionChanged, this, &TSelectSQLFileForm::UpdateButtons);
}

QString TSelectSQLFileForm::DatabaseName() const {
    return neDatabase->text();
}

QString TSelectSQLFileForm::Dialect() const {
    return cbDialect->currentData().toString();
}

QStringList TSelectSQLFileForm::SelectedFiles() const {
    QStringList files;
    for (int i = 0; i < lbSelected->count(); ++i) files << lbSelected->item(i)->text();
    return files;
}

QString TSelectSQLFileForm::Folder() const {
    return Folders->Folder();
}

void TSelectSQLFileForm::SetFolder(const QString& folder) {
    Folders->SetFolder(folder);
}

void TSelectSQLFileForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TSelectSQLFileForm::FormShow() {
    if (!QFileInfo(settings_.SQLDir).isDir()) settings_.SQLDir = settings_.RootDir;
    lbSelected->clear();
    Folders->SetFolder(settings_.SQLDir);
    const int dialect = cbDialect->findData(settings_.SQLDialect.toLower());
    cbDialect->setCurrentIndex(dialect < 0 ? 0 : dialect);
    neDatabase->selectAll();
    neDatabase->setFocus();
    UpdateButtons();
}

void TSelectSQLFileForm::RefreshFiles() {
    lbFiles->clear();
    for (const std::string& name :
         TDirectory(Folders->Folder().toStdString()).List(mask_.toStdString(), false))
        lbFiles->addItem(QString::fromStdString(name));
    UpdateButtons();
}

void TSelectSQLFileForm::cbFilterChange(int index) {
    if (index < 0) return;
    mask_ = cbFilter->itemData(index).toString();
    RefreshFiles();
}

void TSelectSQLFileForm::UpdateButtons() {
    btAdd->setEnabled(lbFiles->count() > 0);
    btRemove->setEnabled(lbSelected->count() > 0);
}

void TSelectSQLFileForm::btAddClick() {
    const QDir folder(Folders->Folder());
    for (int i = 0; i < lbFiles->count(); ++i) {
        if (!lbFiles->item(i)->isSelected()) continue;
        const QString path = folder.filePath(lbFiles->item(i)->text());
        bool present = false;
        for (int j = 0; j < lbSelected->count() && !present; ++j)
            present = SameTextIgnoringCase(lbSelected->item(j)->text(), path);
        if (!present) lbSelected->addItem(path);
    }
    UpdateButtons();
}

void TSelectSQLFileForm::btRemoveClick() {
    const int focus = lbSelected->currentRow();
    for (int i = lbSelected->count() - 1; i >= 0; --i)
        if (lbSelected->item(i)->isSelected()) delete lbSelected->takeItem(i);
    lbSelected->clearSelection();
    if (lbSelected->count() > 0) {
        const int row = focus >= 0 && focus < lbSelected->count() ? focus : lbSelected->count() - 1;
        lbSelected->setCurrentRow(row);
        lbSelected->item(row)->setSelected(true);
    }
    UpdateButtons();
}

void TSelectSQLFileForm::btOkClick() {
    if (neDatabase->text().isEmpty()) {
        InformationBox(QStringLiteral("Database Name is empty !!!"));
        return;
    }
    if (lbSelected->count() == 0) {
        InformationBox(QStringLiteral("You must select 1 or more files."));
        return;
    }
    settings_.SQLDir = Folders->Folder();
    settings_.SQLDialect = Dialect();
    accept();
}

void TSelectSQLFileForm::btCancelClick() {
    neDatabase->clear();
    lbSelected->clear();
    UpdateButtons();
    reject();
}

// Enter in the database name confirms the dialog and Esc cancels it; neither is typed into
// the field.
bool TSelectSQLFileForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == neDatabase && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btOkClick();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace morva::app

// The database selection, database information, login, SQL file and output folder dialogs.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "workbench/alias/alias.h"
#include "workbench/app/app_test_support.h"
#include "workbench/app/browse_form.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/folder_chooser.h"
#include "workbench/app/global.h"
#include "workbench/app/passwd_form.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/test_database.h"

namespace morva::app {
namespace {

class DatabaseDialogsTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        settings.Initialise();
    }

    // Saves the sample order database under `name`.
    void MakeDatabase(const QString& name) {
        schema::TDatabaseInfor db = schema::testing::OrderDatabase();
        db.Name = name.toStdString();
        std::string error;
        ASSERT_TRUE(db.SaveDatabase(settings.DatabaseDir.toStdString(), &error)) << error;
        QDir(settings.DatabaseDir).mkpath(name + QStringLiteral("/Schema"));
    }

    // Makes `database` current with a schema of all its tables.
    void MakeCurrent(const QString& database) {
        settings.Database = OpenDatabase(settings, database);
        ASSERT_TRUE(settings.Database);
        settings.DatabaseName = database;
        settings.Schema = schema::TSchema::CreateFromDatabase("ALL", "", "", *settings.Database);
        settings.Schema->DbName = database.toStdString();
        settings.SchemaName = QStringLiteral("ALL");
    }

    QStringList Entries(const QListWidget* list) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
        return entries;
    }

    TSettings settings;
};

TEST_F(DatabaseDialogsTest, SelectionListsTheFoldersAndSelectsTheCurrentOne) {
    MakeDatabase(QStringLiteral("SHOP"));
    MakeDatabase(QStringLiteral("archive"));
    settings.DatabaseName = QStringLiteral("shop");
    TSelectDBaseForm dialog(settings);
    dialog.FormShow();
    EXPECT_EQ(Entries(dialog.lbDatabase), QStringList({"archive", "SHOP"}));
    EXPECT_EQ(dialog.SelectedEntry(), QStringLiteral("SHOP"));
    EXPECT_FALSE(dialog.btEdit->isEnabled());  // no schema editor to show it in
}

TEST_F(DatabaseDialogsTest, DatabaseThatCannotBeLoadedKeepsTheDialogAndTheCurrentOne) {
    MakeDatabase(QStringLiteral("SHOP"));
    MakeCurrent(QStringLiteral("SHOP"));
    QDir(settings.DatabaseDir).mkpath(QStringLiteral("BROKEN"));
    WriteFile(QStringLiteral("Database/BROKEN/CUSTOMER"), "not a table file");
    TSelectDBaseForm dialog(settings);
    dialog.show();
    dialog.lbDatabase->setCurrentRow(0);
    ASSERT_EQ(dialog.SelectedEntry(), QStringLiteral("BROKEN"));
    QTest::keyClick(dialog.lbDatabase, Qt::Key_Return);  // reaches "&Ok" once
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.DatabaseName, QStringLiteral("SHOP"));
    EXPECT_TRUE(settings.Schema);
}

TEST_F(DatabaseDialogsTest, SelectingAnotherDatabaseReleasesTheSchemaAndTheSameKeepsIt) {
    MakeDatabase(QStringLiteral("SHOP"));
    MakeDatabase(QStringLiteral("STOCK"));
    MakeCurrent(QStringLiteral("SHOP"));
    TSelectDBaseForm dialog(settings);
    dialog.FormShow();
    dialog.btOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(settings.Schema);
    EXPECT_EQ(settings.SchemaName, QStringLiteral("ALL"));

    dialog.FormShow();
    dialog.lbDatabase->setCurrentRow(1);
    dialog.btOkClick();
    EXPECT_EQ(settings.DatabaseName, QStringLiteral("STOCK"));
    EXPECT_EQ(settings.Database->Name, "STOCK");
    EXPECT_FALSE(settings.Schema);
    EXPECT_EQ(settings.SchemaName, QString());
}

TEST_F(DatabaseDialogsTest, DeletingAsksAndTheCurrentDatabaseIsReleased) {
    MakeDatabase(QStringLiteral("A"));
    MakeDatabase(QStringLiteral("SHOP"));
    MakeDatabase(QStringLiteral("Z"));
    MakeCurrent(QStringLiteral("SHOP"));
    TSelectDBaseForm dialog(settings);
    dialog.FormShow();
    ASSERT_EQ(dialog.lbDatabase->currentRow(), 1);

    answers = {Answer::No};
    dialog.btDeleteClick();
    EXPECT_EQ(boxes, QStringList({"Delete Database [SHOP]. Are you sure ?"}));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("Database/SHOP"))).isDir());

    answers = {Answer::Yes};
    dialog.btDeleteClick();
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Database/SHOP"))));
    EXPECT_FALSE(settings.Database);
    EXPECT_FALSE(settings.Schema);
    EXPECT_EQ(settings.DatabaseName, QString());
    EXPECT_EQ(settings.SchemaName, QString());
    EXPECT_EQ(Entries(dialog.lbDatabase), QStringList({"A", "Z"}));
    EXPECT_EQ(dialog.SelectedEntry(), QStringLiteral("Z"));

    answers = {Answer::Yes};
    dialog.btDeleteClick();  // the last entry: the new last one is selected
    EXPECT_EQ(dialog.SelectedEntry(), QStringLiteral("A"));
}

TEST_F(DatabaseDialogsTest, AliasModeBuildsFromTheSampleAndAsksBeforeReusingAFolder) {
    TPasswdForm login;
    TCreateDBIForm dialog(settings, login);
    dialog.FillWithAliases();
    ASSERT_TRUE(dialog.EngineAvailable);
    EXPECT_EQ(dialog.CurrentMode, TCreateDBIForm::Mode::Bde);
    const QStringList aliases = Entries(dialog.lbDatabase);
    ASSERT_TRUE(aliases.contains(QStringLiteral("ORDERENTRY")));

    const QString folder = Path(QStringLiteral("Database/ORDERENTRY"));
    QDir(folder).mkpath(QStringLiteral("."));
    answers = {Answer::No};
    EXPECT_FALSE(dialog.CreateFromAlias(QStringLiteral("ORDERENTRY")));
    EXPECT_EQ(boxes, QStringList({"Database ORDERENTRY already exist. Continue anyway ?"}));
    EXPECT_TRUE(QDir(folder).isEmpty());

    boxes.clear();
    answers = {Answer::Yes};
    EXPECT_TRUE(dialog.CreateFromAlias(QStringLiteral("ORDERENTRY")));
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[1].startsWith(QStringLiteral("Database ORDERENTRY with ")));
    EXPECT_TRUE(boxes[1].endsWith(QStringLiteral(" tables created")));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Schema")).isDir());
    auto loaded = OpenDatabase(settings, QStringLiteral("ORDERENTRY"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(
        boxes[1],
        QStringLiteral("Database ORDERENTRY with %1 tables created").arg(loaded->Tables.size()));
}

TEST_F(DatabaseDialogsTest, OdbcModeLogsInOnADoubleClick) {
    TPasswdForm login;
    TCreateDBIForm dialog(settings, login);
    dialog.FillWithSources({"shop"});
    EXPECT_EQ(dialog.CurrentMode, TCreateDBIForm::Mode::Odbc);
    dialog.lbDatabase->setCurrentRow(0);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(login.focusWidget(), login.neUserID);
        QTest::keyClicks(login.neUserID, QStringLiteral("ann"));
        QTest::keyClicks(login.nePassword, QStringLiteral("pw"));
        QTest::keyClick(login.nePassword, Qt::Key_Return);
    });
    dialog.lbDatabaseDblClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(login.Database(), QStringLiteral("shop"));
    EXPECT_EQ(dialog.UserID(), QStringLiteral("ann"));
    EXPECT_EQ(dialog.Password(), QStringLiteral("pw"));
    EXPECT_EQ(login.nePassword->echoMode(), QLineEdit::Password);
}

class SqlFileDialogTest : public DatabaseDialogsTest {
  protected:
    void SetUp() override {
        DatabaseDialogsTest::SetUp();
        QDir(root).mkpath(QStringLiteral("sql"));
        for (const char* name : {"a.sql", "B.SQL", "c.ddl", "notes.txt"})
            WriteFile(QStringLiteral("sql/") + name, "create table T (X integer);\n");
        settings.SQLDir = Path(QStringLiteral("sql"));
        dialog = std::make_unique<TSelectSQLFileForm>(settings);
        dialog->FormShow();
    }
    void AddAll() {
        dialog->lbFiles->selectAll();
        dialog->btAddClick();
    }
    std::unique_ptr<TSelectSQLFileForm> dialog;
};

TEST_F(SqlFileDialogTest, ShowsTheSqlFilesAndFiltersByType) {
    EXPECT_EQ(Entries(dialog->lbFiles), QStringList({"a.sql", "B.SQL"}));
    EXPECT_EQ(dialog->Folder(), Path(QStringLiteral("sql")));
    EXPECT_TRUE(dialog->btAdd->isEnabled());
    EXPECT_FALSE(dialog->btRemove->isEnabled());
    dialog->cbFilterChange(1);
    EXPECT_EQ(Entries(dialog->lbFiles), QStringList({"c.ddl"}));
    dialog->cbFilterChange(4);
    EXPECT_EQ(dialog->lbFiles->count(), 4);
    dialog->cbFilterChange(2);
    EXPECT_FALSE(dialog->btAdd->isEnabled());
}

TEST_F(SqlFileDialogTest, MissingSqlFolderFallsBackToTheRootFolder) {
    settings.SQLDir = Path(QStringLiteral("gone"));
    dialog->FormShow();
    EXPECT_EQ(settings.SQLDir, settings.RootDir);
    EXPECT_EQ(dialog->Folder(), root);
}

TEST_F(SqlFileDialogTest, NameIsUpperCasedAsTyped) {
    QTest::keyClicks(dialog->neDatabase, QStringLiteral("shop_1"));
    EXPECT_EQ(dialog->DatabaseName(), QStringLiteral("SHOP_1"));
}

TEST_F(SqlFileDialogTest, AddKeepsOneEntryPerFileAndRemoveSelectsTheNextOne) {
    AddAll();
    dialog->SetFolder(Path(QStringLiteral("SQL/..")));  // another spelling of the same files
    dialog->SetFolder(Path(QStringLiteral("sql")));
    AddAll();
    dialog->cbFilterChange(1);
    AddAll();
    const QString a = Path(QStringLiteral("sql/a.sql")), b = Path(QStringLiteral("sql/B.SQL")),
                  c = Path(QStringLiteral("sql/c.ddl"));
    EXPECT_EQ(dialog->SelectedFiles(), QStringList({a, b, c}));
    EXPECT_TRUE(dialog->btRemove->isEnabled());

    dialog->lbSelected->setCurrentRow(2);
    dialog->btRemoveClick();
    EXPECT_EQ(dialog->SelectedFiles(), QStringList({a, b}));
    EXPECT_EQ(dialog->lbSelected->currentRow(), 1);
    EXPECT_TRUE(dialog->lbSelected->item(1)->isSelected());

    dialog->lbSelected->clearSelection();
    dialog->lbSelected->setCurrentRow(0);
    dialog->btRemoveClick();
    EXPECT_EQ(dialog->SelectedFiles(), QStringList({b}));
    dialog->btRemoveClick();
    EXPECT_EQ(dialog->SelectedFiles(), QStringList());
    EXPECT_FALSE(dialog->btRemove->isEnabled());
}

TEST_F(SqlFileDialogTest, OkNeedsANameAndFilesAndCancelEmptiesBoth) {
    dialog->btOkClick();
    QTest::keyClicks(dialog->neDatabase, QStringLiteral("x"));
    dialog->btOkClick();
    EXPECT_EQ(boxes,
              QStringList({"Database Name is empty !!!", "You must select 1 or more files."}));
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    AddAll();
    settings.SQLDir.clear();
    QTest::keyClick(dialog->neDatabase, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.SQLDir, Path(QStringLiteral("sql")));
    EXPECT_EQ(dialog->DatabaseName(), QStringLiteral("X"));

    dialog->btCancelClick();
    EXPECT_EQ(dialog->DatabaseName(), QString());
    EXPECT_EQ(dialog->SelectedFiles(), QStringList());
}

TEST_F(DatabaseDialogsTest, OutputFolderIsStoredWholeAndCancelChangesNothing) {
    QString deep = root;
    for (int i = 0; i < 12; ++i) deep += QStringLiteral("/a_rather_long_folder_name_%1").arg(i);
    ASSERT_TRUE(QDir().mkpath(deep));
    TBrowseForm dialog(settings);
    settings.OutputDir = deep;
    dialog.FormShow();
    EXPECT_EQ(dialog.Folders->lbFolder->text(), deep);
    dialog.Folders->lbFolders->setCurrentRow(0);  // ".."
    QTest::keyClick(dialog.Folders->lbFolders, Qt::Key_Return);
    EXPECT_NE(dialog.result(), QDialog::Accepted);  // Enter entered the folder only
    dialog.btOkClick();
    EXPECT_EQ(settings.OutputDir, QFileInfo(deep).path());
    EXPECT_GT(settings.OutputDir.size(), 300);

    dialog.FormShow();
    dialog.Folders->SetFolder(root);
    dialog.reject();
    EXPECT_EQ(settings.OutputDir, QFileInfo(deep).path());
}

}  // namespace
}  // namespace morva::app

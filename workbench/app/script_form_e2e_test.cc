// The run window with the real engine and compiler: database information built from the
// sample SQL scripts and from an ODBC data source, and sample templates run over it, writing
// exactly what the command line writes.

#include <dlfcn.h>

#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTimer>
#include <array>
#include <map>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/passwd_form.h"
#include "workbench/app/script_form.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

// The SQLite ODBC driver and the ODBC installer library keep a few allocations until the
// process ends; they are theirs, so the leak checker of sanitizer builds skips them. Both are
// kept loaded (below) so that their leaks can still be told apart at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsqlite3odbc\nleak:libodbcinst\n";
}

namespace morva::app {
namespace {

QString SourceDir() {
    return qEnvironmentVariable("MORVA_SOURCE_DIR", QStringLiteral(SOURCE_DIR));
}

class RealComponentsTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        saved_ = {qgetenv("MORVA_COMPONENTS"), qgetenv("ODBCSYSINI"), qgetenv("ODBCINI")};
        // An empty registry: the components come from the libraries beside the program.
        WriteFile(QStringLiteral("components.ini"), "");
        qputenv("MORVA_COMPONENTS", Path(QStringLiteral("components.ini")).toUtf8());
        form = std::make_unique<TMainForm>();
        form->FormShow({});
        ASSERT_TRUE(Part<TScript>(*form)->EngineReady() && Part<TScript>(*form)->CompilerReady())
            << boxes.join(u'\n').toStdString();
    }
    void TearDown() override {
        form.reset();
        qputenv("MORVA_COMPONENTS", saved_[0]);
        qputenv("ODBCSYSINI", saved_[1]);
        qputenv("ODBCINI", saved_[2]);
        WorkbenchTest::TearDown();
    }

    void GenerateSample() {
        Part<TSelectSQLFileForm>(*form)->neDatabase->setText(QStringLiteral("ORDERENTRY"));
        Part<TSelectSQLFileForm>(*form)->lbSelected->addItem(
            SourceDir() + QStringLiteral("/samples/order_entry.sql"));
        Part<TScript>(*form)->GenerateFromSQL();
    }

    // Makes a schema of every table of `database` current, as `morva-cli run` without --schema.
    void SelectWholeDatabase(const QString& database) {
        form->Settings().Database = OpenDatabase(form->Settings(), database);
        ASSERT_TRUE(form->Settings().Database);
        form->Settings().DatabaseName = database;
        form->Settings().Database->SetAllMarks(true);
        form->Settings().Schema =
            schema::TSchema::CreateFromDatabase("", "", "", *form->Settings().Database);
        form->UpdateDatabaseEnabling();
    }

    std::unique_ptr<TMainForm> form;

  private:
    std::array<QByteArray, 3> saved_;
};

TEST_F(RealComponentsTest, SampleScriptsBuildTheDatabaseInformation) {
    GenerateSample();
    const QStringList lines = Part<TScript>(*form)->LogText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("Generate Information to ORDERENTRY"));
    EXPECT_EQ(lines.last(), QStringLiteral("Done.")) << lines.join(u'\n').toStdString();
    auto db = OpenDatabase(form->Settings(), QStringLiteral("ORDERENTRY"));
    ASSERT_TRUE(db);
    EXPECT_GE(db->Tables.size(), 3u);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
}

TEST_F(RealComponentsTest, RunOfEverySampleTemplateWritesWhatTheCommandLineWrites) {
    GenerateSample();
    SelectWholeDatabase(QStringLiteral("ORDERENTRY"));
    const QStringList templates = QDir(SourceDir() + QStringLiteral("/samples"))
                                      .entryList({QStringLiteral("*.tpx")}, QDir::Files);
    ASSERT_FALSE(templates.isEmpty());
    for (const QString& name : templates) {
        SCOPED_TRACE(name.toStdString());
        const QString script = SourceDir() + QStringLiteral("/samples/") + name;
        const QString ours = Path(QStringLiteral("out/gui/") + name);
        const QString theirs = Path(QStringLiteral("out/cli/") + name);
        QDir().mkpath(ours);
        QDir().mkpath(theirs);
        form->Settings().OutputDir = ours;
        form->OpenFile(script);
        Command(*form, "mmSRun")->trigger();
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
        EXPECT_TRUE(Part<TScript>(*form)->LogText().endsWith(QStringLiteral("End script.\n")))
            << Part<TScript>(*form)->LogText().toStdString();

        QProcess cli;
        cli.setWorkingDirectory(root);
        cli.start(QStringLiteral(MORVA_CLI),
                  {QStringLiteral("--database-dir"), form->Settings().DatabaseDir,
                   QStringLiteral("--output-dir"), theirs, QStringLiteral("run"), script,
                   QStringLiteral("--db"), QStringLiteral("ORDERENTRY")});
        ASSERT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

        const auto expected = FilesBelow(theirs);
        EXPECT_FALSE(expected.empty());
        EXPECT_TRUE(FilesBelow(ours) == expected);
        Command(*form, "mmFClose")->trigger();
    }
}

TEST_F(RealComponentsTest, OdbcDataSourceOverTheSqliteDriverBuildsTheDatabaseInformation) {
    QDir(root).mkpath(QStringLiteral("odbc"));
    WriteFile(QStringLiteral("odbc/odbcinst.ini"), "");
    WriteFile(QStringLiteral("odbc/odbc.ini"),
              QStringLiteral("[sample]\nDriver=%1\nDatabase=%2\nNoCreat=1\n")
                  .arg(QStringLiteral(SQLITE_ODBC_DRIVER), QStringLiteral(SAMPLE_DATABASE))
                  .toUtf8());
    for (const char* library : {SQLITE_ODBC_DRIVER, "libodbcinst.so.2", "libltdl.so.7"})
        ::dlopen(library, RTLD_NOW);
    qputenv("ODBCSYSINI", Path(QStringLiteral("odbc")).toUtf8());
    qputenv("ODBCINI", Path(QStringLiteral("odbc/odbc.ini")).toUtf8());

    QTimer::singleShot(0, [this] {
        TCreateDBIForm* dialog = Part<TCreateDBIForm>(*form);
        const auto found =
            dialog->lbDatabase->findItems(QStringLiteral("sample"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog->lbDatabase->setCurrentItem(found[0]);
        QTimer::singleShot(0, [this] { Part<TPasswdForm>(*form)->accept(); });
        dialog->lbDatabaseDblClick();
    });
    Command(*form, "mmDCreateByODBC")->trigger();
    auto db = OpenDatabase(form->Settings(), QStringLiteral("sample"));
    ASSERT_TRUE(db);
    EXPECT_GE(db->Tables.size(), 3u);
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("Database/sample/Schema"))).isDir());
}

}  // namespace
}  // namespace morva::app

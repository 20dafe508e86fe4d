// The run window with the real engine and compiler: database information built from the
// sample SQL scripts and from an ODBC data source, sample templates run over it, writing
// exactly what the command line writes, and what a run does with its output files.

#include <dlfcn.h>

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
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
#include "workbench/schema/test_database.h"

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

// The run window over the real engine and the sample order database (CUSTOMER, ORDERS),
// running the script "gen.tpx" into the output folder "Output".
class RunWindowOutputTest : public RealComponentsTest {
  protected:
    void SetUp() override {
        RealComponentsTest::SetUp();
        if (HasFatalFailure()) return;
        form->Settings().Database =
            std::make_unique<schema::TDatabaseInfor>(schema::testing::OrderDatabase());
        form->Settings().DatabaseName = QStringLiteral("SHOP");
        form->Settings().Schema =
            schema::TSchema::CreateFromDatabase("ALL", "", "", *form->Settings().Database);
        form->Settings().SchemaName = QStringLiteral("ALL");
        form->Settings().OutputDir = Path(QStringLiteral("Output"));
        form->UpdateDatabaseEnabling();
        WriteFile(QStringLiteral("gen.tpx"), "");
        form->OpenFile(Path(QStringLiteral("gen.tpx")));
    }

    // Runs `script` as the text of gen.tpx.
    void Run(const QString& script) {
        form->ActiveEditor()->setPlainText(script);
        Command(*form, "mmSRun")->trigger();
    }

    QString Status() { return Part<TScript>(*form)->sbRun->currentMessage(); }
    QString Log() { return Part<TScript>(*form)->LogText(); }

    // Sets the time stamp of output file `name` into the past and returns it.
    QDateTime Age(const QString& name) {
        QFile file(Path(QStringLiteral("Output/") + name));
        const QDateTime past(QDate(2001, 2, 3), QTime(4, 5, 6));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(past, QFileDevice::FileModificationTime))
            << name.toStdString();
        return past;
    }
    QDateTime Stamp(const QString& name) {
        return QFileInfo(Path(QStringLiteral("Output/") + name)).lastModified();
    }
    QByteArray Output(const QString& name) { return ReadFile(QStringLiteral("Output/") + name); }
};

// One file per table in a folder the run makes, and a form file.
const char* const kPerTable =
    "<TEXT>\n<TABLES><CREATE>src/<T>.h</CREATE>// <T>\n// MORVA-KEEP-BEGIN body\n"
    "// MORVA-KEEP-END body\n<CLOSE></TABLES><CREATE>form.txt</CREATE>object Form1: TForm1\n"
    "end\n<CLOSEASDFM></TEXT>\n";

TEST_F(RunWindowOutputTest, OnlyChangedFilesAreWrittenAndTheStatusLineSaysWhatTheRunDid) {
    Run(kPerTable);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'\n').toStdString();
    EXPECT_EQ(Status(), QStringLiteral("4 files written, 0 unchanged, 0 pruned, 0 stale"));
    EXPECT_EQ(Output(QStringLiteral("src/ORDERS.h")),
              QByteArray("// ORDERS\r\n// MORVA-KEEP-BEGIN body\r\n// MORVA-KEEP-END body\r\n"));
    EXPECT_TRUE(Output(QStringLiteral("form.DFM")).contains("TPF0"));
    EXPECT_EQ(Output(QStringLiteral(".morva/gen.tpx.files")),
              QByteArray("# Files generated by the last run of gen.tpx\nform.DFM\nform.txt\n"
                         "src/CUSTOMER.h\nsrc/ORDERS.h\n"));
    // The summary is the window's, not the engine's: the log is what the engine wrote.
    EXPECT_TRUE(Log().endsWith(QStringLiteral("\nEnd script.\n"))) << Log().toStdString();
    EXPECT_FALSE(Log().contains(QStringLiteral("files written")));

    // Up to date: nothing is rewritten, the converted form file neither.
    std::map<QString, QDateTime> aged;
    for (const char* name : {"src/CUSTOMER.h", "src/ORDERS.h", "form.txt", "form.DFM"})
        aged[QString::fromLatin1(name)] = Age(QString::fromLatin1(name));
    Run(kPerTable);
    EXPECT_EQ(Status(), QStringLiteral("0 files written, 4 unchanged, 0 pruned, 0 stale"));
    for (const auto& [name, stamp] : aged) EXPECT_EQ(Stamp(name), stamp) << name.toStdString();

    // A changed template replaces exactly the files whose text changed; the form no longer
    // generated is left in place and reported stale.
    Run(QString::fromLatin1(kPerTable)
            .replace(QStringLiteral("// <T>"), QStringLiteral("// table <T>"))
            .replace(QRegularExpression(QStringLiteral("<CREATE>form.*<CLOSEASDFM>"),
                                        QRegularExpression::DotMatchesEverythingOption),
                     QString()));
    EXPECT_EQ(Status(), QStringLiteral("2 files written, 0 unchanged, 0 pruned, 2 stale"));
    EXPECT_TRUE(Output(QStringLiteral("src/ORDERS.h")).startsWith("// table ORDERS\r\n"));
    EXPECT_NE(Stamp(QStringLiteral("src/ORDERS.h")), aged[QStringLiteral("src/ORDERS.h")]);
    EXPECT_EQ(Stamp(QStringLiteral("form.DFM")), aged[QStringLiteral("form.DFM")]);
    EXPECT_FALSE(Log().contains(QStringLiteral("stale")));
}

TEST_F(RunWindowOutputTest, KeptRegionsSurviveAndARunTimeErrorKeepsTheOpenFilesPreviousText) {
    QDir(root).mkpath(QStringLiteral("Output/src"));
    WriteFile(QStringLiteral("Output/src/ORDERS.h"),
              "// old\r\n// MORVA-KEEP-BEGIN body\r\nint mine;\r\n// MORVA-KEEP-END body\r\n");
    Run(kPerTable);
    EXPECT_EQ(Output(QStringLiteral("src/ORDERS.h")),
              QByteArray("// ORDERS\r\n// MORVA-KEEP-BEGIN body\r\nint mine;\r\n"
                         "// MORVA-KEEP-END body\r\n"));

    // A region the template no longer has: its text is kept aside and the status line says so.
    Run(QString::fromLatin1(kPerTable).replace(
        QStringLiteral("// MORVA-KEEP-BEGIN body\n// MORVA-KEEP-END body\n"), QString()));
    EXPECT_EQ(Output(QStringLiteral("src/ORDERS.h")), QByteArray("// ORDERS\r\n"));
    EXPECT_TRUE(
        Status().contains(QStringLiteral("src/ORDERS.h: kept region body is no longer "
                                         "generated, its text is saved in ")))
        << Status().toStdString();
    bool saved = false;
    for (const auto& [name, bytes] : FilesBelow(Path(QStringLiteral("Output/.morva"))))
        saved = saved || bytes.contains("int mine;");
    EXPECT_TRUE(saved);

    // A run-time error: the file closed before it stands, the one open keeps its old text.
    WriteFile(QStringLiteral("Output/second.txt"), "good");
    Run(
        QStringLiteral("<TEXT>\n<VAR> i </VAR>\n<CREATE>first.txt</CREATE>first\n<CLOSE>"
                       "<CREATE>second.txt</CREATE>never written\n<EXPR> <$i> = 10 / 0; "
                       "</EXPR>\n</TEXT>\n"));
    EXPECT_EQ(Output(QStringLiteral("first.txt")), QByteArray("first\r\n"));
    EXPECT_EQ(Output(QStringLiteral("second.txt")), QByteArray("good"));
    EXPECT_TRUE(Log().contains(QStringLiteral("Divide by 0"))) << Log().toStdString();
    EXPECT_EQ(Status(), QStringLiteral("1 files written, 0 unchanged, 0 pruned, 0 stale"));
}

TEST_F(RunWindowOutputTest, FormFilesThatCannotBeConvertedAreShownAndCountedOnce) {
    QDir(root).mkpath(QStringLiteral("Output/form.DFM"));  // a folder in the way
    Run(
        QStringLiteral("<TEXT>\n<CREATE>form.txt</CREATE>object Form1: TForm1\nend\n<CLOSEASDFM>"
                       "<CREATE>broken.txt</CREATE>object Form2: TForm2\n  Left = \nend\n"
                       "<CLOSEASDFM></TEXT>\n"));
    ASSERT_EQ(boxes.size(), 2) << boxes.join(u'\n').toStdString();
    EXPECT_EQ(boxes[0],
              QStringLiteral("form.txt: Error on Converting to .DFM: form.DFM: Is a directory"));
    EXPECT_TRUE(boxes[1].startsWith(QStringLiteral("broken.txt: Error on Converting to .DFM: ")));
    EXPECT_EQ(Status(),
              QStringLiteral("2 files written, 0 unchanged, 0 pruned, 0 stale, 2 failed"));
    EXPECT_TRUE(Log().endsWith(QStringLiteral("\nEnd script.\n")));  // the run went on
}

TEST_F(RunWindowOutputTest, AnOutputFolderThatCannotBeUsedOrABadHandOverRunsNothing) {
    // A file where the output folder should be.
    WriteFile(QStringLiteral("plain"), "not a folder");
    form->Settings().OutputDir = Path(QStringLiteral("plain"));
    Run(kPerTable);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(
        boxes[0],
        QStringLiteral("Output folder %1: it is not a folder").arg(Path(QStringLiteral("plain"))));
    EXPECT_EQ(Log(), QString());  // not even compiled
    EXPECT_EQ(Status(), QString());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("src"))));  // not run elsewhere

    // A schema naming a table the database lacks: refused before anything is written.
    form->Settings().OutputDir = Path(QStringLiteral("Output"));
    boxes.clear();
    form->Settings().Database->Tables.pop_back();
    Run(kPerTable);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("ORDERS"))) << boxes[0].toStdString();
    EXPECT_EQ(Log(), QString());
    EXPECT_TRUE(FilesBelow(Path(QStringLiteral("Output"))).empty());
}

}  // namespace
}  // namespace morva::app

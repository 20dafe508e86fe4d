// The run window against recording stand-ins for the engine and the compiler, loaded by class
// identifier through the component registry as the real components are.

#include "workbench/app/script_form.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "component/guid.h"
#include "component/registry.h"
#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/passwd_form.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/app/tests/recorder.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/test_database.h"

namespace morva::app {
namespace {

using testing::IRecorder;

// A text form description and one that breaks off in its property list.
const char* const kForm = "object Form1: TForm1\n  Left = 10\n  Caption = 'Hello'\nend\n";
const char* const kBrokenForm = "object Form2: TForm2\n  Left = \nend\n";

class RunWindowTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        oldComponents_ = qgetenv("MORVA_COMPONENTS");
        const std::string registry = Path(QStringLiteral("components.ini")).toStdString();
        com::Registry components(registry);
        auto server = [](const com::Guid& clsid) {
            return "CLSID\\" + com::ToString(clsid) + "\\InprocServer32";
        };
        components.Set(server(tpx::kMorvaClsid), "@", RECORDING_ENGINE);
        components.Set(server(sql::kSqlCompClsid), "@", RECORDING_COMPILER);
        std::string error;
        ASSERT_TRUE(components.Save(&error)) << error;
        qputenv("MORVA_COMPONENTS", QByteArray::fromStdString(registry));
        form = std::make_unique<TMainForm>();
        form->FormShow({});
        engine = Part<TScript>(*form)->Morva.As<IRecorder>();
        compiler = Part<TScript>(*form)->SqlComp1.As<IRecorder>();
        ASSERT_TRUE(engine && compiler) << "the recording components were not loaded";
        engine->ForgetCalls();
        boxes.clear();
    }

    void TearDown() override {
        form.reset();
        qputenv("MORVA_COMPONENTS", oldComponents_);
        WorkbenchTest::TearDown();
    }

    // Makes the sample order database and a schema of all its tables current.
    void SelectSchema() {
        form->Settings().Database =
            std::make_unique<schema::TDatabaseInfor>(schema::testing::OrderDatabase());
        form->Settings().DatabaseName = QStringLiteral("SHOP");
        form->Settings().Schema =
            schema::TSchema::CreateFromDatabase("ALL", "Type", "", *form->Settings().Database);
        form->Settings().SchemaName = QStringLiteral("ALL");
        form->UpdateDatabaseEnabling();
    }

    QStringList Calls(IRecorder& recorder) {
        QStringList calls;
        for (const std::string& call : recorder.Calls()) calls << QString::fromStdString(call);
        return calls;
    }

    QStringList EngineCalls(const QString& prefix) {
        return Calls(*engine).filter(QRegularExpression(u'^' + prefix));
    }

    QStringList LogLines() {
        QString text = Part<TScript>(*form)->LogText();
        if (text.endsWith(u'\n')) text.chop(1);
        return text.split(u'\n');
    }

    // Runs `answer` once the event loop of the next modal dialog runs.
    static void AnswerLater(std::function<void()> answer) { QTimer::singleShot(0, answer); }

    std::unique_ptr<TMainForm> form;
    com::ComPtr<IRecorder> engine, compiler;

  private:
    QByteArray oldComponents_;
};

TEST_F(RunWindowTest, ComponentsComeFromTheRegistryAndEnableTheCommands) {
    EXPECT_TRUE(Command(*form, "mmSRun")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmSCompile")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmDCreateBySQL")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmDCreateByODBC")->isEnabled());
    EXPECT_TRUE(Part<TScript>(*form)->isVisible());
    EXPECT_EQ(Part<TScript>(*form)->windowTitle(), QStringLiteral("Output Window"));
    EXPECT_TRUE(Part<TScript>(*form)->meLog->isReadOnly());
    EXPECT_TRUE(Part<TSelectDBaseForm>(*form)->btEdit->isEnabled());  // the schema editor is there
}

TEST_F(RunWindowTest, RunWithoutSchemaAsksForOneAndSendsNothing) {
    Part<TScript>(*form)->Log(QStringLiteral("kept"));
    engine->ForgetCalls();
    Command(*form, "mmSRun")->trigger();
    EXPECT_EQ(boxes, QStringList({"Select Schema first."}));
    EXPECT_EQ(Calls(*engine), QStringList());
    EXPECT_EQ(LogLines(), QStringList({"kept"}));
}

TEST_F(RunWindowTest, CompileOnlySendsTheScriptAloneUnderThePageName) {
    SelectSchema();
    Command(*form, "mmSCompile")->trigger();
    EXPECT_EQ(Calls(*engine),
              QStringList({"Clear()", "Clear()",
                           "SetScript(Untitle0.TPX|Start script...\n<TEXT>\n\n</TEXT>)"}));
    EXPECT_EQ(LogLines(), QStringList({"Untitle0.TPX Compiling..."}));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(RunWindowTest, RunHandsOverTheSchemaThenCompilesAndRunsInTheOutputFolder) {
    SelectSchema();
    Command(*form, "mmSRun")->trigger();
    const QStringList calls = Calls(*engine);
    ASSERT_GE(calls.size(), 6);
    EXPECT_EQ(calls.first(), QStringLiteral("Clear()"));
    EXPECT_EQ(calls[1], QStringLiteral("CreateDatabase(SHOP|2)"));
    EXPECT_TRUE(calls.contains(QStringLiteral("AddTable(ORDERS)")));
    EXPECT_TRUE(calls.contains(QStringLiteral("AddRefColumn(ORDERS|CUSTOMER)")));
    EXPECT_EQ(calls.mid(calls.indexOf(QStringLiteral("InitDatabase()"))),
              QStringList({"InitDatabase()", "Clear()",
                           "SetScript(Untitle0.TPX|Start script...\n<TEXT>\n\n</TEXT>)",
                           "SetSchema(ALL|Type|<null>)", "RunScript()"}));
    EXPECT_EQ(ReadFile(QStringLiteral("Output/run.txt")), QByteArray("ran"));
    EXPECT_EQ(QDir::currentPath(), root);
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(LogLines(), QStringList({"Untitle0.TPX Compiling...", "End script."}));
}

TEST_F(RunWindowTest, LongRunRepaintsTheLogAsLinesArriveAtABoundedRate) {
    SelectSchema();
    engine->Set("lines", "300");  // about 600 ms of work
    int partial = 0;              // refreshes that showed the run half way
    QPlainTextEdit* view = Part<TScript>(*form)->meLog;
    QObject::connect(view, &QPlainTextEdit::textChanged, [&] {
        const QString text = view->toPlainText();
        if (text.contains(QStringLiteral("line 0")) && !text.contains(QStringLiteral("line 299")))
            ++partial;
    });
    Command(*form, "mmSRun")->trigger();
    EXPECT_GE(partial, 3);
    EXPECT_LT(partial, 100);  // not once per line
    const QStringList lines = LogLines();
    EXPECT_EQ(lines.size(), 302);
    EXPECT_EQ(lines[300], QStringLiteral("line 299"));
}

TEST_F(RunWindowTest, MissingOutputFolderIsMadeAndAFileInItsPlaceStopsTheRun) {
    SelectSchema();
    form->Settings().OutputDir = Path(QStringLiteral("no/such/folder"));
    Command(*form, "mmSRun")->trigger();
    EXPECT_EQ(ReadFile(QStringLiteral("no/such/folder/run.txt")), QByteArray("ran"));
    EXPECT_EQ(QDir::currentPath(), root);
    EXPECT_TRUE(boxes.isEmpty());

    // A file where the folder should be: the user is told which and why, nothing is compiled
    // or run, and the run does not fall back to another folder.
    WriteFile(QStringLiteral("plain"), "not a folder");
    form->Settings().OutputDir = Path(QStringLiteral("plain"));
    engine->ForgetCalls();
    Command(*form, "mmSRun")->trigger();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(Path(QStringLiteral("plain")))) << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("not a folder"))) << boxes[0].toStdString();
    EXPECT_TRUE(EngineCalls(QStringLiteral("SetScript|SetSchema|RunScript")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("run.txt"))));
}

TEST_F(RunWindowTest, HandOverErrorIsShownAndNothingRuns) {
    SelectSchema();
    form->Settings().Database->Tables.pop_back();  // the schema's ORDERS is missing now
    Command(*form, "mmSRun")->trigger();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("ORDERS"))) << boxes[0].toStdString();
    EXPECT_TRUE(
        EngineCalls(QStringLiteral("InitDatabase|SetScript|SetSchema|RunScript")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Output/run.txt"))));
}

TEST_F(RunWindowTest, FailingEngineCallsEndTheRunWithOneGeneralMessage) {
    SelectSchema();
    engine->Set("fail", "SetScript");
    Command(*form, "mmSRun")->trigger();
    EXPECT_EQ(boxes, QStringList({"Compile/Runtime Error"}));
    EXPECT_TRUE(EngineCalls(QStringLiteral("SetSchema|RunScript")).isEmpty());

    boxes.clear();
    Command(*form, "mmSCompile")->trigger();  // compiling alone reports the failure with its text
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_NE(boxes[0], QStringLiteral("Compile/Runtime Error"));
}

TEST_F(RunWindowTest, FormFilesClosedByTheRunAreConvertedIntoTheOutputFolder) {
    SelectSchema();
    QDir(root).mkpath(QStringLiteral("any"));
    WriteFile(QStringLiteral("any/Form1.txt"), kForm);
    WriteFile(QStringLiteral("any/Form2.txt"), kBrokenForm);
    engine->Set("dfm", Path(QStringLiteral("any/Form1.txt")).toStdString());
    engine->Set("dfm", "");
    engine->Set("dfm", Path(QStringLiteral("any/Form2.txt")).toStdString());
    engine->Set("dfm", Path(QStringLiteral("any/missing.txt")).toStdString());
    Command(*form, "mmSRun")->trigger();

    const QByteArray dfm = ReadFile(QStringLiteral("Output/Form1.DFM"));
    EXPECT_TRUE(dfm.startsWith(QByteArray("\xFF\x0A\x00TFORM1\x00\x30\x10", 12)))
        << dfm.left(16).toHex().toStdString();
    EXPECT_TRUE(dfm.contains("TPF0"));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Output/Form2.DFM"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("any/Form1.DFM"))));
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].startsWith(Path(QStringLiteral("any/Form2.txt")) +
                                    QStringLiteral(": Error on Converting to .DFM: ")));
    EXPECT_TRUE(boxes[1].startsWith(Path(QStringLiteral("any/missing.txt")) +
                                    QStringLiteral(": Error on Converting to .DFM: ")));
    EXPECT_EQ(LogLines().last(), QStringLiteral("End script."));  // the run went on
    EXPECT_EQ(ReadFile(QStringLiteral("any/Form2.txt")), QByteArray(kBrokenForm));
}

TEST_F(RunWindowTest, BoundsComeFromTheSettingsOrTheMainWindowAndGoBackToThem) {
    EXPECT_EQ(Part<TScript>(*form)->geometry(), form->geometry());
    Part<TScript>(*form)->setGeometry(30, 40, 500, 300);
    form.reset();  // writes the settings
    auto again = std::make_unique<TMainForm>();
    again->FormShow({});
    EXPECT_EQ(Part<TScript>(*again)->geometry(), QRect(30, 40, 500, 300));
}

TEST_F(RunWindowTest, DeletingTheCurrentDatabaseLeavesNoSchemaInThePanel) {
    schema::TDatabaseInfor db = schema::testing::OrderDatabase();
    std::string error;
    ASSERT_TRUE(db.SaveDatabase(form->Settings().DatabaseDir.toStdString(), &error)) << error;
    SelectSchema();
    ASSERT_EQ(StatusPanel(*form, 2)->text(), QStringLiteral("SCHEMA"));
    answers = {Answer::Yes};
    AnswerLater([this] {
        Part<TSelectDBaseForm>(*form)->btDeleteClick();
        Part<TSelectDBaseForm>(*form)->reject();
    });
    Command(*form, "mmDSelectDatabase")->trigger();
    EXPECT_EQ(boxes, QStringList({"Delete Database [SHOP]. Are you sure ?"}));
    EXPECT_EQ(StatusPanel(*form, 2)->text(), QStringLiteral("(NONE)"));
    EXPECT_FALSE(Command(*form, "mmDSelectSchema")->isEnabled());
    EXPECT_FALSE(Command(*form, "mmDEditSchema")->isEnabled());
    Command(*form, "mmSRun")->trigger();
    EXPECT_EQ(boxes.last(), QStringLiteral("Select Schema first."));
}

// SQL generation reads the SQL file selection dialog as the user left it.
class SqlGenerationTest : public RunWindowTest {
  protected:
    void Choose(const QString& database, const QStringList& files) {
        Part<TSelectSQLFileForm>(*form)->neDatabase->setText(database);
        Part<TSelectSQLFileForm>(*form)->lbSelected->clear();
        Part<TSelectSQLFileForm>(*form)->lbSelected->addItems(files);
    }
};

TEST_F(SqlGenerationTest, NoFilesWritesTheFrameAndCallsNothing) {
    Choose(QStringLiteral("SHOP"), {});
    Part<TScript>(*form)->GenerateFromSQL();
    EXPECT_EQ(LogLines(), QStringList({"Generate Information to SHOP", "Done."}));
    EXPECT_EQ(Calls(*compiler), QStringList());
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("Database/SHOP/Schema"))).isDir());
}

TEST_F(SqlGenerationTest, TheSecondOfThreeFailingStopsTheLoop) {
    Choose(QStringLiteral("SHOP"), {"/s/one.sql", "/s/fail.sql", "/s/three.sql"});
    Part<TScript>(*form)->GenerateFromSQL();
    const QString db = Path(QStringLiteral("Database/SHOP"));
    EXPECT_EQ(Calls(*compiler), QStringList({"GenerateBy(" + db + "|/s/one.sql)",
                                             "GenerateBy(" + db + "|/s/fail.sql)"}));
    EXPECT_EQ(
        LogLines(),
        QStringList({"Generate Information to SHOP", "/s/one.sql Compiling.", "error in one.sql",
                     "1 Table(s) detected", "Table T_one.sql Information Generating.",
                     "/s/fail.sql Compiling.", "error in fail.sql", "1 Table(s) detected",
                     "Table T_fail.sql Information Generating.",
                     "Error detected. [Unspecified error]"}));
    EXPECT_EQ(Part<TScript>(*form)->DatabasePath, db);
}

TEST_F(SqlGenerationTest, FailingTablesWriteFailAndWarningsAreDropped) {
    Choose(QStringLiteral("SHOP"), {"/s/badtable.sql"});
    Part<TScript>(*form)->GenerateFromSQL();
    EXPECT_EQ(LogLines(),
              QStringList({"Generate Information to SHOP", "/s/badtable.sql Compiling.",
                           "error in badtable.sql", "1 Table(s) detected",
                           "Table T_badtable.sql Information Generating.", "Fail", "Done."}));
    EXPECT_FALSE(LogLines().contains(QStringLiteral("warning")));
}

TEST_F(SqlGenerationTest, MenuCommandRunsOnlyAfterTheDialogSaysOk) {
    QDir(root).mkpath(QStringLiteral("proj"));
    WriteFile(QStringLiteral("proj/a.sql"), "create table A (X integer);\n");
    AnswerLater([this] { Part<TSelectSQLFileForm>(*form)->btCancelClick(); });
    Command(*form, "mmDCreateBySQL")->trigger();
    EXPECT_EQ(Calls(*compiler), QStringList());

    AnswerLater([this] {
        TSelectSQLFileForm* dialog = Part<TSelectSQLFileForm>(*form);
        QTest::keyClicks(dialog->neDatabase, QStringLiteral("shop"));
        dialog->lbFiles->selectAll();
        dialog->btAddClick();
        dialog->btOkClick();
    });
    Command(*form, "mmDCreateBySQL")->trigger();
    EXPECT_EQ(Calls(*compiler), QStringList({"GenerateBy(" + Path(QStringLiteral("Database/SHOP")) +
                                             "|" + Path(QStringLiteral("proj/a.sql")) + ")"}));
}

TEST_F(SqlGenerationTest, TheDialectChoiceReachesTheCompilerAndIsRemembered) {
    QDir(root).mkpath(QStringLiteral("proj"));
    WriteFile(QStringLiteral("proj/a.sql"), "create table A (X integer);\n");
    auto choose = [this](const QString& dialect) {
        AnswerLater([this, dialect] {
            TSelectSQLFileForm* dialog = Part<TSelectSQLFileForm>(*form);
            QTest::keyClicks(dialog->neDatabase, QStringLiteral("shop"));
            dialog->lbFiles->selectAll();
            dialog->btAddClick();
            dialog->cbDialect->setCurrentIndex(dialog->cbDialect->findData(dialect));
            dialog->btOkClick();
        });
        Command(*form, "mmDCreateBySQL")->trigger();
    };
    const QString call = "GenerateBy(" + Path(QStringLiteral("Database/SHOP")) + "|" +
                         Path(QStringLiteral("proj/a.sql")) + ")";
    choose(QStringLiteral("auto"));
    EXPECT_EQ(Calls(*compiler), QStringList({"SetDialect(auto)", call}));
    EXPECT_EQ(form->Settings().SQLDialect, QStringLiteral("auto"));
    // The dialog opens on the remembered choice; the component is told again only on a change.
    compiler->ForgetCalls();
    AnswerLater([this] {
        EXPECT_EQ(Part<TSelectSQLFileForm>(*form)->Dialect(), QStringLiteral("auto"));
        Part<TSelectSQLFileForm>(*form)->btCancelClick();
    });
    Command(*form, "mmDCreateBySQL")->trigger();
    choose(QStringLiteral("auto"));
    choose(QStringLiteral("classic"));
    EXPECT_EQ(Calls(*compiler), QStringList({call, "SetDialect(classic)", call}));
}

class OdbcGenerationTest : public RunWindowTest {};

TEST_F(OdbcGenerationTest, NoDataSourcesLeaveTheListEmpty) {
    AnswerLater([this] {
        EXPECT_EQ(Part<TCreateDBIForm>(*form)->lbDatabase->count(), 0);
        Part<TCreateDBIForm>(*form)->reject();
    });
    Command(*form, "mmDCreateByODBC")->trigger();
    EXPECT_EQ(Calls(*compiler), QStringList({"GetDataSources()"}));
    EXPECT_FALSE(Part<TScript>(*form)->CollectingSources);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(OdbcGenerationTest, ChosenSourceIsGeneratedWithTheLoginTexts) {
    compiler->Set("source", "shop");
    compiler->Set("source", "stock");
    AnswerLater([this] {
        TCreateDBIForm* dialog = Part<TCreateDBIForm>(*form);
        EXPECT_EQ(Part<TScript>(*form)->DataSources,
                  QStringList({"shop", "stock"}));  // "late" dropped
        dialog->lbDatabase->setCurrentRow(1);
        AnswerLater([this] {
            TPasswdForm* login = Part<TPasswdForm>(*form);
            EXPECT_EQ(login->Database(), QStringLiteral("stock"));
            EXPECT_EQ(login->nePassword->echoMode(), QLineEdit::Password);
            login->neUserID->setText(QStringLiteral("ann"));
            login->nePassword->setText(QStringLiteral("secret"));
            login->accept();
        });
        dialog->lbDatabaseDblClick();
    });
    Command(*form, "mmDCreateByODBC")->trigger();
    EXPECT_EQ(Calls(*compiler),
              QStringList({"GetDataSources()", "GenerateFromODBCBy(stock|ann|secret|" +
                                                   Path(QStringLiteral("Database/stock")) + ")"}));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("Database/stock/Schema"))).isDir());
    // The password lives in the field only: nothing written to the settings holds it.
    form->Settings().WriteStore();
    EXPECT_FALSE(ReadFile(QStringLiteral("settings.ini")).contains("secret"));
}

TEST_F(OdbcGenerationTest, OkWithoutAChoiceGeneratesNothing) {
    compiler->Set("source", "shop");
    AnswerLater([this] { Part<TCreateDBIForm>(*form)->btOk->click(); });
    Command(*form, "mmDCreateByODBC")->trigger();
    EXPECT_EQ(Calls(*compiler), QStringList({"GetDataSources()"}));
    EXPECT_EQ(boxes.size(), 1);
}

}  // namespace
}  // namespace morva::app

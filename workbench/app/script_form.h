#pragma once
// The run window ("Output Window"): it owns the engine control and the compiler component,
// shows the engine's log, compiles and runs scripts over a schema into the output folder
// through the engine's output files, converts the form files a run closes, shows what a run
// did with its files in its status line, and builds database information from SQL scripts or
// an ODBC data source.

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <string>

#include "engine/host/imorva.h"
#include "sqlcompiler/isqlcomp.h"
#include "workbench/app/editor_page.h"

class QPlainTextEdit;
class QStatusBar;
class QTimer;

namespace morva::schema {
class TSchema;
class TDatabaseInfor;
}  // namespace morva::schema

namespace morva::app {

class TCodeMemo;
class TCreateDBIForm;
class TSelectSQLFileForm;
class TSettings;

class TScript : public QWidget {
    Q_OBJECT
  public:
    /// Creates both components by class identifier and subscribes to their events. A
    /// component that cannot be created is reported once in an information box naming its
    /// library and the reason; the commands that need it stay unavailable.
    TScript(TSettings& settings, QWidget* parent = nullptr);
    ~TScript() override;

    /// The window that Esc brings to the front.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    /// The dialogs read by GenerateFromSQL and GenerateFromODBC.
    void SetDialogs(TSelectSQLFileForm* sqlFiles, TCreateDBIForm* createDbi) {
        sqlFiles_ = sqlFiles;
        createDbi_ = createDbi;
    }

    bool EngineReady() const { return static_cast<bool>(Morva); }
    bool CompilerReady() const { return static_cast<bool>(SqlComp1); }
    /// True while a command of this window is working; a second one is refused meanwhile.
    bool Busy() const { return busy_; }

    /// Lints `script` with the engine, leaving its compiled script and log alone. Busy while
    /// a command of this window is working (a run calls back into the window); Unavailable
    /// without an engine or with one that has no lint.
    LintStatus Lint(const std::string& script, std::vector<tpx::LintFinding>* findings);

    void ClearLog();
    void Log(const QString& text);
    /// Hands the editor's text to the engine under `fileName`, which compiles it.
    void CompileScript(const QString& fileName, const TCodeMemo* editor);
    /// Hands the schema over, compiles and runs the script into the output folder, and shows
    /// the summary of its files in the status line. A schema the engine cannot take, or an
    /// output folder that cannot take the files, is reported in a box and nothing runs.
    void RunWithSchema(const schema::TSchema* schema, const schema::TDatabaseInfor* database,
                       const QString& fileName, const TCodeMemo* editor);
    /// Builds database information from the files chosen in the SQL file selection dialog.
    void GenerateFromSQL();
    /// Builds database information from an ODBC data source chosen by the user.
    void GenerateFromODBC();

    /// The text the log view shows (line feeds only), once pending changes are shown.
    QString LogText();

    // Event handlers, named after the components whose events they serve.
    void MorvaCloseAsDFM(const QString& fileName);
    void SqlComp1Error(int lineno, const QString& errMsg);
    void SqlComp1Warning(const QString& errMsg);
    void SqlComp1BeforeCompile();
    void SqlComp1AfterCompile(int nTables);
    void SqlComp1BeforeGenerateTable(const QString& name);
    void SqlComp1AfterGenerateTable(int result);

    /// Refreshes the log view now when the last refresh is older than the repaint interval,
    /// else soon; called whenever the engine's log changes.
    void LogChanged();

    com::ComPtr<tpx::IMorva> Morva;
    com::ComPtr<sql::ISqlComp> SqlComp1;
    /// The reader the compiler component was last told to use.
    QString sqlDialect_ = QStringLiteral("classic");
    QStringList DataSources;
    bool CollectingSources = false;
    QString DatabasePath;
    QString CurrentSqlFile;
    QPlainTextEdit* meLog;
    /// The status line: what the last run did with its output files.
    QStatusBar* sbRun;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class EngineSink;
    class LogSink;
    class CompilerSink;

    void CreateComponents();
    /// False, after telling the user why, when the engine cannot take the schema.
    bool SendSchema(const schema::TSchema& schema, const schema::TDatabaseInfor& database);
    /// Points the engine's output files at the output folder, making it when missing; false,
    /// after telling the user why, when the folder cannot take them.
    bool UseOutputFolder();
    void ExecuteScript();
    /// Puts what the last run did with its output files into the status line.
    void ShowRunSummary();
    void RefreshLog();
    void StoreBounds();

    TSettings& settings_;
    QWidget* mainWindow_ = nullptr;
    TSelectSQLFileForm* sqlFiles_ = nullptr;
    TCreateDBIForm* createDbi_ = nullptr;
    com::ComPtr<com::IConnectionPoint> morvaPoint_, sqlPoint_;
    uint32_t eventCookie_ = 0, logCookie_ = 0, sqlCookie_ = 0;
    com::ComPtr<com::IUnknown> engineSink_, logSink_, compilerSink_;
    QTimer* refreshTimer_;
    QElapsedTimer sinceRefresh_;
    std::string shown_;  // the log text the view holds, as the engine wrote it
    bool busy_ = false;
    int failedForms_ = 0;  // form files the run under way could not convert
};

}  // namespace morva::app

#include "workbench/app/script_form.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>
#include <exception>
#include <filesystem>

#include "component/create.h"
#include "component/hresult.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/formfile/formfile.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::app {

namespace {

// The log view is refreshed at most this often while a command is working.
constexpr int kRefreshIntervalMs = 100;

QString FromBStr(const tpx::BStr& text) {
    return text ? QString::fromStdString(*text) : QString();
}

// Empty texts travel as null strings, as the engine expects them.
tpx::BStr ToBStr(const std::string& text) {
    return text.empty() ? tpx::BStr() : tpx::BStr(text);
}

// Marks a command of the window as working for as long as it lives.
class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = previous_; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& flag_;
    bool previous_;
};

}  // namespace

// ---------------------------------------------------------------------------------------
// Event sinks: they forward each event to the window's handler of the same meaning.

class TScript::EngineSink : public com::Object<tpx::IMorvaEvents> {
  public:
    explicit EngineSink(TScript* owner) : owner_(owner) {}
    com::HRESULT OnCloseAsDFM(const tpx::BStr& filename) override {
        owner_->MorvaCloseAsDFM(FromBStr(filename));
        return com::S_OK;
    }

  private:
    TScript* owner_;
};

class TScript::LogSink : public com::Object<tpx::IMorvaLogSink> {
  public:
    explicit LogSink(TScript* owner) : owner_(owner) {}
    com::HRESULT OnLogChanged() override {
        owner_->LogChanged();
        return com::S_OK;
    }

  private:
    TScript* owner_;
};

class TScript::CompilerSink : public com::Object<sql::ISqlCompEvents> {
  public:
    explicit CompilerSink(TScript* owner) : owner_(owner) {}
    com::HRESULT OnError(int32_t lineno, const sql::BStr& errMsg) override {
        owner_->SqlComp1Error(lineno, FromBStr(errMsg));
        return com::S_OK;
    }
    com::HRESULT OnWarning(const sql::BStr& errMsg) override {
        owner_->SqlComp1Warning(FromBStr(errMsg));
        return com::S_OK;
    }
    com::HRESULT OnBeforeCompile() override {
        owner_->SqlComp1BeforeCompile();
        return com::S_OK;
    }
    com::HRESULT OnAfterCompile(int32_t nTables) override {
        owner_->SqlComp1AfterCompile(nTables);
        return com::S_OK;
    }
    com::HRESULT OnBeforeGenerateTable(const sql::BStr& sName) override {
        owner_->SqlComp1BeforeGenerateTable(FromBStr(sName));
        return com::S_OK;
    }
    com::HRESULT OnAfterGenerateTable(int32_t result) override {
        owner_->SqlComp1AfterGenerateTable(result);
        return com::S_OK;
    }

  private:
    TScript* owner_;
};

// ---------------------------------------------------------------------------------------
// Creation

TScript::TScript(TSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings) {
    setObjectName(QStringLiteral("Script"));
    setWindowTitle(QStringLiteral("Output Window"));
    meLog = new QPlainTextEdit(this);
    meLog->setObjectName(QStringLiteral("Morva"));
    meLog->setReadOnly(true);
    meLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    meLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    meLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog->setUndoRedoEnabled(false);
    sbRun = new QStatusBar(this);
    sbRun->setObjectName(QStringLiteral("sbRun"));
    sbRun->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(meLog);
    layout->addWidget(sbRun);
    resize(678, 646);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshIntervalMs);
    connect(refreshTimer_, &QTimer::timeout, this, &TScript::RefreshLog);
    CreateComponents();
}

TScript::~TScript() {
    if (morvaPoint_) {
        if (eventCookie_) morvaPoint_->Unadvise(eventCookie_);
        if (logCookie_) morvaPoint_->Unadvise(logCookie_);
    }
    if (sqlPoint_ && sqlCookie_) sqlPoint_->Unadvise(sqlCookie_);
}

void TScript::CreateComponents() {
    QStringList failures;
    std::string error;
    Morva = com::CreateInstance<tpx::IMorva>(tpx::kMorvaClsid, tpx::kTpxLibrary, &error);
    if (Morva) {
        morvaPoint_ = Morva.As<com::IConnectionPoint>();
        engineSink_ = com::MakeObject<EngineSink, com::IUnknown>(this);
        logSink_ = com::MakeObject<LogSink, com::IUnknown>(this);
        if (morvaPoint_) {
            morvaPoint_->Advise(engineSink_.get(), &eventCookie_);
            morvaPoint_->Advise(logSink_.get(), &logCookie_);
        }
    } else {
        failures << QStringLiteral("The template engine cannot be created: %1")
                        .arg(QString::fromStdString(error));
    }
    error.clear();
    SqlComp1 =
        com::CreateInstance<sql::ISqlComp>(sql::kSqlCompClsid, sql::kSqlCompilerLibrary, &error);
    if (SqlComp1) {
        sqlPoint_ = SqlComp1.As<com::IConnectionPoint>();
        compilerSink_ = com::MakeObject<CompilerSink, com::IUnknown>(this);
        if (sqlPoint_) sqlPoint_->Advise(compilerSink_.get(), &sqlCookie_);
    } else {
        failures << QStringLiteral("The SQL compiler cannot be created: %1")
                        .arg(QString::fromStdString(error));
    }
    if (!failures.isEmpty()) InformationBox(failures.join(u'\n'));
}

// ---------------------------------------------------------------------------------------
// The log

void TScript::ClearLog() {
    if (Morva) Morva->Clear();
}

void TScript::Log(const QString& text) {
    if (Morva) Morva->WriteLine(text.toStdString());
}

QString TScript::LogText() {
    if (refreshTimer_->isActive()) RefreshLog();
    return meLog->toPlainText();
}

void TScript::LogChanged() {
    if (!sinceRefresh_.isValid() || sinceRefresh_.elapsed() >= kRefreshIntervalMs) {
        RefreshLog();
        // While a command works the event loop does not run: let the view repaint, but keep
        // the user's input out so that no second command starts meanwhile.
        if (busy_) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (!refreshTimer_->isActive()) {
        refreshTimer_->start();
    }
}

void TScript::RefreshLog() {
    refreshTimer_->stop();
    sinceRefresh_.start();
    std::string text;
    if (Morva) Morva->GetLogText(&text);
    if (text == shown_) return;
    auto toView = [](std::string_view bytes) {
        QString s = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        s.remove(u'\r');
        return s;
    };
    // The log only grows between two clears: append the new part when the shown text is its
    // beginning, which keeps a long log cheap to follow.
    const bool grew = text.size() >= shown_.size() && text.compare(0, shown_.size(), shown_) == 0 &&
                      (shown_.empty() || shown_.back() != '\r');
    if (grew && !shown_.empty()) {
        QTextCursor cursor(meLog->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(toView(std::string_view(text).substr(shown_.size())));
    } else {
        meLog->setPlainText(toView(text));
    }
    shown_ = std::move(text);
    meLog->verticalScrollBar()->setValue(meLog->verticalScrollBar()->maximum());
}

// ---------------------------------------------------------------------------------------
// Compile and run

LintStatus TScript::Lint(const std::string& script, std::vector<tpx::LintFinding>* findings) {
    if (!Morva) return LintStatus::Unavailable;
    if (busy_) return LintStatus::Busy;
    const com::ComPtr<tpx::IMorvaLint> lint = Morva.As<tpx::IMorvaLint>();
    if (!lint) return LintStatus::Unavailable;
    const com::HRESULT hr = lint->Lint(script, findings);
    if (hr == com::E_UNEXPECTED) return LintStatus::Busy;
    return com::Failed(hr) ? LintStatus::Unavailable : LintStatus::Done;
}

void TScript::CompileScript(const QString& fileName, const TCodeMemo* editor) {
    if (!Morva || !editor) return;
    BusyFlag busy(busy_);
    const std::string code = editor->toPlainText().toStdString();
    BusyCursor cursor;
    com::Check(Morva->Clear());
    com::Check(Morva->SetScript(fileName.toStdString(), code));
    RefreshLog();
}

bool TScript::SendSchema(const schema::TSchema& schema, const schema::TDatabaseInfor& database) {
    try {
        schema.SendToEngine(*Morva, database);
        com::Check(Morva->InitDatabase());
    } catch (const std::exception& e) {
        InformationBox(QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool TScript::UseOutputFolder() {
    std::string reason;
    const com::HRESULT hr = Morva->SetOutputFolder(settings_.OutputDir.toStdString(), &reason);
    if (!com::Failed(hr)) return true;
    if (reason.empty()) reason = com::StatusText(hr);
    InformationBox(QStringLiteral("Output folder %1: %2")
                       .arg(settings_.OutputDir, QString::fromStdString(reason)));
    return false;
}

void TScript::ExecuteScript() {
    BusyCursor cursor;
    failedForms_ = 0;
    com::Check(Morva->RunScript());
}

void TScript::ShowRunSummary() {
    tpx::RunOutput out;
    if (Morva->GetRunOutput(&out) != com::S_OK) return;
    QString text = QString::fromStdString(
        tpx::OutputSummary(out.written, out.unchanged, 0, out.stale.size(),
                           static_cast<int>(out.failed.size()) + failedForms_));
    // Hand-written text the new output no longer has a place for must not go unnoticed.
    for (const tpx::RunOutput::LostRegion& lost : out.lostRegions) {
        text += QStringLiteral("; %1: kept region %2 is no longer generated")
                    .arg(QString::fromStdString(lost.file), QString::fromStdString(lost.region));
        if (!lost.savedAs.empty())
            text +=
                QStringLiteral(", its text is saved in %1")
                    .arg(QDir(settings_.OutputDir).filePath(QString::fromStdString(lost.savedAs)));
    }
    sbRun->showMessage(text);
}

void TScript::RunWithSchema(const schema::TSchema* schema, const schema::TDatabaseInfor* database,
                            const QString& fileName, const TCodeMemo* editor) {
    if (!schema || !editor || !Morva || busy_) return;
    show();
    raise();
    activateWindow();
    BusyFlag busy(busy_);
    sbRun->clearMessage();
    // A schema the engine cannot take would make a damaged model, and output written
    // anywhere but the output folder goes where nobody looks: nothing runs then.
    if (database && !SendSchema(*schema, *database)) return;
    if (!UseOutputFolder()) return;
    try {
        CompileScript(fileName, editor);
        com::Check(Morva->SetSchema(ToBStr(schema->Name), ToBStr(schema->SchemaType),
                                    ToBStr(schema->SchemaLabel)));
        ExecuteScript();
    } catch (const std::exception&) {
        RefreshLog();
        InformationBox(QStringLiteral("Compile/Runtime Error"));
    }
    RefreshLog();
    ShowRunSummary();
}

namespace {

// The engine's output files of the run under way, as the form file conversion reaches them.
class EngineOutputFiles : public formfile::RunOutputFiles {
  public:
    EngineOutputFiles(tpx::IMorva& morva, const QString& folder)
        : morva_(morva), folder_(folder.toStdString()) {}
    bool ClosedText(const std::string& name, std::string* text) override {
        return morva_.GetClosedText(name, text) == com::S_OK;
    }
    std::string PathOf(const std::string& name) override {
        if (folder_.empty() || (!name.empty() && name[0] == '/')) return name;
        return (std::filesystem::path(folder_) / name).string();
    }
    int Put(const std::string& name, const std::string& content) override {
        int32_t error = 0;
        const com::HRESULT hr = morva_.PutOutputFile(name, content, &error);
        if (!com::Failed(hr)) return 0;
        putFailed = true;
        return error ? error : EIO;
    }
    /// A put failed: the engine counts that file among the run's failed files already.
    bool putFailed = false;

  private:
    tpx::IMorva& morva_;
    std::string folder_;
};

}  // namespace

void TScript::MorvaCloseAsDFM(const QString& fileName) {
    if (fileName.isEmpty() || !Morva) return;
    EngineOutputFiles files(*Morva, settings_.OutputDir);
    std::string error;
    if (!formfile::ConvertClosedFormFile(files, fileName.toStdString(), &error)) {
        if (!files.putFailed) ++failedForms_;
        InformationBox(QString::fromStdString(error));
    }
}

// ---------------------------------------------------------------------------------------
// Database information from SQL scripts and from ODBC

void TScript::GenerateFromSQL() {
    if (!Morva || !SqlComp1 || !sqlFiles_ || busy_) return;
    BusyFlag busy(busy_);
    BusyCursor cursor;
    ClearLog();
    const QString name = sqlFiles_->DatabaseName();
    Log(QStringLiteral("Generate Information to %1").arg(name));
    DatabasePath = EnsureDatabaseFolder(settings_, name);
    if (DatabasePath.isEmpty()) {
        RefreshLog();
        return;
    }
    // The component keeps its reader between calls: it is told only when the choice changes.
    const QString dialect = sqlFiles_->Dialect();
    if (dialect != sqlDialect_ && !com::Failed(SqlComp1->SetDialect(dialect.toStdString())))
        sqlDialect_ = dialect;
    for (const QString& file : sqlFiles_->SelectedFiles()) {
        CurrentSqlFile = file;
        const com::HRESULT hr =
            SqlComp1->GenerateBy(DatabasePath.toStdString(), CurrentSqlFile.toStdString());
        if (com::Failed(hr)) {
            Log(QStringLiteral("Error detected. [%1]")
                    .arg(QString::fromStdString(com::StatusText(hr))));
            RefreshLog();
            return;
        }
    }
    Log(QStringLiteral("Done."));
    RefreshLog();
}

void TScript::GenerateFromODBC() {
    if (!SqlComp1 || !createDbi_ || busy_) return;
    BusyFlag busy(busy_);
    DataSources.clear();
    CollectingSources = true;
    SqlComp1->GetDataSources();
    CollectingSources = false;
    createDbi_->FillWithSources(DataSources);
    if (createDbi_->exec() != QDialog::Accepted) return;
    const QString source = createDbi_->SelectedEntry();
    if (source.isEmpty()) {
        InformationBox(QStringLiteral("No data source is selected."));
        return;
    }
    BusyCursor cursor;
    const QString folder = EnsureDatabaseFolder(settings_, source);
    if (folder.isEmpty()) return;
    const com::HRESULT hr =
        SqlComp1->GenerateFromODBCBy(source.toStdString(), createDbi_->UserID().toStdString(),
                                     createDbi_->Password().toStdString(), folder.toStdString());
    RefreshLog();
    if (com::Failed(hr)) InformationBox(QString::fromStdString(com::StatusText(hr)));
}

// ---------------------------------------------------------------------------------------
// Compiler events

void TScript::SqlComp1Error(int, const QString& errMsg) {
    Log(errMsg);
}

void TScript::SqlComp1Warning(const QString& errMsg) {
    if (!CollectingSources) return;
    if (errMsg.isEmpty())
        CollectingSources = false;
    else
        DataSources << errMsg;
}

void TScript::SqlComp1BeforeCompile() {
    Log(QStringLiteral("%1 Compiling.").arg(CurrentSqlFile));
}

void TScript::SqlComp1AfterCompile(int nTables) {
    Log(QStringLiteral("%1 Table(s) detected").arg(nTables));
}

void TScript::SqlComp1BeforeGenerateTable(const QString& name) {
    Log(QStringLiteral("Table %1 Information Generating.").arg(name));
}

void TScript::SqlComp1AfterGenerateTable(int result) {
    if (result != 0) Log(QStringLiteral("Fail"));
}

// ---------------------------------------------------------------------------------------
// Window

void TScript::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && mainWindow_) {
        mainWindow_->raise();
        mainWindow_->activateWindow();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TScript::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    StoreBounds();
}

void TScript::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    StoreBounds();
}

// The bounds go to the settings as they change, so they are current when the settings are
// written at exit.
void TScript::StoreBounds() {
    if (!isVisible()) return;
    const QRect bounds = geometry();
    settings_.ScriptLeft = bounds.left();
    settings_.ScriptTop = bounds.top();
    settings_.ScriptWidth = bounds.width();
    settings_.ScriptHeight = bounds.height();
}

}  // namespace morva::app

// The main window's commands that reach the run window and the database dialogs: compile,
// run, select a database, create database information and choose the output folder.

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QShortcut>
#include <QTreeWidget>

#include "workbench/app/browse_form.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/editor_page.h"
#include "workbench/app/main_form.h"
#include "workbench/app/passwd_form.h"
#include "workbench/app/script_form.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/select_sql_file_form.h"

namespace morva::app {

namespace {

// Makes a command that was waiting for its window available and binds its handler.
void Bind(TMainForm* form, QAction* action, void (TMainForm::*handler)(), bool available) {
    action->setProperty("later", !available);
    action->setEnabled(available);
    QObject::connect(action, &QAction::triggered, form, handler);
}

}  // namespace

void TMainForm::CreateRunWindow() {
    Script = new TScript(settings_, this);
    Script->SetMainWindow(this);
    PasswdForm = new TPasswdForm(this);
    CreateDBIForm = new TCreateDBIForm(settings_, *PasswdForm, this);
    SelectSQLFileForm = new TSelectSQLFileForm(settings_, this);
    SelectDBaseForm = new TSelectDBaseForm(settings_, this);
    BrowseForm = new TBrowseForm(settings_, this);
    Script->SetDialogs(SelectSQLFileForm, CreateDBIForm);

    const bool engine = Script->EngineReady();
    const bool both = engine && Script->CompilerReady();
    Bind(this, mmSCompile, &TMainForm::mmSCompileClick, engine);
    Bind(this, mmSCheck, &TMainForm::mmSCheckClick, engine);
    Bind(this, mmSRun, &TMainForm::mmSRunClick, engine);
    Bind(this, mmDSelectDatabase, &TMainForm::mmDSelectDatabaseClick, true);
    Bind(this, mmDCreateByBDE, &TMainForm::mmDCreateByBDEClick, true);
    Bind(this, mmDCreateByODBC, &TMainForm::mmDCreateByODBCClick, both);
    Bind(this, mmDCreateBySQL, &TMainForm::mmDCreateBySQLClick, both);
    Bind(this, mmOOutputDir, &TMainForm::mmOOutputDirClick, true);

    // Esc in the main window brings the run window to the front, as Esc there comes back.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        Script->show();
        Script->raise();
        Script->activateWindow();
    });
    UpdateDatabaseEnabling();
}

void TMainForm::ShowRunWindowFirstTime() {
    // Without any alias there is nothing to build from: the command stays off for good.
    CreateDBIForm->FillWithAliases();
    if (!CreateDBIForm->EngineAvailable) {
        mmDCreateByBDE->setProperty("later", true);
        mmDCreateByBDE->setEnabled(false);
    }
    if (settings_.ScriptLeft >= 0 && settings_.ScriptWidth > 0 && settings_.ScriptHeight > 0)
        Script->setGeometry(settings_.ScriptLeft, settings_.ScriptTop, settings_.ScriptWidth,
                            settings_.ScriptHeight);
    else
        Script->setGeometry(geometry());
    UpdateDatabaseEnabling();
    Script->show();
    raise();
    activateWindow();
}

void TMainForm::UpdateDatabaseEnabling() {
    ssBarPanels[2]->setText(settings_.Schema ? QStringLiteral("SCHEMA") : QStringLiteral("(NONE)"));
    SetCommand(mmDSelectSchema, static_cast<bool>(settings_.Database));
    SetCommand(mmDEditSchema, static_cast<bool>(settings_.Schema));
}

void TMainForm::mmSCompileClick() {
    const TEditorPage* page = Page(PageIndex());
    if (!page || Script->Busy()) return;
    Script->ClearLog();
    try {
        Script->CompileScript(page->FileName(), page->Editor());
    } catch (const std::exception& e) {
        InformationBox(QString::fromStdString(e.what()));
    }
    Script->show();
}

void TMainForm::mmSRunClick() {
    if (Script->Busy()) return;
    if (!settings_.Schema) {
        InformationBox(QStringLiteral("Select Schema first."));
        return;
    }
    Script->ClearLog();
    if (const TEditorPage* page = Page(PageIndex()))
        Script->RunWithSchema(settings_.Schema.get(), settings_.Database.get(), page->FileName(),
                              page->Editor());
    Script->show();
}

// Lints the active page now, without waiting for a pause in typing, and shows its findings.
void TMainForm::mmSCheckClick() {
    TEditorPage* page = Page(PageIndex());
    if (!page) return;
    page->LintNow();
    RefreshFindings();
    // Opened for the first time, the list takes a few rows and leaves the page its room.
    const bool opening = !dkFindings->isVisible() && !dkFindings->isFloating();
    dkFindings->show();
    dkFindings->raise();
    if (opening) resizeDocks({dkFindings}, {8 * lvFindings->fontMetrics().height()}, Qt::Vertical);
}

void TMainForm::mmDSelectDatabaseClick() {
    SelectDBaseForm->exec();
    UpdateDatabaseEnabling();
}

void TMainForm::mmDCreateByBDEClick() {
    CreateDBIForm->FillWithAliases();
    CreateDBIForm->exec();
}

void TMainForm::mmDCreateByODBCClick() {
    Script->GenerateFromODBC();
}

void TMainForm::mmDCreateBySQLClick() {
    if (Script->Busy() || SelectSQLFileForm->exec() != QDialog::Accepted) return;
    Script->show();
    Script->GenerateFromSQL();
}

void TMainForm::mmOOutputDirClick() {
    BrowseForm->exec();
}

}  // namespace morva::app

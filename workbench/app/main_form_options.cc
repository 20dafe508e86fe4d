// The main window's schema and environment commands: schema selection and editing, file
// types, keyword languages and the macro buttons with their panel.

#include <QEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QSplitter>
#include <QTextCursor>
#include <algorithm>
#include <functional>
#include <utility>

#include "workbench/app/add_ref_table.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/column_edit.h"
#include "workbench/app/create_schema.h"
#include "workbench/app/custom_button.h"
#include "workbench/app/language.h"
#include "workbench/app/main_form.h"
#include "workbench/app/open_filter.h"
#include "workbench/app/room_select.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/table_order.h"
#include "workbench/app/type_label.h"
#include "workbench/schema/schema.h"

namespace morva::app {

namespace {

// A double click on the macro button panel opens the macro button editor; a new width that
// holds another number of columns lays the buttons out again (the splitter and the window's
// own layout both resize the panel).
class PanelEvents : public QObject {
  public:
    PanelEvents(QObject* parent, std::function<void()> edit, std::function<void()> rebuild)
        : QObject(parent), edit_(std::move(edit)), rebuild_(std::move(rebuild)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) edit_();
        if (event->type() == QEvent::Resize) {
            const auto* resize = static_cast<QResizeEvent*>(event);
            if (TCustomButton::PanelColumns(resize->size().width()) !=
                TCustomButton::PanelColumns(resize->oldSize().width()))
                rebuild_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> edit_, rebuild_;
};

}  // namespace

void TMainForm::CreateOptionDialogs() {
    CustomButton = new TCustomButton(settings_.RootDir + QStringLiteral("/MacroBtn.CDF"), this);
    GetText = new TGetText(this);
    Language = new TLanguage(settings_.RootDir + QStringLiteral("/Keywords.CDF"),
                             settings_.Language, GetText, this);
    TypeLabel = new TTypeLabel(settings_, this);
    AddRefTable = new TAddRefTable(this);
    ColumnEdit = new TColumnEdit(this);
    CreateSchema = new TCreateSchema(settings_, TypeLabel, ColumnEdit, AddRefTable, this);
    TableOrderForm = new TTableOrderForm(settings_, this);
    RoomSelectForm = new TRoomSelectForm(settings_, TypeLabel, CreateSchema, TableOrderForm, this);
    OpenFilter = new TOpenFilter(this);
    for (const QString& error : {CustomButton->LoadError, Language->LoadError})
        if (!error.isEmpty()) InformationBox(error);

    // "&Edit" of the database selection dialog edits the database's information itself.
    SelectDBaseForm->SetEditHook([this](schema::TDatabaseInfor& db) {
        CreateSchema->PrepareDatabase(db);
        CreateSchema->exec();
    });
    sbToolbars->installEventFilter(new PanelEvents(
        this, [this] { mmOCustomButtonsClick(); }, [this] { BuildMacroPanel(); }));
    connect(Splitter1, &QSplitter::splitterMoved, this, &TMainForm::BuildMacroPanel);
}

void TMainForm::mmDSelectSchemaClick() {
    if (!settings_.Database) return;
    RoomSelectForm->exec();
    UpdateDatabaseEnabling();
}

void TMainForm::mmDEditSchemaClick() {
    if (!settings_.Schema || !settings_.Database) return;
    CreateSchema->PrepareSchema(*settings_.Schema);
    CreateSchema->exec();
}

void TMainForm::mmOFileTypeClick() {
    OpenFilter->SetFilter(settings_.OpenFilter);
    if (OpenFilter->exec() == QDialog::Accepted) settings_.OpenFilter = OpenFilter->Filter();
}

void TMainForm::mmOLanguageClick() {
    if (Language->exec() != QDialog::Accepted) return;
    if (const QStringList* keywords = Language->CurrentKeywords()) SetKeywords(*keywords);
    if (TCodeMemo* memo = ActiveEditor()) memo->viewport()->update();
}

void TMainForm::mmOCustomButtonsClick() {
    if (CustomButton->exec() == QDialog::Accepted) BuildMacroPanel();
}

void TMainForm::BuildMacroPanel() {
    CustomButton->BuildPanel(sbToolbars, [this](int index) { MacroButtonClick(index); });
}

void TMainForm::MacroButtonClick(int index) {
    TCodeMemo* memo = ActiveEditor();
    if (!memo || index < 0 || index >= static_cast<int>(CustomButton->Buttons.size())) return;
    const MacroButton& button = CustomButton->Buttons[static_cast<size_t>(index)];
    QTextCursor cursor = memo->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(QString::fromStdString(button.text));
    const int end = static_cast<int>(memo->document()->characterCount()) - 1;
    cursor.setPosition(std::min(start + button.CaretOffset(), end));
    memo->setTextCursor(cursor);
    memo->setFocus();
}

}  // namespace morva::app

#pragma once
// The workbench's main window: the editor pages, the menus, tool bar,
// pop-up menu and status bar, opening, saving and closing files, the recent lists,
// find, replace and go to line in the active page, and the list of the active page's lint
// findings.

#include <QMainWindow>
#include <QStringList>

#include "workbench/app/global.h"
#include "workbench/app/message_boxes.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeWidget;

namespace morva::app {

class TAddRefTable;
class TCodeMemo;
class TEditorPage;
class TColumnEdit;
class TCreateSchema;
class TCustomButton;
class TFindDialog;
class TGetText;
class TLanguage;
class TOpenFilter;
class TRoomSelectForm;
class TTableOrderForm;
class TTypeLabel;
class TGotoLineNo;
class TReplaceDialog;
class TSplash;
class TScript;
class TSelectDBaseForm;
class TCreateDBIForm;
class TPasswdForm;
class TSelectSQLFileForm;
class TBrowseForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    /// Reads the settings, reopens the last database and schema and builds the window.
    explicit TMainForm(QWidget* parent = nullptr);
    /// Stores the window bounds and filter and writes the settings.
    ~TMainForm() override;

    /// Opens `startFile` when it names a readable file, else makes a new page.
    void FormShow(const QString& startFile);
    /// The settings read at the start and written when the window goes away.
    TSettings& Settings() { return settings_; }

    // Pages and their editors.
    int PageIndex() const;
    int PageTotal() const;
    /// Page `index`, or null when there is none.
    TEditorPage* Page(int index) const;
    TCodeMemo* Editor(int index) const;
    TCodeMemo* ActiveEditor() const;
    void ActivatePage(int index);

    // File commands.
    void NewPage();
    /// Opens `fileName` in a page, or activates its page when it is open already.
    void OpenFile(const QString& fileName);
    /// Saves page `index`; false when it was not saved (cancelled or failed, after a message).
    bool SavePage(int index);
    /// Saves every page; false when a write failed.
    bool SaveAll();
    /// Closes page `index`, asking first when it is modified; false when it stays open.
    bool ClosePage(int index);
    /// Closes every page with the save questions; false when cancelled.
    bool CloseAll();
    /// A request of a second start: come to the front and open `fileName` when given.
    void HandleInstanceRequest(const QString& fileName);

    /// The keyword list of the chosen language, given to every editor.
    void SetKeywords(const QStringList& keywords);
    /// Rebuilds the recent menu from the recent folders and files of the settings.
    void RebuildRecentMenu();
    /// The schema panel and the commands that need a current database or schema.
    void UpdateDatabaseEnabling();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Building the window.
    void ReadSettings();
    void WriteSettings();
    void CreateActions();
    void CreateMenus();
    void CreatePopupMenu();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePageArea();
    void CreateFindingsDock();
    void CreateDialogs();
    void CreateRunWindow();
    void CreateOptionDialogs();
    void LoadKeywords();
    void ShowRunWindowFirstTime();
    QAction* MakeAction(const char* name, const QString& caption, const QKeySequence& key,
                        void (TMainForm::*handler)());
    QAction* Later(const char* name, const QString& caption, const QKeySequence& key = {});

    // Pages.
    TEditorPage* SetupPage(const QString& fileName);
    void RemovePage(int index);
    /// Asks for a file starting in `folder` and opens it.
    void LoadCommand(const QString& folder);
    /// Asks for a new name and saves page `index` under it; false when cancelled or failed.
    bool SaveAs(int index);
    /// Opens the first of `files` dropped on the window.
    void DropFiles(const QStringList& files);

    // Search commands on the active editor, with their messages.
    /// Selects the next occurrence of `text`; shows "Could not find" when there is none.
    bool SearchText(const QString& text);
    /// Selects the next occurrence of `find` and, unless refused at the "Replace it ?"
    /// prompt, replaces it; false when there is none.
    bool ReplaceOnce(const QString& find, const QString& replace, bool prompt);
    void ReplaceAll(const QString& find, const QString& replace, bool prompt);
    /// Moves the caret to the start of the line numbered by `text` (1 the first).
    void GotoLine(const QString& text);
    void SearchNext();

    // Caption, enabling, status bar and the macro button panel.
    void UpdateCaption();
    void EditorChanged();
    /// Caret position panel and the selection-dependent commands.
    void RefreshPosition();
    /// Enabling of the commands that depend on the pages.
    void UpdateCommands();
    void RefreshPaste();
    void SetCommand(QAction* action, bool enabled);
    /// Rebuilds the macro button panel from the macro button editor's records.
    void BuildMacroPanel();
    /// Inserts macro button `index`'s text at the active editor's caret.
    void MacroButtonClick(int index);
    /// The findings count in the status bar and the findings list, from the active page.
    void RefreshFindings();

    // Menu handlers.
    void mmFNewClick();
    void mmFLoadClick();
    void mmFSaveClick();
    void mmFSaveAsClick();
    void mmFSaveAllClick();
    void mmFCloseClick();
    void mmFCloseAllClick();
    void mmFileShow();
    void mmEUndoClick();
    void mmECutClick();
    void mmECopyClick();
    void mmEPasteClick();
    void mmEDeleteClick();
    void mmESelectAllClick();
    void mmEFindClick();
    void mmEReplaceClick();
    void mmESearchNextClick();
    void mmEGotoLineClick();
    void mmDSelectDatabaseClick();
    void mmDSelectSchemaClick();
    void mmDEditSchemaClick();
    void mmDCreateByBDEClick();
    void mmDCreateByODBCClick();
    void mmDCreateBySQLClick();
    void mmSCompileClick();
    void mmSRunClick();
    void mmSCheckClick();
    void mmOOutputDirClick();
    void mmOFileTypeClick();
    void mmOLanguageClick();
    void mmOCustomButtonsClick();
    void mmOFontClick();
    void mmOAutoIndentClick();
    void mmOViewPanelClick();
    void mmHContentsClick();
    void mmHAboutClick();

    TSettings settings_;
    QStringList keywords_;
    int UntitledCount = 0;
    int PageCount = 0;
    /// What Search Next repeats: 0 nothing yet, 1 the last find, 2 the last replace.
    int LastSearch = 0;

    // Components, named as the handlers refer to them. Tests and the screen renderer find
    // them by these object names.
    QToolBar* tbMain;
    QWidget* sbToolbars;
    QSplitter* Splitter1;
    QTabWidget* pgEdit;
    QLabel* ssBarPanels[4];
    QLabel* ssBarFindings;
    QDockWidget* dkFindings;
    QTreeWidget* lvFindings;
    QMenu* mmFile;
    QMenu* mmRecent;
    QMenu* pmEditor;
    QAction *mmFNew, *mmFLoad, *mmFSave, *mmFSaveAs, *mmFSaveAll, *mmFClose, *mmFCloseAll, *mmFExit;
    QAction *mmEUndo, *mmECut, *mmECopy, *mmEPaste, *mmEDelete, *mmESelectAll, *mmEFind,
        *mmEReplace, *mmESearchNext, *mmEGotoLine;
    QAction *mmDSelectDatabase, *mmDSelectSchema, *mmDEditSchema, *mmDCreateByBDE, *mmDCreateByODBC,
        *mmDCreateBySQL;
    QAction *mmSCompile, *mmSCheck, *mmSRun;
    QAction *mmOOutputDir, *mmOFileType, *mmOLanguage, *mmOCustomButtons, *mmOFont, *mmOAutoIndent,
        *mmOViewPanel;
    QAction *mmHContents, *mmHAbout;
    QAction* pmClosePage;

    // Dialogs and the run window.
    TFindDialog* FindDialog;
    TReplaceDialog* ReplaceDialog;
    TGotoLineNo* GotoLineNo;
    TSplash* AboutBox;
    TCustomButton* CustomButton;
    TLanguage* Language;
    TGetText* GetText;
    TCreateSchema* CreateSchema;
    TTypeLabel* TypeLabel;
    TRoomSelectForm* RoomSelectForm;
    TAddRefTable* AddRefTable;
    TColumnEdit* ColumnEdit;
    TOpenFilter* OpenFilter;
    TTableOrderForm* TableOrderForm;
    TScript* Script = nullptr;
    TSelectDBaseForm* SelectDBaseForm = nullptr;
    TCreateDBIForm* CreateDBIForm = nullptr;
    TPasswdForm* PasswdForm = nullptr;
    TSelectSQLFileForm* SelectSQLFileForm = nullptr;
    TBrowseForm* BrowseForm = nullptr;
};

}  // namespace morva::app

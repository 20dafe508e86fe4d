#include "workbench/app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "workbench/app/code_memo.h"
#include "workbench/app/editor_page.h"
#include "workbench/app/find_dialog.h"
#include "workbench/app/form_text.h"
#include "workbench/app/goto_line_dialog.h"
#include "workbench/app/language.h"
#include "workbench/app/replace_dialog.h"
#include "workbench/app/script_form.h"
#include "workbench/app/splash_form.h"

namespace morva::app {

namespace {

const QString kTitle = QStringLiteral("Morva 1.00");
// Tool bar images come from the desktop's icon theme; without one (a bare X server, the
// offscreen platform) the installed Adwaita theme is used, and the style's own images last.
void UseIconTheme() {
    const QString theme = QIcon::themeName();
    if ((theme.isEmpty() || theme == QStringLiteral("hicolor")) &&
        QFileInfo::exists(QStringLiteral("/usr/share/icons/Adwaita/index.theme")))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

// With `prompt`, each occurrence is replaced only when "Replace it ?" is answered Yes.
std::function<bool()> ReplacePrompt(bool prompt) {
    if (!prompt) return {};
    return [] { return Confirmation(QStringLiteral("Replace it ?")) == Answer::Yes; };
}

QIcon ToolIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(themeName),
                            QApplication::style()->standardIcon(fallback));
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(kTitle);
    ReadSettings();
    CreateActions();
    CreateMenus();
    CreatePopupMenu();
    CreateToolBar();
    CreateStatusBar();
    CreatePageArea();
    CreateFindingsDock();
    CreateDialogs();
    CreateRunWindow();
    CreateOptionDialogs();
    LoadKeywords();
    resize(670, 600);
    move(219, 85);
    RebuildRecentMenu();
    UpdateCommands();
    UpdateDatabaseEnabling();
}

TMainForm::~TMainForm() {
    WriteSettings();
}

void TMainForm::ReadSettings() {
    settings_.Initialise();
    settings_.ReopenLast();
}

void TMainForm::WriteSettings() {
    const QRect bounds = geometry();
    settings_.MainLeft = bounds.left();
    settings_.MainTop = bounds.top();
    settings_.MainWidth = bounds.width();
    settings_.MainHeight = bounds.height();
    settings_.WriteStore();
    settings_.ReleaseCurrent();
}

// ---------------------------------------------------------------------------------------
// Building the window

QAction* TMainForm::MakeAction(const char* name, const QString& caption, const QKeySequence& key,
                               void (TMainForm::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) action->setShortcut(key);
    if (handler) connect(action, &QAction::triggered, this, handler);
    return action;
}

// Commands whose windows are not part of the workbench yet: present, and disabled.
QAction* TMainForm::Later(const char* name, const QString& caption, const QKeySequence& key) {
    QAction* action = MakeAction(name, caption, key, nullptr);
    action->setProperty("later", true);
    action->setEnabled(false);
    return action;
}

void TMainForm::SetCommand(QAction* action, bool enabled) {
    action->setEnabled(enabled && !action->property("later").toBool());
}

void TMainForm::CreateActions() {
    using K = QKeySequence;
    mmFNew = MakeAction("mmFNew", QStringLiteral("&New"), {}, &TMainForm::mmFNewClick);
    mmFLoad = MakeAction("mmFLoad", QStringLiteral("&Load..."), K(Qt::CTRL | Qt::Key_L),
                         &TMainForm::mmFLoadClick);
    mmFSave = MakeAction("mmFSave", QStringLiteral("&Save"), K(Qt::CTRL | Qt::Key_S),
                         &TMainForm::mmFSaveClick);
    mmFSaveAs =
        MakeAction("mmFSaveAs", QStringLiteral("Save &As..."), {}, &TMainForm::mmFSaveAsClick);
    mmFSaveAll =
        MakeAction("mmFSaveAll", QStringLiteral("Sa&ve all"), {}, &TMainForm::mmFSaveAllClick);
    mmFClose = MakeAction("mmFClose", QStringLiteral("&Close"), K(Qt::CTRL | Qt::Key_E),
                          &TMainForm::mmFCloseClick);
    mmFCloseAll =
        MakeAction("mmFCloseAll", QStringLiteral("C&lose all"), {}, &TMainForm::mmFCloseAllClick);
    mmFExit = MakeAction("mmFExit", QStringLiteral("E&xit"), {}, nullptr);
    connect(mmFExit, &QAction::triggered, this, &QWidget::close);

    mmEUndo = MakeAction("mmEUndo", QStringLiteral("&Undo"), K(Qt::CTRL | Qt::Key_Z),
                         &TMainForm::mmEUndoClick);
    mmECut = MakeAction("mmECut", QStringLiteral("Cu&t"), K(Qt::CTRL | Qt::Key_X),
                        &TMainForm::mmECutClick);
    mmECopy = MakeAction("mmECopy", QStringLiteral("&Copy"), K(Qt::CTRL | Qt::Key_C),
                         &TMainForm::mmECopyClick);
    mmEPaste = MakeAction("mmEPaste", QStringLiteral("&Paste"), K(Qt::CTRL | Qt::Key_V),
                          &TMainForm::mmEPasteClick);
    mmEDelete = MakeAction("mmEDelete", QStringLiteral("&Delete"), K(Qt::CTRL | Qt::Key_D),
                           &TMainForm::mmEDeleteClick);
    mmESelectAll = MakeAction("mmESelectAll", QStringLiteral("&Select all"),
                              K(Qt::CTRL | Qt::Key_A), &TMainForm::mmESelectAllClick);
    mmEFind = MakeAction("mmEFind", QStringLiteral("&Find..."), K(Qt::CTRL | Qt::Key_F),
                         &TMainForm::mmEFindClick);
    mmEReplace = MakeAction("mmEReplace", QStringLiteral("Find && &Replace..."),
                            K(Qt::CTRL | Qt::Key_R), &TMainForm::mmEReplaceClick);
    mmESearchNext = MakeAction("mmESearchNext", QStringLiteral("Search &Next"), K(Qt::Key_F3),
                               &TMainForm::mmESearchNextClick);
    mmEGotoLine = MakeAction("mmEGotoLine", QStringLiteral("&Go to line number..."),
                             K(Qt::CTRL | Qt::Key_G), &TMainForm::mmEGotoLineClick);

    mmDSelectDatabase =
        Later("mmDSelectDatabase", QStringLiteral("Select &Database..."), K(Qt::Key_F5));
    mmDSelectSchema = MakeAction("mmDSelectSchema", QStringLiteral("Select &Schema..."),
                                 K(Qt::Key_F6), &TMainForm::mmDSelectSchemaClick);
    mmDEditSchema = MakeAction("mmDEditSchema", QStringLiteral("&Edit Schema..."), K(Qt::Key_F7),
                               &TMainForm::mmDEditSchemaClick);
    mmDCreateByBDE =
        Later("mmDCreateByBDE", QStringLiteral("Create Database Information By &BDE..."));
    mmDCreateByODBC =
        Later("mmDCreateByODBC", QStringLiteral("Create Database Information By &ODBC..."));
    mmDCreateBySQL =
        Later("mmDCreateBySQL", QStringLiteral("Create Database Information By S&QL..."));
    mmSCompile = Later("mmSCompile", QStringLiteral("&Compile only"), K(Qt::Key_F8));
    mmSCheck = Later("mmSCheck", QStringLiteral("Chec&k"), K(Qt::SHIFT | Qt::Key_F8));
    mmSRun = Later("mmSRun", QStringLiteral("&Run"), K(Qt::Key_F9));
    mmOOutputDir = Later("mmOOutputDir", QStringLiteral("&Output directory..."));
    mmOFileType = MakeAction("mmOFileType", QStringLiteral("File &Type..."), {},
                             &TMainForm::mmOFileTypeClick);
    mmOLanguage = MakeAction("mmOLanguage", QStringLiteral("&Program Language && keywords..."), {},
                             &TMainForm::mmOLanguageClick);
    mmOCustomButtons = MakeAction("mmOCustomButtons", QStringLiteral("&Custom buttons..."), {},
                                  &TMainForm::mmOCustomButtonsClick);
    mmOFont = MakeAction("mmOFont", QStringLiteral("&Font..."), {}, &TMainForm::mmOFontClick);
    mmOAutoIndent = MakeAction("mmOAutoIndent", QStringLiteral("&Auto indent"), {},
                               &TMainForm::mmOAutoIndentClick);
    mmOAutoIndent->setCheckable(true);
    mmOAutoIndent->setChecked(true);
    mmOViewPanel = MakeAction("mmOViewPanel", QStringLiteral("&View Custom buttons panel"), {},
                              &TMainForm::mmOViewPanelClick);
    mmOViewPanel->setCheckable(true);
    mmOViewPanel->setChecked(true);
    mmHContents = MakeAction("mmHContents", QStringLiteral("&Contents"), K(Qt::Key_F1),
                             &TMainForm::mmHContentsClick);
    mmHAbout = MakeAction("mmHAbout", QStringLiteral("&About..."), {}, &TMainForm::mmHAboutClick);

    mmFSave->setEnabled(false);
    mmFSaveAll->setEnabled(false);
    mmEUndo->setEnabled(false);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TMainForm::RefreshPaste);
}

void TMainForm::CreateMenus() {
    mmFile = menuBar()->addMenu(QStringLiteral("&File"));
    mmFile->setObjectName(QStringLiteral("mmFile"));
    mmFile->addAction(mmFNew);
    mmFile->addSeparator();
    mmFile->addAction(mmFLoad);
    mmRecent = mmFile->addMenu(QStringLiteral("&Recent"));
    mmRecent->setObjectName(QStringLiteral("mmFRecent"));
    mmFile->addActions({mmFSave, mmFSaveAs, mmFSaveAll, mmFClose, mmFCloseAll});
    mmFile->addSeparator();
    mmFile->addAction(mmFExit);
    connect(mmFile, &QMenu::aboutToShow, this, &TMainForm::mmFileShow);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(mmEUndo);
    edit->addSeparator();
    edit->addActions({mmECut, mmECopy, mmEPaste, mmEDelete});
    edit->addSeparator();
    edit->addAction(mmESelectAll);
    edit->addSeparator();
    edit->addActions({mmEFind, mmEReplace, mmESearchNext});
    edit->addSeparator();
    edit->addAction(mmEGotoLine);

    QMenu* database = menuBar()->addMenu(QStringLiteral("&Database"));
    database->addAction(mmDSelectDatabase);
    database->addSeparator();
    database->addActions({mmDSelectSchema, mmDEditSchema});
    database->addSeparator();
    database->addActions({mmDCreateByBDE, mmDCreateByODBC, mmDCreateBySQL});

    QMenu* script = menuBar()->addMenu(QStringLiteral("&Script"));
    script->addAction(mmSCompile);
    script->addAction(mmSCheck);
    script->addSeparator();
    script->addAction(mmSRun);

    QMenu* environment = menuBar()->addMenu(QStringLiteral("E&nvironment"));
    environment->addActions({mmOOutputDir, mmOFileType});
    environment->addSeparator();
    environment->addActions({mmOLanguage, mmOCustomButtons, mmOFont});
    environment->addSeparator();
    environment->addAction(mmOAutoIndent);
    environment->addSeparator();
    environment->addAction(mmOViewPanel);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(mmHContents);
    help->addSeparator();
    help->addAction(mmHAbout);
}

void TMainForm::CreatePopupMenu() {
    pmEditor = new QMenu(this);
    pmEditor->setObjectName(QStringLiteral("pmEditor"));
    // Each pop-up item runs its main menu item and follows its enabling.
    auto mirror = [this](const QString& caption, QAction* main) {
        // The short-cut is shown, not bound again: the main item already answers it.
        const QString key = main->shortcut().toString(QKeySequence::NativeText);
        auto* item = pmEditor->addAction(key.isEmpty() ? caption : caption + u'\t' + key);
        item->setEnabled(main->isEnabled());
        connect(item, &QAction::triggered, main, &QAction::trigger);
        connect(main, &QAction::changed, item,
                [item, main] { item->setEnabled(main->isEnabled()); });
        return item;
    };
    pmClosePage = mirror(QStringLiteral("C&lose page"), mmFClose);
    pmEditor->addSeparator();
    mirror(QStringLiteral("Select Schema"), mmDSelectSchema);
    mirror(QStringLiteral("Edit Schema"), mmDEditSchema);
    pmEditor->addSeparator();
    mirror(QStringLiteral("Compile Only"), mmSCompile);
    mirror(QStringLiteral("Run"), mmSRun);
    pmEditor->addSeparator();
    mirror(QStringLiteral("&Undo"), mmEUndo);
    pmEditor->addSeparator();
    mirror(QStringLiteral("C&ut"), mmECut);
    mirror(QStringLiteral("&Copy"), mmECopy);
    mirror(QStringLiteral("&Paste"), mmEPaste);
    pmEditor->addSeparator();
    mirror(QStringLiteral("&Select all"), mmESelectAll);
}

void TMainForm::CreateToolBar() {
    UseIconTheme();
    tbMain = addToolBar(QStringLiteral("Tools"));
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setMovable(false);
    tbMain->setIconSize(QSize(20, 20));
    auto button = [this](QAction* action, const char* icon, QStyle::StandardPixmap fallback,
                         const QString& hint) {
        action->setIcon(ToolIcon(icon, fallback));
        action->setToolTip(hint);
        tbMain->addAction(action);
    };
    using S = QStyle;
    button(mmFNew, "document-new", S::SP_FileIcon, QStringLiteral("New"));
    tbMain->addSeparator();
    button(mmFLoad, "document-open", S::SP_DialogOpenButton, QStringLiteral("Open"));
    button(mmFSave, "document-save", S::SP_DialogSaveButton, QStringLiteral("Save"));
    button(mmFSaveAll, "document-save-as", S::SP_DriveFDIcon, QStringLiteral("Save all"));
    tbMain->addSeparator();
    button(mmECut, "edit-cut", S::SP_DialogDiscardButton, QStringLiteral("Cut"));
    button(mmECopy, "edit-copy", S::SP_FileDialogDetailedView, QStringLiteral("Copy"));
    button(mmEPaste, "edit-paste", S::SP_DialogApplyButton, QStringLiteral("Paste"));
    tbMain->addSeparator();
    button(mmEUndo, "edit-undo", S::SP_ArrowBack, QStringLiteral("Undo"));
    tbMain->addSeparator();
    button(mmEFind, "edit-find", S::SP_FileDialogContentsView, QStringLiteral("Find"));
    tbMain->addSeparator();
    button(mmDSelectDatabase, "system-file-manager", S::SP_DriveHDIcon,
           QStringLiteral("Select Database"));
    button(mmDSelectSchema, "applications-office", S::SP_FileDialogListView,
           QStringLiteral("Select Schema"));
    button(mmDEditSchema, "document-properties", S::SP_FileDialogInfoView,
           QStringLiteral("Edit Schema"));
    tbMain->addSeparator();
    button(mmSRun, "media-playback-start", S::SP_MediaPlay,
           QStringLiteral("Run script or Build House"));
}

void TMainForm::CreateStatusBar() {
    const int widths[4] = {100, 100, 100, 50};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("ssBarPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setAlignment(i == 0 || i == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        statusBar()->addWidget(panel);
        ssBarPanels[i] = panel;
    }
    ssBarFindings = new QLabel(this);
    ssBarFindings->setObjectName(QStringLiteral("ssBarFindings"));
    ssBarFindings->setMinimumWidth(90);
    ssBarFindings->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ssBarFindings->setToolTip(QStringLiteral("Lint findings in this page (Script > Check)"));
    statusBar()->addWidget(ssBarFindings);
    statusBar()->setObjectName(QStringLiteral("ssBar"));
    statusBar()->setSizeGripEnabled(true);
    ssBarPanels[2]->setText(settings_.Schema ? QStringLiteral("SCHEMA") : QStringLiteral("(NONE)"));
}

// The macro button panel beside the pages, which accept files dropped on the window.
void TMainForm::CreatePageArea() {
    sbToolbars = new QWidget(this);
    sbToolbars->setObjectName(QStringLiteral("sbToolbars"));
    sbToolbars->setMinimumWidth(40);
    pgEdit = new QTabWidget(this);
    pgEdit->setObjectName(QStringLiteral("pgEdit"));
    pgEdit->setDocumentMode(true);
    pgEdit->setVisible(false);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->addWidget(sbToolbars);
    Splitter1->addWidget(pgEdit);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({84, 586});
    setCentralWidget(Splitter1);
    connect(pgEdit, &QTabWidget::currentChanged, this, [this] {
        UpdateCaption();
        UpdateCommands();
        RefreshPosition();
        RefreshFindings();
    });
    setAcceptDrops(true);
}

// The findings of the active page, one a row; choosing a row (click or Enter) selects the
// finding's text in the editor.
void TMainForm::CreateFindingsDock() {
    lvFindings = new QTreeWidget(this);
    lvFindings->setObjectName(QStringLiteral("lvFindings"));
    lvFindings->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Column"),
                                 QStringLiteral("Check"), QStringLiteral("Message")});
    lvFindings->setRootIsDecorated(false);
    lvFindings->setUniformRowHeights(true);
    lvFindings->setAllColumnsShowFocus(true);
    lvFindings->header()->setStretchLastSection(true);
    const auto choose = [this](QTreeWidgetItem* item) {
        TCodeMemo* memo = ActiveEditor();
        if (!memo || !item) return;
        memo->GotoFinding(lvFindings->indexOfTopLevelItem(item));
        RefreshPosition();
    };
    connect(lvFindings, &QTreeWidget::itemClicked, this, choose);
    connect(lvFindings, &QTreeWidget::itemActivated, this, choose);
    dkFindings = new QDockWidget(QStringLiteral("Findings"), this);
    dkFindings->setObjectName(QStringLiteral("dkFindings"));
    dkFindings->setWidget(lvFindings);
    addDockWidget(Qt::BottomDockWidgetArea, dkFindings);
    dkFindings->hide();
}

void TMainForm::RefreshFindings() {
    const TEditorPage* page = Page(PageIndex());
    lvFindings->clear();
    if (!page || page->LintRuns() == 0) {
        ssBarFindings->clear();
        return;
    }
    const QList<EditorFinding>& findings = page->Editor()->Findings();
    const int count = page->FindingCount();
    ssBarFindings->setText(count == 0   ? QStringLiteral("No findings")
                           : count == 1 ? QStringLiteral("1 finding")
                                        : QStringLiteral("%1 findings").arg(count));
    QList<QTreeWidgetItem*> rows;
    rows.reserve(findings.size() + 1);
    for (const EditorFinding& finding : findings)
        rows.append(
            new QTreeWidgetItem({QString::number(finding.line), QString::number(finding.column),
                                 finding.check, finding.message}));
    if (count > findings.size()) {
        auto* more = new QTreeWidgetItem(
            {QString(), QString(), QString(),
             QStringLiteral("%1 more findings are not shown").arg(count - findings.size())});
        more->setFlags(Qt::NoItemFlags);
        rows.append(more);
    }
    lvFindings->addTopLevelItems(rows);
    for (int column = 0; column < 3; ++column) lvFindings->resizeColumnToContents(column);
}

void TMainForm::CreateDialogs() {
    FindDialog = new TFindDialog(this);
    GotoLineNo = new TGotoLineNo(this);
    ReplaceDialog = new TReplaceDialog(this);
    AboutBox = new TSplash(this);
    AboutBox->btOk->setVisible(true);
}

// The keyword list of the chosen language, as the keyword language dialog read it.
void TMainForm::LoadKeywords() {
    if (const QStringList* keywords = Language->CurrentKeywords()) SetKeywords(*keywords);
}

void TMainForm::SetKeywords(const QStringList& keywords) {
    keywords_ = keywords;
    for (int i = 0; i < PageTotal(); ++i) Editor(i)->SetKeywords(keywords_);
}

void TMainForm::FormShow(const QString& startFile) {
    if (!startFile.isEmpty() && FileExists(startFile))
        OpenFile(startFile);
    else
        NewPage();
    if (TCodeMemo* memo = ActiveEditor()) memo->setFocus();
    RefreshPaste();
    if (settings_.MainLeft >= 0 && settings_.MainWidth > 0 && settings_.MainHeight > 0)
        setGeometry(settings_.MainLeft, settings_.MainTop, settings_.MainWidth,
                    settings_.MainHeight);
    BuildMacroPanel();
    ShowRunWindowFirstTime();
}

// ---------------------------------------------------------------------------------------
// Pages

int TMainForm::PageIndex() const {
    return pgEdit->currentIndex();
}
int TMainForm::PageTotal() const {
    return pgEdit->count();
}

TEditorPage* TMainForm::Page(int index) const {
    return qobject_cast<TEditorPage*>(pgEdit->widget(index));
}

TCodeMemo* TMainForm::Editor(int index) const {
    TEditorPage* page = Page(index);
    return page ? page->Editor() : nullptr;
}

TCodeMemo* TMainForm::ActiveEditor() const {
    return Editor(PageIndex());
}

void TMainForm::ActivatePage(int index) {
    if (index >= 0 && index < PageTotal()) pgEdit->setCurrentIndex(index);
}

TEditorPage* TMainForm::SetupPage(const QString& fileName) {
    pgEdit->setVisible(true);
    auto* page = new TEditorPage(fileName);
    page->setObjectName(QStringLiteral("ts%1").arg(PageCount));
    TCodeMemo* memo = page->Editor();
    memo->setObjectName(QStringLiteral("cm%1").arg(UntitledCount));
    memo->setFont(settings_.Font.ToQFont());
    memo->SetTokenColours(QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00),
                          QColor(0x00, 0x00, 0xFF));
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memo, &QWidget::customContextMenuRequested, this,
            [this, memo](const QPoint& at) { pmEditor->exec(memo->mapToGlobal(at)); });
    connect(memo, &QPlainTextEdit::textChanged, this, &TMainForm::EditorChanged);
    connect(memo, &QPlainTextEdit::modificationChanged, this, &TMainForm::EditorChanged);
    connect(memo, &QPlainTextEdit::undoAvailable, this, &TMainForm::EditorChanged);
    connect(memo, &QPlainTextEdit::cursorPositionChanged, this, &TMainForm::RefreshPosition);
    connect(memo, &QPlainTextEdit::selectionChanged, this, &TMainForm::RefreshPosition);
    page->SetLinter([this](const std::string& script, std::vector<tpx::LintFinding>* findings) {
        return Script ? Script->Lint(script, findings) : LintStatus::Unavailable;
    });
    connect(page, &TEditorPage::FindingsChanged, this, [this, page] {
        if (page == Page(PageIndex())) RefreshFindings();
    });
    connect(page, &TEditorPage::FileNameChanged, this, [this, page] {
        const int index = pgEdit->indexOf(page);
        pgEdit->setTabText(index, BaseName(page->FileName()));
        pgEdit->setTabToolTip(index, page->FileName());
        UpdateCaption();
    });
    memo->installEventFilter(this);
    memo->SetKeywords(keywords_);
    memo->AutoIndent = mmOAutoIndent->isChecked();
    ++PageCount;
    const int index = pgEdit->addTab(page, BaseName(fileName));
    pgEdit->setTabToolTip(index, fileName);
    pgEdit->setCurrentIndex(index);
    return page;
}

void TMainForm::NewPage() {
    TEditorPage* page = SetupPage(QStringLiteral("Untitle%1.TPX").arg(UntitledCount));
    ++UntitledCount;
    page->SetNewPageText();
    UpdateCaption();
    EditorChanged();
}

void TMainForm::OpenFile(const QString& fileName) {
    const QString name = QFileInfo(fileName).absoluteFilePath();
    for (int i = 0; i < PageTotal(); ++i) {
        if (SameTextIgnoringCase(Page(i)->FileName(), name)) {
            ActivatePage(i);
            return;
        }
    }
    TEditorPage* page = SetupPage(name);
    QString error;
    if (page->Load(&error)) {
        EditorChanged();
    } else {
        InformationBox(error);
        page->SetNewPageText();
        UpdateCaption();
        EditorChanged();
    }
    settings_.RecentFiles.Remove(name);
    RebuildRecentMenu();
    UpdateCaption();
    UpdateCommands();
}

void TMainForm::LoadCommand(const QString& folder) {
    const QString chosen = AskFileName(FilePrompt::Open, folder, QString(), settings_.OpenFilter);
    if (chosen.isEmpty()) return;
    settings_.ScriptDir = FolderOf(chosen);
    settings_.RecentDirs.Add(settings_.ScriptDir);
    RebuildRecentMenu();
    OpenFile(chosen);
}

bool TMainForm::SavePage(int index) {
    TEditorPage* page = Page(index);
    return page && page->Save(&settings_.ScriptDir) == TEditorPage::SaveResult::Saved;
}

bool TMainForm::SaveAs(int index) {
    TEditorPage* page = Page(index);
    return page && page->SaveAs(&settings_.ScriptDir) == TEditorPage::SaveResult::Saved;
}

// A page whose Save As is cancelled is skipped; a failed write stops, leaving the pages
// before it saved.
bool TMainForm::SaveAll() {
    for (int i = 0; i < PageTotal(); ++i)
        if (Page(i)->Save(&settings_.ScriptDir) == TEditorPage::SaveResult::Failed) return false;
    return true;
}

bool TMainForm::ClosePage(int index) {
    TEditorPage* page = Page(index);
    if (!page || !page->MaybeSave(&settings_.ScriptDir)) return false;
    RemovePage(index);
    return true;
}

void TMainForm::RemovePage(int index) {
    if (index == PageIndex() && PageTotal() > 1) ActivatePage(index > 0 ? index - 1 : index + 1);
    TEditorPage* page = Page(index);
    const QString name = page->FileName();
    const bool untitled = page->IsUntitled();
    pgEdit->removeTab(index);
    delete page;
    if (PageTotal() == 0) pgEdit->setVisible(false);
    if (!untitled) settings_.RecentFiles.Add(name);
    RebuildRecentMenu();
    UpdateCaption();
    UpdateCommands();
}

bool TMainForm::CloseAll() {
    ActivatePage(PageTotal() - 1);
    Answer soFar = Answer::Ok;  // Ok stands for "no answer yet"
    while (PageTotal() > 0) {
        const int index = PageIndex();
        TEditorPage* page = Page(index);
        const bool modified = page->IsModified();
        if (modified && (soFar == Answer::Ok || soFar == Answer::Yes || soFar == Answer::No)) {
            int modifiedPages = 0;
            for (int i = 0; i < PageTotal(); ++i)
                if (Page(i)->IsModified()) ++modifiedPages;
            soFar = page->AskToSave(modifiedPages >= 2);
        }
        if (soFar == Answer::Cancel) return false;
        const bool save = soFar == Answer::Yes || soFar == Answer::YesToAll;
        if (modified && save && !SavePage(index)) return false;
        RemovePage(index);
    }
    return true;
}

void TMainForm::DropFiles(const QStringList& files) {
    if (!files.isEmpty() && !files.first().isEmpty()) OpenFile(files.first());
}

void TMainForm::HandleInstanceRequest(const QString& fileName) {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    if (!fileName.isEmpty() && FileExists(fileName)) OpenFile(fileName);
}

// ---------------------------------------------------------------------------------------
// Caption, enabling and the recent menu

void TMainForm::UpdateCaption() {
    const TEditorPage* page = Page(PageIndex());
    if (!page) {
        setWindowTitle(kTitle);
        return;
    }
    setWindowTitle(QStringLiteral("Morva 1.00 - [ %1 ]").arg(FileNameOnly(page->FileName())));
}

void TMainForm::EditorChanged() {
    TCodeMemo* memo = ActiveEditor();
    if (!memo) return;
    const bool modified = memo->document()->isModified();
    ssBarPanels[1]->setText(modified ? QStringLiteral("Modified") : QString());
    mmEUndo->setEnabled(memo->document()->isUndoAvailable());
    bool anyModified = false;
    for (int i = 0; i < PageTotal(); ++i)
        anyModified = anyModified || Editor(i)->document()->isModified();
    SetCommand(mmFSave, modified);
    SetCommand(mmFSaveAll, anyModified);
}

void TMainForm::UpdateCommands() {
    const bool pages = PageTotal() > 0;
    bool anyModified = false;
    for (int i = 0; i < PageTotal(); ++i)
        anyModified = anyModified || Editor(i)->document()->isModified();
    TCodeMemo* memo = ActiveEditor();
    for (QAction* action : {mmESelectAll, mmEFind, mmEReplace, mmESearchNext, mmEGotoLine,
                            mmSCompile, mmSCheck, mmSRun})
        SetCommand(action, pages);
    SetCommand(mmFSaveAll, pages && anyModified);
    SetCommand(mmFSave, memo && memo->document()->isModified());
    if (pages) {
        RefreshPaste();
        mmEUndo->setEnabled(memo && memo->document()->isUndoAvailable());
        const bool modified = memo && memo->document()->isModified();
        ssBarPanels[1]->setText(modified ? QStringLiteral("Modified") : QString());
    } else {
        mmEPaste->setEnabled(false);
        mmEUndo->setEnabled(false);
        for (QAction* action : {mmECut, mmECopy, mmEDelete}) action->setEnabled(false);
        ssBarPanels[0]->clear();
        ssBarPanels[1]->clear();
    }
    mmFileShow();
}

void TMainForm::mmFileShow() {
    const bool pages = PageTotal() > 0;
    mmFSaveAs->setEnabled(pages);
    mmFClose->setEnabled(pages);
    mmFCloseAll->setEnabled(pages);
}

void TMainForm::RefreshPaste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    mmEPaste->setEnabled(PageTotal() > 0 && data && !data->formats().isEmpty());
}

void TMainForm::RefreshPosition() {
    TCodeMemo* memo = ActiveEditor();
    if (!memo) return;
    const int line = memo->CaretLine(), column = memo->CaretColumn();
    ssBarPanels[0]->setText(QString::asprintf("%5d:%3d", line + 1, column + 1));
    const bool selection = memo->textCursor().hasSelection();
    for (QAction* action : {mmECut, mmECopy, mmEDelete}) action->setEnabled(selection);
}

void TMainForm::RebuildRecentMenu() {
    mmRecent->clear();
    const TFixedStrings& dirs = settings_.RecentDirs;
    const TFixedStrings& files = settings_.RecentFiles;
    for (int i = dirs.Count() - 1; i >= 0; --i) {
        const QString folder = dirs[i];
        connect(mmRecent->addAction(folder), &QAction::triggered, this,
                [this, folder] { LoadCommand(folder); });
    }
    if (dirs.Count() > 0 && files.Count() > 0) mmRecent->addSeparator();
    for (int i = files.Count() - 1; i >= 0; --i) {
        const QString file = files[i];
        connect(mmRecent->addAction(file), &QAction::triggered, this,
                [this, file] { OpenFile(file); });
    }
    mmRecent->setEnabled(!mmRecent->isEmpty());
}

// ---------------------------------------------------------------------------------------
// Menu handlers

void TMainForm::mmFNewClick() {
    NewPage();
}
void TMainForm::mmFLoadClick() {
    LoadCommand(settings_.ScriptDir);
}
void TMainForm::mmFSaveClick() {
    SavePage(PageIndex());
}
void TMainForm::mmFSaveAsClick() {
    SaveAs(PageIndex());
}
void TMainForm::mmFSaveAllClick() {
    SaveAll();
}
void TMainForm::mmFCloseClick() {
    ClosePage(PageIndex());
}
void TMainForm::mmFCloseAllClick() {
    CloseAll();
}

void TMainForm::mmEUndoClick() {
    if (TCodeMemo* memo = ActiveEditor()) memo->undo();
}
void TMainForm::mmECutClick() {
    if (TCodeMemo* memo = ActiveEditor()) memo->cut();
}
void TMainForm::mmECopyClick() {
    if (TCodeMemo* memo = ActiveEditor()) memo->copy();
}
void TMainForm::mmEPasteClick() {
    if (TCodeMemo* memo = ActiveEditor()) memo->paste();
}
void TMainForm::mmEDeleteClick() {
    if (TCodeMemo* memo = ActiveEditor()) memo->textCursor().removeSelectedText();
}
void TMainForm::mmESelectAllClick() {
    if (TCodeMemo* memo = ActiveEditor()) {
        memo->selectAll();
        RefreshPosition();
    }
}

void TMainForm::mmEFindClick() {
    if (!ActiveEditor() || FindDialog->exec() != QDialog::Accepted) return;
    LastSearch = 1;
    if (FindDialog->FromStart()) ActiveEditor()->SetCaret(0);
    SearchText(FindDialog->FindText());
}

void TMainForm::mmEReplaceClick() {
    if (!ActiveEditor()) return;
    const int result = ReplaceDialog->exec();
    if (result != QDialog::Accepted && result != TReplaceDialog::kReplaceAll) return;
    if (ReplaceDialog->FromStart()) ActiveEditor()->SetCaret(0);
    const QString find = ReplaceDialog->FindText(), replace = ReplaceDialog->ReplaceText();
    if (result == TReplaceDialog::kReplaceAll) {
        ReplaceAll(find, replace, ReplaceDialog->Prompt());
    } else if (!ReplaceOnce(find, replace, ReplaceDialog->Prompt())) {
        InformationBox(QStringLiteral("Could not find \"%1\"").arg(find));
    }
    LastSearch = 2;
}

void TMainForm::mmESearchNextClick() {
    SearchNext();
}

void TMainForm::mmEGotoLineClick() {
    if (!ActiveEditor() || GotoLineNo->exec() != QDialog::Accepted) return;
    GotoLine(GotoLineNo->LineText());
}

void TMainForm::mmOFontClick() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, settings_.Font.ToQFont(), this,
                                            QStringLiteral("Font"), QFontDialog::MonospacedFonts);
    if (!ok) return;
    settings_.Font = EditorFont::FromQFont(font);
    for (int i = 0; i < PageTotal(); ++i) Editor(i)->setFont(settings_.Font.ToQFont());
}

void TMainForm::mmOAutoIndentClick() {
    for (int i = 0; i < PageTotal(); ++i) Editor(i)->AutoIndent = mmOAutoIndent->isChecked();
}

void TMainForm::mmOViewPanelClick() {
    sbToolbars->setVisible(mmOViewPanel->isChecked());
}

// The manual in the desktop's browser: "docs/index.html" below the root folder, else the
// copy beside the installed program. Nothing is reported when there is none.
void TMainForm::mmHContentsClick() {
    const QString app = QApplication::applicationDirPath();
    for (const QString& candidate : {settings_.RootDir + QStringLiteral("/docs/index.html"),
                                     app + QStringLiteral("/../share/doc/morva/index.html"),
                                     app + QStringLiteral("/../../docs/index.html")}) {
        if (QFileInfo::exists(candidate)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(candidate).absoluteFilePath()));
            return;
        }
    }
}

void TMainForm::mmHAboutClick() {
    AboutBox->exec();
}

// ---------------------------------------------------------------------------------------
// Find, replace and go to line

bool TMainForm::SearchText(const QString& text) {
    TCodeMemo* memo = ActiveEditor();
    if (!memo || text.isEmpty()) return true;
    if (!memo->FindNext(text)) {
        InformationBox(QStringLiteral("Could not find \"%1\"").arg(text));
        return false;
    }
    RefreshPosition();
    return true;
}

bool TMainForm::ReplaceOnce(const QString& find, const QString& replace, bool prompt) {
    TCodeMemo* memo = ActiveEditor();
    if (!memo || !memo->ReplaceNext(find, replace, ReplacePrompt(prompt))) return false;
    RefreshPosition();
    return true;
}

void TMainForm::ReplaceAll(const QString& find, const QString& replace, bool prompt) {
    TCodeMemo* memo = ActiveEditor();
    if (memo && memo->ReplaceAll(find, replace, ReplacePrompt(prompt)) > 0) RefreshPosition();
}

void TMainForm::SearchNext() {
    if (LastSearch == 1) {
        SearchText(FindDialog->FindText());
    } else if (LastSearch == 2) {
        const QString find = ReplaceDialog->FindText();
        if (!ReplaceOnce(find, ReplaceDialog->ReplaceText(), ReplaceDialog->Prompt()))
            InformationBox(QStringLiteral("Could not find \"%1\"").arg(find));
    }
}

void TMainForm::GotoLine(const QString& text) {
    TCodeMemo* memo = ActiveEditor();
    if (!memo) return;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok) {
        InformationBox(QStringLiteral("'%1' is not a valid line number").arg(text));
        return;
    }
    memo->GotoLine(number);
    RefreshPosition();
}

// ---------------------------------------------------------------------------------------
// Events

void TMainForm::closeEvent(QCloseEvent* event) {
    if (PageTotal() > 0 && !CloseAll()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    DropFiles(files);
    event->acceptProposedAction();
}

// Ctrl+Tab in an editor activates the previous page, wrapping from the first to the last.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            if (event->type() == QEvent::KeyPress && PageTotal() > 0) {
                const int index = PageIndex();
                ActivatePage(index > 0 ? index - 1 : PageTotal() - 1);
                if (TCodeMemo* memo = ActiveEditor()) memo->setFocus();
            }
            event->accept();
            return event->type() == QEvent::KeyPress;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace morva::app

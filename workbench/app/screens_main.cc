// Renders the workbench's windows to PNG files for review: the main window with a sample
// template and a form file page, the recent menu, and each dialog.
//
// usage: morva_screens DIR [DATABASE_DIR]   (run under a display, for example xvfb-run);
// DATABASE_DIR holds the sample database information "ORDERS".

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

#include "workbench/app/add_ref_table.h"
#include "workbench/app/browse_form.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/column_edit.h"
#include "workbench/app/create_dbi_form.h"
#include "workbench/app/create_schema.h"
#include "workbench/app/custom_button.h"
#include "workbench/app/find_dialog.h"
#include "workbench/app/folder_chooser.h"
#include "workbench/app/goto_line_dialog.h"
#include "workbench/app/keyword_file.h"
#include "workbench/app/language.h"
#include "workbench/app/macro_file.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/open_filter.h"
#include "workbench/app/passwd_form.h"
#include "workbench/app/replace_dialog.h"
#include "workbench/app/room_select.h"
#include "workbench/app/script_form.h"
#include "workbench/app/select_dbase_form.h"
#include "workbench/app/select_sql_file_form.h"
#include "workbench/app/splash_form.h"
#include "workbench/app/swap_list.h"
#include "workbench/app/table_order.h"
#include "workbench/app/type_label.h"
#include "workbench/formfile/formfile.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace {

using namespace morva::app;

QString g_out;

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(30);
    }
}

void Save(QWidget* widget, const char* name) {
    Settle();
    const QString path = g_out + u'/' + QLatin1String(name) + QStringLiteral(".png");
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void SaveScreen(const QRect& area, const char* name) {
    Settle();
    const QString path = g_out + u'/' + QLatin1String(name) + QStringLiteral(".png");
    QScreen* screen = QApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (!shot.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void ShowDialog(QDialog* dialog, const char* name) {
    dialog->show();
    dialog->adjustSize();
    Save(dialog, name);
    dialog->hide();
}

// For dialogs whose lists make their own size hint too small or too large.
void ShowDialogSized(QDialog* dialog, const char* name, int width, int height) {
    dialog->show();
    dialog->resize(width, height);
    Save(dialog, name);
    dialog->hide();
}

// The schema and environment dialogs, over the sample database when one was given.
void SchemaAndEnvironmentScreens(TMainForm& form) {
    TSettings& settings = form.Settings();
    if (settings.Database) {
        // Two schemas of the sample database, the first one current.
        settings.Database->SetAllMarks(false);
        for (auto& table : settings.Database->Tables) {
            if (table.TableName != "CUSTOMER" && table.TableName != "ORDERS" &&
                table.TableName != "ORDER_LINE")
                continue;
            table.Selected = true;
            for (int i = 0; i < table.ColumnCount(); ++i) table.ColumnAt(i)->Selected = true;
        }
        std::string error;
        auto orders = morva::schema::TSchema::CreateFromDatabase("Orders", "Form", "Order entry",
                                                                 *settings.Database);
        orders->Save(settings.DatabaseDir.toStdString(), &error);
        settings.Database->SetAllMarks(true);
        auto all = morva::schema::TSchema::CreateFromDatabase("Everything", "", "All tables",
                                                              *settings.Database);
        all->Save(settings.DatabaseDir.toStdString(), &error);
        settings.Schema = std::move(orders);
        settings.SchemaName = QStringLiteral("Orders");
        form.UpdateDatabaseEnabling();

        ShowDialogSized(Part<TRoomSelectForm>(form), "schema-selection", 380, 320);
        Part<TTypeLabel>(form)->PrepareSchema(settings.DatabaseName, QStringLiteral("Invoices"),
                                              QStringLiteral("Invoices of the month"),
                                              QStringLiteral("Report"));
        ShowDialog(Part<TTypeLabel>(form), "type-and-label");

        Part<TCreateSchema>(form)->PrepareSchema(*settings.Schema);
        Part<TCreateSchema>(form)->lvTable->setCurrentItem(
            Part<TCreateSchema>(form)->lvTable->topLevelItem(1));
        Part<TCreateSchema>(form)->lvTable->clearSelection();
        Part<TCreateSchema>(form)->lvTable->topLevelItem(1)->setSelected(true);
        ShowDialogSized(Part<TCreateSchema>(form), "schema-editor", 900, 600);

        auto db = std::make_unique<morva::schema::TDatabaseInfor>(*settings.Database);
        Part<TCreateSchema>(form)->PrepareDatabase(*db);
        ShowDialogSized(Part<TCreateSchema>(form), "database-editor", 900, 600);

        const morva::schema::TTableInfor* customer = settings.Database->FindTable("CUSTOMER");
        if (customer) {
            const auto* kind = customer->FindColumn("CUST_KIND");
            if (kind) {
                Part<TColumnEdit>(form)->Prepare(*settings.Database, QStringLiteral("CUSTOMER"),
                                                 *kind);
                ShowDialog(Part<TColumnEdit>(form), "column-editor");
            }
        }
        const morva::schema::TTableInfor* ordersTable = settings.Database->FindTable("ORDERS");
        if (ordersTable) {
            QStringList tables, masters;
            for (const auto& t : settings.Database->Tables)
                tables << QString::fromStdString(t.TableName);
            for (const auto& c : ordersTable->columns()) masters << QString::fromStdString(c.Name);
            Part<TAddRefTable>(form)->Prepare(*settings.Database, tables, QStringLiteral("ORDERS"),
                                              masters, ordersTable->RefTables, QString());
            ShowDialogSized(Part<TAddRefTable>(form), "reference-dialog", 820, 320);
        }

        Part<TTableOrderForm>(form)->Prepare(*settings.Schema);
        ShowDialogSized(Part<TTableOrderForm>(form), "table-order", 360, 380);
        Part<TTableOrderForm>(form)->show();
        Part<TTableOrderForm>(form)->pgOrder->setCurrentIndex(1);
        Part<TTableOrderForm>(form)->hide();
        ShowDialogSized(Part<TTableOrderForm>(form), "table-order-columns", 360, 380);
    }

    Part<TOpenFilter>(form)->SetFilter(settings.OpenFilter);
    ShowDialogSized(Part<TOpenFilter>(form), "file-type", 480, 340);
    ShowDialogSized(Part<TLanguage>(form), "keyword-language", 420, 400);
    Part<TGetText>(form)->lbPrompt->setText(QStringLiteral("Enter New Language Name"));
    Part<TGetText>(form)->neText->setText(QStringLiteral("Pascal"));
    ShowDialog(Part<TGetText>(form), "get-text");
    ShowDialogSized(Part<TCustomButton>(form), "macro-buttons", 560, 340);
}

const char* const kSampleForm =
    "object FormCustomer: TFormCustomer\n"
    "  Left = 200\n  Top = 120\n  Width = 480\n  Height = 248\n"
    "  Caption = 'Customers'\n"
    "  object Table1: TTable\n    DatabaseName = 'ORDERS'\n    TableName = 'CUSTOMER'\n"
    "  end\n"
    "  object LabelNAME: TLabel\n    Left = 8\n    Top = 12\n    Caption = 'Name'\n  end\n"
    "end\n";

const QStringList kPascalKeywords = {
    "begin",   "end",    "unit", "interface", "implementation", "uses",   "type",   "class",
    "private", "public", "var",  "procedure", "function",       "object", "program"};

// Builds the sample database information through the run window, runs the Delphi template
// over all its tables, and shows the run window and each database dialog filled from it.
void ShowRunWindowAndDatabaseDialogs(TMainForm& form, const QString& samples) {
    TScript* script = Part<TScript>(form);
    script->setGeometry(40, 60, 820, 560);
    TSelectSQLFileForm* sqlFiles = Part<TSelectSQLFileForm>(form);
    form.Settings().SQLDir = samples;
    sqlFiles->show();
    QTest::keyClicks(sqlFiles->neDatabase, QStringLiteral("orderentry"));
    for (int i = 0; i < sqlFiles->lbFiles->count(); ++i)
        sqlFiles->lbFiles->item(i)->setSelected(sqlFiles->lbFiles->item(i)->text() ==
                                                QStringLiteral("order_entry.sql"));
    sqlFiles->btAddClick();
    Save(sqlFiles, "select-sql-files");
    sqlFiles->hide();
    script->show();
    script->GenerateFromSQL();
    Save(script, "run-window-sql");

    form.Settings().Database = OpenDatabase(form.Settings(), QStringLiteral("ORDERENTRY"));
    if (form.Settings().Database) {
        form.Settings().DatabaseName = QStringLiteral("ORDERENTRY");
        form.Settings().Database->SetAllMarks(true);
        form.Settings().Schema = morva::schema::TSchema::CreateFromDatabase(
            "ALL", "", "All tables", *form.Settings().Database);
        form.Settings().SchemaName = QStringLiteral("ALL");
        form.UpdateDatabaseEnabling();
    }
    form.ActivatePage(0);
    Command(form, "mmSRun")->trigger();
    Save(script, "run-window");
    script->hide();

    QDir(form.Settings().DatabaseDir).mkpath(QStringLiteral("SHOP"));
    ShowDialog(Part<TSelectDBaseForm>(form), "select-database");
    Part<TCreateDBIForm>(form)->FillWithAliases();
    Part<TCreateDBIForm>(form)->lbDatabase->setCurrentRow(0);
    ShowDialog(Part<TCreateDBIForm>(form), "create-dbi-aliases");
    Part<TCreateDBIForm>(form)->FillWithSources(
        {QStringLiteral("ORDERS"), QStringLiteral("sample"), QStringLiteral("warehouse")});
    Part<TCreateDBIForm>(form)->lbDatabase->setCurrentRow(1);
    ShowDialog(Part<TCreateDBIForm>(form), "create-dbi-odbc");
    Part<TPasswdForm>(form)->SetDatabase(QStringLiteral("sample"));
    Part<TPasswdForm>(form)->neUserID->setText(QStringLiteral("dev"));
    Part<TPasswdForm>(form)->nePassword->setText(QStringLiteral("secret"));
    ShowDialog(Part<TPasswdForm>(form), "login");
    Part<TPasswdForm>(form)->nePassword->clear();
    form.Settings().OutputDir = samples;
    ShowDialog(Part<TBrowseForm>(form), "output-folder");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: morva_screens DIR [DATABASE_DIR]\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(g_out);
    const QString samples = QStringLiteral(MORVA_SOURCE_DIR "/samples");

    // A scratch root folder and settings file, so nothing of the user's is touched.
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    qputenv("MORVA_SETTINGS", (scratch.path() + QStringLiteral("/settings.ini")).toUtf8());
    std::string binary, error;
    if (morva::formfile::TextToBinary(kSampleForm, morva::formfile::ResourceHeader::kInclude,
                                      &binary, &error)) {
        QFile form(scratch.path() + QStringLiteral("/UCUSTOMER.DFM"));
        if (form.open(QIODevice::WriteOnly)) form.write(binary.data(), qint64(binary.size()));
    }
    SetMessageHook([](BoxKind, const QString&) { return Answer::No; });

    // A keyword language and a few macro buttons in the scratch root folder, and the sample
    // database when the caller built one (scripts/screens does).
    std::string ignored;
    std::vector<morva::app::KeywordLanguage> languages = {{"Pascal", {}}, {"SQL", {}}};
    for (const QString& word : kPascalKeywords) languages[0].keywords.push_back(word.toStdString());
    for (const char* word : {"create", "from", "select", "table", "where"})
        languages[1].keywords.push_back(word);
    morva::app::WriteKeywordFile((scratch.path() + QStringLiteral("/Keywords.CDF")).toStdString(),
                                 languages, &ignored);
    morva::app::WriteMacroFile(
        (scratch.path() + QStringLiteral("/MacroBtn.CDF")).toStdString(),
        {{"Text", "A text block", "<TEXT>\n\n</TEXT>", 7 | morva::app::kMacroEnabled},
         {"Tables", "Loop over the tables", "<TABLES>\n</TABLES>", 9 | morva::app::kMacroEnabled},
         {"Columns", "Loop over the columns", "<COLUMNS></COLUMNS>", 9 | morva::app::kMacroEnabled},
         {"If", "A condition", "<IF><THEN></IF>", 4 | morva::app::kMacroEnabled},
         {"Create", "Open an output file", "<CREATE></CREATE>", 8 | morva::app::kMacroEnabled}},
        &ignored);
    if (argc > 2) {
        QSettings store(scratch.path() + QStringLiteral("/settings.ini"), QSettings::IniFormat);
        store.beginGroup(QString::fromLatin1(kSettingsKeyPath));
        store.setValue(QStringLiteral("DatabaseDir"), QString::fromLocal8Bit(argv[2]));
        store.setValue(QStringLiteral("DatabaseName"), QStringLiteral("ORDERS"));
    }

    TMainForm form;
    form.Settings().Language = 0;
    form.SetKeywords(kPascalKeywords);
    form.move(0, 0);
    form.resize(900, 680);
    form.show();
    form.FormShow(samples + QStringLiteral("/delphi_forms.tpx"));
    for (const char* folder :
         {"/home/dev/projects/orders/", "/home/dev/projects/shop/", "/srv/templates/"})
        form.Settings().RecentDirs.Add(QLatin1String(folder));
    for (const char* file : {"sql_script.tpx", "cpp_header.tpx", "data_dictionary.tpx"})
        form.Settings().RecentFiles.Add(samples + u'/' + QLatin1String(file));
    form.RebuildRecentMenu();
    form.ActiveEditor()->SetCaret(0);
    form.ActiveEditor()->setFocus();
    Save(&form, "main-window");

    // The recent menu, opened from the File menu.
    Part<QMenu>(form, QStringLiteral("mmFile"))->popup(form.mapToGlobal(QPoint(4, 30)));
    Settle();
    QRect area = Part<QMenu>(form, QStringLiteral("mmFile"))->geometry();
    for (QAction* action : Part<QMenu>(form, QStringLiteral("mmFile"))->actions()) {
        if (action->menu() == Part<QMenu>(form, QStringLiteral("mmFRecent"))) {
            Part<QMenu>(form, QStringLiteral("mmFile"))->setActiveAction(action);
            Part<QMenu>(form, QStringLiteral("mmFRecent"))
                ->popup(Part<QMenu>(form, QStringLiteral("mmFile"))
                            ->mapToGlobal(Part<QMenu>(form, QStringLiteral("mmFile"))
                                              ->actionGeometry(action)
                                              .topRight()));
        }
    }
    Settle();
    area = area.united(Part<QMenu>(form, QStringLiteral("mmFRecent"))->geometry())
               .adjusted(-4, -4, 4, 4);
    SaveScreen(area, "recent-menu");
    Part<QMenu>(form, QStringLiteral("mmFRecent"))->hide();
    Part<QMenu>(form, QStringLiteral("mmFile"))->hide();

    form.OpenFile(scratch.path() + QStringLiteral("/UCUSTOMER.DFM"));
    Save(&form, "form-file-page");

    // Two misspelt tags underlined in the sample, and Script > Check listing them.
    form.ActivatePage(0);
    TCodeMemo* memo = form.ActiveEditor();
    memo->SetCaret(memo->document()->findBlockByNumber(9).position() + 2);
    memo->insertPlainText(QStringLiteral("<TL> (<TPYE>) "));
    memo->SetCaret(memo->document()->findBlockByNumber(7).position());
    memo->insertPlainText(QStringLiteral("<COLUMS>\n"));
    Part<QAction>(form, QStringLiteral("mmSCheck"))->trigger();
    Save(&form, "lint-findings");
    memo->undo();
    memo->undo();
    Part<QWidget>(form, QStringLiteral("dkFindings"))->hide();

    // The editor's pop-up menu.
    form.ActivatePage(0);
    Part<QMenu>(form, QStringLiteral("pmEditor"))->popup(form.mapToGlobal(QPoint(300, 200)));
    Save(Part<QMenu>(form, QStringLiteral("pmEditor")), "editor-menu");
    Part<QMenu>(form, QStringLiteral("pmEditor"))->hide();

    Part<TFindDialog>(form)->cbFind->setCurrentText(QStringLiteral("TForm"));
    ShowDialog(Part<TFindDialog>(form), "find-dialog");
    Part<TReplaceDialog>(form)->cbFind->setCurrentText(QStringLiteral("Table1"));
    Part<TReplaceDialog>(form)->cbReplace->setCurrentText(QStringLiteral("tbMain"));
    ShowDialog(Part<TReplaceDialog>(form), "replace-dialog");
    Part<TGotoLineNo>(form)->cbLineno->setCurrentText(QStringLiteral("42"));
    ShowDialog(Part<TGotoLineNo>(form), "goto-line-dialog");
    ShowDialog(Part<TSplash>(form), "about-box");
    TSplash splash;
    ShowDialog(&splash, "splash");

    QMessageBox many(QMessageBox::Question, QStringLiteral("Morva 1.00"),
                     QStringLiteral("Save changes to delphi_forms.tpx"),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                         QMessageBox::NoToAll | QMessageBox::YesToAll);
    ShowDialog(&many, "close-all-question");

    ShowRunWindowAndDatabaseDialogs(form, samples);
    SchemaAndEnvironmentScreens(form);

    // Leave without the close questions and without writing the scratch settings anywhere
    // that matters.
    for (int i = form.PageTotal() - 1; i >= 0; --i) form.Editor(i)->document()->setModified(false);
    return 0;
}

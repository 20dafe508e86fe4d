#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <memory>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/editor_page.h"
#include "workbench/app/keyword_file.h"
#include "workbench/formfile/formfile.h"
#include "workbench/schema/schema.h"

namespace morva::app {
namespace {

class MainFormTest : public WorkbenchTest {
  protected:
    std::unique_ptr<TMainForm> Start(const QString& file = {}) {
        auto form = std::make_unique<TMainForm>();
        form->FormShow(file);
        return form;
    }

    // A file on disk opened in a page and then changed.
    void OpenModified(TMainForm& form, const QString& name) {
        WriteFile(name, "text\n");
        form.OpenFile(Path(name));
        form.ActiveEditor()->insertPlainText(QStringLiteral("changed "));
    }

    // The names the pages are listed under, in page order.
    QStringList FileNames(const TMainForm& form) {
        QStringList names;
        for (int i = 0; i < form.PageTotal(); ++i) names << form.Page(i)->FileName();
        return names;
    }

    QStringList RecentCaptions(TMainForm& form) {
        QStringList captions;
        for (QAction* action : Part<QMenu>(form, QStringLiteral("mmFRecent"))->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }
};

TEST_F(MainFormTest, StartsWithOneNewPage) {
    auto form = Start();
    ASSERT_EQ(form->PageTotal(), 1);
    EXPECT_EQ(Part<QTabWidget>(*form, QStringLiteral("pgEdit"))->tabText(0),
              QStringLiteral("Untitle0"));
    EXPECT_EQ(FileNames(*form), QStringList({"Untitle0.TPX"}));
    EXPECT_EQ(form->ActiveEditor()->toPlainText(),
              QStringLiteral("Start script...\n<TEXT>\n\n</TEXT>"));
    EXPECT_EQ(form->ActiveEditor()->CaretLine(), 2);
    EXPECT_EQ(StatusPanel(*form, 0)->text(), QStringLiteral("    3:  1"));
    EXPECT_EQ(StatusPanel(*form, 1)->text(), QString());
    EXPECT_EQ(StatusPanel(*form, 2)->text(), QStringLiteral("(NONE)"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Morva 1.00 - [ Untitle0.TPX ]"));
    EXPECT_FALSE(Command(*form, "mmFSave")->isEnabled());
    EXPECT_FALSE(Command(*form, "mmEUndo")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmEFind")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmSRun")->isEnabled());
    EXPECT_EQ(form->ActiveEditor()->objectName(), QStringLiteral("cm0"));
    EXPECT_EQ(Part<QTabWidget>(*form, QStringLiteral("pgEdit"))->widget(0)->objectName(),
              QStringLiteral("ts0"));

    form->ActiveEditor()->insertPlainText(QStringLiteral("x"));
    EXPECT_EQ(StatusPanel(*form, 1)->text(), QStringLiteral("Modified"));
    EXPECT_TRUE(Command(*form, "mmFSave")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmFSaveAll")->isEnabled());
    EXPECT_TRUE(Command(*form, "mmEUndo")->isEnabled());
    EXPECT_EQ(StatusPanel(*form, 0)->text(), QStringLiteral("    3:  2"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainFormTest, StartArgumentOpensTheFileOrFallsBackSilently) {
    WriteFile(QStringLiteral("start.tpx"), "<TEXT>a</TEXT>\n");
    auto form = Start(Path(QStringLiteral("start.tpx")));
    EXPECT_EQ(FileNames(*form), QStringList({Path(QStringLiteral("start.tpx"))}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Morva 1.00 - [ start.tpx ]"));
    auto other = Start(Path(QStringLiteral("absent.tpx")));
    EXPECT_EQ(FileNames(*other), QStringList({"Untitle0.TPX"}));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(MainFormTest, OpeningAnOpenFileInAnotherCaseActivatesItsPage) {
    WriteFile(QStringLiteral("Script.TPX"), "one");
    auto form = Start();
    form->OpenFile(Path(QStringLiteral("Script.TPX")));
    form->NewPage();
    ASSERT_EQ(form->PageTotal(), 3);
    form->OpenFile(Path(QStringLiteral("script.tpx")));
    EXPECT_EQ(form->PageTotal(), 3);
    EXPECT_EQ(form->PageIndex(), 1);
    EXPECT_EQ(form->ActiveEditor()->toPlainText(), QStringLiteral("one"));
}

TEST_F(MainFormTest, UnreadableFileKeepsItsNameWithNewPageText) {
    auto form = Start();
    form->OpenFile(Path(QStringLiteral("missing.TPX")));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("missing.TPX")));
    EXPECT_EQ(FileNames(*form).last(), Path(QStringLiteral("missing.TPX")));
    EXPECT_TRUE(form->ActiveEditor()->toPlainText().startsWith(QStringLiteral("Start script")));
}

TEST_F(MainFormTest, FormFilesAreShownAsText) {
    std::string binary, error;
    ASSERT_TRUE(formfile::TextToBinary("object Form1: TForm1\n  Caption = 'Hello'\nend\n",
                                       formfile::ResourceHeader::kInclude, &binary, &error))
        << error;
    WriteFile(QStringLiteral("Form1.DfM"), QByteArray::fromStdString(binary));
    WriteFile(QStringLiteral("Broken.dfm"), "TPF0\x05");
    auto form = Start();
    form->OpenFile(Path(QStringLiteral("Form1.DfM")));
    EXPECT_TRUE(
        form->ActiveEditor()->toPlainText().startsWith(QStringLiteral("object Form1: TForm1")));
    EXPECT_TRUE(form->ActiveEditor()->toPlainText().contains(QStringLiteral("Caption = 'Hello'")));
    EXPECT_FALSE(form->ActiveEditor()->document()->isModified());
    EXPECT_TRUE(boxes.isEmpty());
    form->OpenFile(Path(QStringLiteral("Broken.dfm")));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Broken.dfm")));
    EXPECT_EQ(Part<QTabWidget>(*form, QStringLiteral("pgEdit"))->tabText(2),
              QStringLiteral("Broken"));
}

TEST_F(MainFormTest, SavingKeepsLineEndsAndEncoding) {
    WriteFile(QStringLiteral("dos.tpx"), "a\r\nb\r\n");
    WriteFile(QStringLiteral("latin.tpx"), "caf\xe9\n");
    auto form = Start();
    form->OpenFile(Path(QStringLiteral("dos.tpx")));
    EXPECT_EQ(form->ActiveEditor()->toPlainText(), QStringLiteral("a\nb\n"));
    form->ActiveEditor()->moveCursor(QTextCursor::End);
    form->ActiveEditor()->insertPlainText(QStringLiteral("c"));
    ASSERT_TRUE(form->SavePage(form->PageIndex()));
    EXPECT_EQ(ReadFile(QStringLiteral("dos.tpx")), QByteArray("a\r\nb\r\nc"));
    EXPECT_EQ(StatusPanel(*form, 1)->text(), QString());
    EXPECT_FALSE(Command(*form, "mmFSave")->isEnabled());

    form->OpenFile(Path(QStringLiteral("latin.tpx")));
    ASSERT_TRUE(form->SavePage(form->PageIndex()));
    EXPECT_EQ(ReadFile(QStringLiteral("latin.tpx")), QByteArray("caf\xe9\n"));
}

TEST_F(MainFormTest, SaveGoesThroughSaveAsForNewPagesAndFormFiles) {
    WriteFile(QStringLiteral("Form1.dfm"), "binary");
    auto form = Start();
    form->OpenFile(Path(QStringLiteral("Form1.dfm")));
    const int formPage = form->PageIndex();
    boxes.clear();
    EXPECT_FALSE(form->SavePage(formPage));  // cancelled Save As
    ASSERT_EQ(prompts.size(), 1);
    EXPECT_TRUE(prompts[0].startsWith(QStringLiteral("save|"))) << prompts[0].toStdString();
    EXPECT_EQ(ReadFile(QStringLiteral("Form1.dfm")), QByteArray("binary"));

    fileAnswers.push_back(Path(QStringLiteral("sub/First")));
    QDir(root).mkdir(QStringLiteral("sub"));
    ASSERT_TRUE(form->SavePage(0));
    EXPECT_EQ(prompts[1], QStringLiteral("save|%1|Untitle0.TPX").arg(root));
    EXPECT_EQ(FileNames(*form)[0], Path(QStringLiteral("sub/First.TPX")));
    EXPECT_EQ(Part<QTabWidget>(*form, QStringLiteral("pgEdit"))->tabText(0),
              QStringLiteral("First"));
    EXPECT_EQ(form->Settings().ScriptDir, Path(QStringLiteral("sub/")));
    EXPECT_EQ(ReadFile(QStringLiteral("sub/First.TPX")),
              QByteArray("Start script...\n<TEXT>\n\n</TEXT>"));
    EXPECT_EQ(form->Settings().RecentFiles.Count(), 0);  // Save As leaves the recent lists
}

TEST_F(MainFormTest, ClosingFeedsTheRecentFiles) {
    auto form = Start();
    for (int i = 0; i < 11; ++i) {
        const QString name = QStringLiteral("f%1.tpx").arg(i);
        WriteFile(name, "x");
        form->OpenFile(Path(name));
        form->ClosePage(form->PageIndex());
    }
    ASSERT_EQ(form->Settings().RecentFiles.Count(), 10);
    EXPECT_EQ(form->Settings().RecentFiles[0], Path(QStringLiteral("f1.tpx")));
    EXPECT_EQ(form->Settings().RecentFiles[9], Path(QStringLiteral("f10.tpx")));
    EXPECT_EQ(RecentCaptions(*form).first(), Path(QStringLiteral("f10.tpx")));

    form->OpenFile(Path(QStringLiteral("f10.tpx")));  // reopening takes it off the list
    EXPECT_EQ(form->Settings().RecentFiles.Count(), 9);
    form->ClosePage(form->PageIndex());
    form->ClosePage(0);  // Untitle0 never enters the list
    EXPECT_EQ(form->Settings().RecentFiles.Count(), 10);
    EXPECT_EQ(form->PageTotal(), 0);
    EXPECT_FALSE(Part<QTabWidget>(*form, QStringLiteral("pgEdit"))->isVisible());
    EXPECT_FALSE(Command(*form, "mmEFind")->isEnabled());
    EXPECT_FALSE(Command(*form, "mmFClose")->isEnabled());
}

TEST_F(MainFormTest, LoadCommandRemembersFolders) {
    auto form = Start();
    for (int i = 0; i < 6; ++i) {
        const QString folder = QStringLiteral("d%1").arg(i);
        QDir(root).mkdir(folder);
        WriteFile(folder + QStringLiteral("/s.tpx"), "x");
        fileAnswers.push_back(Path(folder + QStringLiteral("/s.tpx")));
        Command(*form, "mmFLoad")->trigger();
    }
    EXPECT_EQ(form->PageTotal(), 7);
    ASSERT_EQ(form->Settings().RecentDirs.Count(), 5);
    EXPECT_EQ(form->Settings().RecentDirs[0], Path(QStringLiteral("d1/")));
    EXPECT_EQ(form->Settings().ScriptDir, Path(QStringLiteral("d5/")));
    EXPECT_EQ(prompts.last(), QStringLiteral("open|%1|").arg(Path(QStringLiteral("d4/"))));
    form->ClosePage(form->PageIndex());
    const QStringList captions = RecentCaptions(*form);
    EXPECT_EQ(captions.size(), 7);
    EXPECT_EQ(captions[0], Path(QStringLiteral("d5/")));
    EXPECT_EQ(captions[5], QStringLiteral("-"));
    EXPECT_EQ(captions[6], Path(QStringLiteral("d5/s.tpx")));

    // The folders and files are in the settings written when the window goes away.
    form.reset();
    TSettings settings;
    settings.Initialise();
    EXPECT_EQ(settings.RecentDirs.Count(), 5);
    EXPECT_EQ(settings.RecentFiles.Count(), 1);
}

TEST_F(MainFormTest, ClosingAModifiedPageAsks) {
    auto form = Start();
    OpenModified(*form, QStringLiteral("a.tpx"));
    answers = {Answer::Cancel};
    EXPECT_FALSE(form->ClosePage(1));
    EXPECT_EQ(boxes.last(), QStringLiteral("Save changes to a.tpx"));
    EXPECT_EQ(kinds.back(), BoxKind::ConfirmationWithCancel);
    answers = {Answer::Yes};
    EXPECT_TRUE(form->ClosePage(1));
    EXPECT_EQ(ReadFile(QStringLiteral("a.tpx")), QByteArray("changed text\n"));

    // Yes on an untitled page whose Save As is cancelled keeps the page and its text.
    form->ActiveEditor()->insertPlainText(QStringLiteral("keep me"));
    answers = {Answer::Yes};
    EXPECT_FALSE(form->ClosePage(0));
    EXPECT_EQ(form->PageTotal(), 1);
    answers = {Answer::No};
    EXPECT_TRUE(form->ClosePage(0));
}

TEST_F(MainFormTest, CloseAllWithYesToAllSavesTheRest) {
    auto form = Start();
    form->ClosePage(0);
    for (const char* name : {"a.tpx", "b.tpx", "c.tpx"}) OpenModified(*form, QLatin1String(name));
    answers = {Answer::YesToAll};
    EXPECT_TRUE(form->CloseAll());
    EXPECT_EQ(boxes, QStringList({"Save changes to c.tpx"}));
    EXPECT_EQ(kinds.back(), BoxKind::ConfirmationForMany);
    for (const char* name : {"a.tpx", "b.tpx", "c.tpx"})
        EXPECT_EQ(ReadFile(QLatin1String(name)), QByteArray("changed text\n")) << name;
    EXPECT_EQ(form->PageTotal(), 0);
}

TEST_F(MainFormTest, CancelOnTheSecondQuestionKeepsTheWindowOpen) {
    auto form = Start();
    form->ClosePage(0);
    for (const char* name : {"a.tpx", "b.tpx", "c.tpx"}) OpenModified(*form, QLatin1String(name));
    form->show();
    answers = {Answer::No, Answer::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes, QStringList({"Save changes to c.tpx", "Save changes to b.tpx"}));
    EXPECT_EQ(FileNames(*form), QStringList({Path("a.tpx"), Path("b.tpx")}));
    EXPECT_EQ(ReadFile(QStringLiteral("c.tpx")), QByteArray("text\n"));

    // The last modified page is asked with three buttons; No to All closes without asking.
    answers = {Answer::No};
    EXPECT_TRUE(form->ClosePage(1));
    EXPECT_EQ(kinds.back(), BoxKind::ConfirmationWithCancel);
    OpenModified(*form, QStringLiteral("d.tpx"));
    answers = {Answer::NoToAll};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(boxes.size(), 4);
    EXPECT_EQ(ReadFile(QStringLiteral("a.tpx")), QByteArray("text\n"));
}

TEST_F(MainFormTest, CtrlTabActivatesThePreviousPageWrapping) {
    auto form = Start();
    form->NewPage();
    form->NewPage();
    form->ActivatePage(0);
    QTest::keyClick(form->ActiveEditor(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->PageIndex(), 2);
    QTest::keyClick(form->ActiveEditor(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form->PageIndex(), 1);
    EXPECT_FALSE(form->Editor(2)->toPlainText().contains(u'\t'));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Morva 1.00 - [ Untitle1.TPX ]"));
}

TEST_F(MainFormTest, DroppedFilesOpenTheFirst) {
    WriteFile(QStringLiteral("one.tpx"), "1");
    WriteFile(QStringLiteral("two.tpx"), "2");
    auto form = Start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("one.tpx")), QUrl::fromLocalFile(Path("two.tpx"))});
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Delivered straight to the window, as the platform's drag and drop does.
    static_cast<QObject*>(form.get())->event(&drop);
    EXPECT_EQ(FileNames(*form), QStringList({"Untitle0.TPX", Path("one.tpx")}));
}

TEST_F(MainFormTest, InstanceRequestOpensTheFile) {
    WriteFile(QStringLiteral("sent.tpx"), "s");
    auto form = Start();
    form->HandleInstanceRequest(Path(QStringLiteral("sent.tpx")));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(FileNames(*form).last(), Path(QStringLiteral("sent.tpx")));
    form->HandleInstanceRequest(QString());
    EXPECT_EQ(form->PageTotal(), 2);
}

TEST_F(MainFormTest, KeywordsOfTheChosenLanguageColourEveryPage) {
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        raw.setValue(QStringLiteral("Language"), 1);
    }
    WriteFile(QStringLiteral("Keywords.CDF"),
              QByteArray::fromStdString(EncodeKeywordFile({{"A", {"x"}}, {"B", {"begin"}}})));
    auto form = Start();
    EXPECT_TRUE(form->ActiveEditor()->Keywords().contains(QStringLiteral("begin")));
    EXPECT_FALSE(form->ActiveEditor()->Keywords().contains(QStringLiteral("x")));
    EXPECT_TRUE(boxes.isEmpty());

    WriteFile(QStringLiteral("Keywords.CDF"), QByteArray("\x02\0\0", 3));
    auto broken = Start();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Invalid file format(%1)").arg(Path("Keywords.CDF")));
}

TEST_F(MainFormTest, SaveAllSkipsCancelledPagesAndWritesTheRest) {
    auto form = Start();
    OpenModified(*form, QStringLiteral("a.tpx"));
    form->ActivatePage(0);
    EXPECT_TRUE(form->SaveAll());  // the untitled page's Save As is cancelled
    EXPECT_EQ(prompts.size(), 1);
    EXPECT_EQ(ReadFile(QStringLiteral("a.tpx")), QByteArray("changed text\n"));
    EXPECT_FALSE(Command(*form, "mmFSaveAll")->isEnabled());

    // Text that no longer fits a Latin-1 file is written as UTF-8, not lost.
    WriteFile(QStringLiteral("latin.tpx"), "caf\xe9");
    form->OpenFile(Path(QStringLiteral("latin.tpx")));
    form->ActiveEditor()->moveCursor(QTextCursor::End);
    form->ActiveEditor()->insertPlainText(QStringLiteral(" \u20ac"));
    ASSERT_TRUE(form->SavePage(form->PageIndex()));
    EXPECT_EQ(ReadFile(QStringLiteral("latin.tpx")), QByteArray("caf\xc3\xa9 \xe2\x82\xac"));

    // A failed write is reported and stops Save all; the page stays modified. The page's
    // file lies below a plain file, so it can be neither read nor written.
    WriteFile(QStringLiteral("plain"), "p");
    form->OpenFile(Path(QStringLiteral("plain/b.tpx")));
    form->ActiveEditor()->insertPlainText(QStringLiteral("x"));
    boxes.clear();
    EXPECT_FALSE(form->SaveAll());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Cannot save file ")));
    EXPECT_TRUE(form->ActiveEditor()->document()->isModified());
}

TEST_F(MainFormTest, WindowBoundsAreKeptAcrossStarts) {
    {
        auto form = Start();
        form->setGeometry(40, 50, 700, 500);
    }
    TSettings stored;
    stored.Initialise();
    EXPECT_EQ(stored.MainLeft, 40);
    EXPECT_EQ(stored.MainWidth, 700);
    auto form = Start();
    EXPECT_EQ(form->geometry(), QRect(40, 50, 700, 500));
}

TEST_F(MainFormTest, RecentFolderEntryStartsTheOpenDialogThere) {
    auto form = Start();
    form->Settings().RecentDirs.Add(QStringLiteral("/some/where/"));
    form->RebuildRecentMenu();
    Part<QMenu>(*form, QStringLiteral("mmFRecent"))->actions().first()->trigger();
    EXPECT_EQ(prompts, QStringList({"open|/some/where/|"}));
}

TEST_F(MainFormTest, AutoIndentAndPanelSwitches) {
    auto form = Start();
    form->NewPage();
    Command(*form, "mmOAutoIndent")->trigger();
    EXPECT_FALSE(form->Editor(0)->AutoIndent);
    EXPECT_FALSE(form->Editor(1)->AutoIndent);
    form->NewPage();
    EXPECT_FALSE(form->Editor(2)->AutoIndent);
    form->show();
    Command(*form, "mmOViewPanel")->trigger();
    EXPECT_FALSE(Part<QWidget>(*form, QStringLiteral("sbToolbars"))->isVisible());
}

TEST_F(MainFormTest, CurrentSchemaShowsInTheStatusBar) {
    {
        QSettings raw(TSettings::StorePath(), QSettings::IniFormat);
        raw.beginGroup(QLatin1String(kSettingsKeyPath));
        raw.setValue(QStringLiteral("DatabaseName"), QStringLiteral("Shop"));
        raw.setValue(QStringLiteral("SchemaName"), QStringLiteral("Main"));
    }
    QDir(root).mkpath(QStringLiteral("Database/Shop/Schema"));
    schema::TSchema saved;
    saved.Name = "Main";
    saved.DbName = "Shop";
    std::string error;
    ASSERT_TRUE(saved.Save((root + QStringLiteral("/Database")).toStdString(), &error)) << error;
    auto form = Start();
    EXPECT_EQ(StatusPanel(*form, 2)->text(), QStringLiteral("SCHEMA"));
    EXPECT_TRUE(boxes.isEmpty());
}

}  // namespace
}  // namespace morva::app

#include "workbench/app/editor_page.h"

#include <QSignalSpy>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"

namespace morva::app {
namespace {

using Result = TEditorPage::SaveResult;

class EditorPageTest : public WorkbenchTest {
  protected:
    // A page that has read `name`, written with `bytes` first.
    std::unique_ptr<TEditorPage> Opened(const QString& name, const QByteArray& bytes) {
        WriteFile(name, bytes);
        auto page = std::make_unique<TEditorPage>(Path(name));
        QString error;
        EXPECT_TRUE(page->Load(&error)) << error.toStdString();
        return page;
    }
};

TEST_F(EditorPageTest, FilesAreWrittenBackAsTheyWereRead) {
    // A UTF-8 sequence cut off at the end makes the file Latin-1, written back unchanged.
    auto cut = Opened(QStringLiteral("cut.tpx"), "a\r\n\xc3");
    EXPECT_EQ(cut->Editor()->toPlainText(), QString::fromLatin1("a\n\xc3"));
    QString folder = root;
    ASSERT_EQ(cut->Save(&folder), Result::Saved);
    EXPECT_EQ(ReadFile(QStringLiteral("cut.tpx")), QByteArray("a\r\n\xc3"));

    auto utf8 = Opened(QStringLiteral("utf8.tpx"), "caf\xc3\xa9\n");
    EXPECT_EQ(utf8->Editor()->toPlainText(), QStringLiteral("caf\u00e9\n"));
    ASSERT_EQ(utf8->Save(&folder), Result::Saved);
    EXPECT_EQ(ReadFile(QStringLiteral("utf8.tpx")), QByteArray("caf\xc3\xa9\n"));
    EXPECT_TRUE(prompts.isEmpty());
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(EditorPageTest, SaveAsTakesTheNameOnlyOnceWritten) {
    TEditorPage page(QStringLiteral("Untitle3.TPX"));
    page.SetNewPageText();
    EXPECT_TRUE(page.IsUntitled());
    QSignalSpy renamed(&page, &TEditorPage::FileNameChanged);
    QString folder = QStringLiteral("/start/");
    WriteFile(QStringLiteral("plain"), "p");
    fileAnswers = {Path(QStringLiteral("plain/x")), Path(QStringLiteral("named"))};

    // Below a plain file nothing can be written: the page keeps its name and stays new.
    page.Editor()->insertPlainText(QStringLiteral("x"));
    EXPECT_EQ(page.Save(&folder), Result::Failed);
    EXPECT_EQ(prompts, QStringList({"save|/start/|Untitle3.TPX"}));
    EXPECT_EQ(page.FileName(), QStringLiteral("Untitle3.TPX"));
    EXPECT_TRUE(page.IsModified());
    EXPECT_EQ(renamed.count(), 0);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Cannot save file ")));

    EXPECT_EQ(page.Save(&folder), Result::Saved);
    EXPECT_EQ(page.FileName(), Path(QStringLiteral("named.TPX")));
    EXPECT_EQ(folder, root + u'/');
    EXPECT_FALSE(page.IsModified());
    EXPECT_FALSE(page.IsUntitled());
    EXPECT_EQ(renamed.count(), 1);
    EXPECT_EQ(page.Save(&folder), Result::Saved);  // now under its own name, without asking
    EXPECT_EQ(prompts.size(), 2);
    EXPECT_EQ(page.SaveAs(&folder), Result::Cancelled);
    EXPECT_EQ(page.FileName(), Path(QStringLiteral("named.TPX")));
}

TEST_F(EditorPageTest, MaybeSaveKeepsThePageWhenTheSaveDoesNotHappen) {
    auto page = Opened(QStringLiteral("a.tpx"), "text");
    QString folder = root;
    EXPECT_TRUE(page->MaybeSave(&folder));  // unmodified: nothing is asked
    EXPECT_TRUE(boxes.isEmpty());

    page->Editor()->insertPlainText(QStringLiteral("new "));
    answers = {Answer::Cancel, Answer::No, Answer::Yes};
    EXPECT_FALSE(page->MaybeSave(&folder));
    EXPECT_TRUE(page->MaybeSave(&folder));
    EXPECT_EQ(ReadFile(QStringLiteral("a.tpx")), QByteArray("text"));
    EXPECT_TRUE(page->MaybeSave(&folder));
    EXPECT_EQ(ReadFile(QStringLiteral("a.tpx")), QByteArray("new text"));
    EXPECT_EQ(boxes, QStringList(3, QStringLiteral("Save changes to a.tpx")));
    EXPECT_EQ(kinds.back(), BoxKind::ConfirmationWithCancel);

    // A form file is never written over by Save: Yes asks for a name, and cancelling it
    // keeps the page open.
    WriteFile(QStringLiteral("F.dfm"), "binary");
    TEditorPage form(Path(QStringLiteral("F.dfm")));
    form.Editor()->insertPlainText(QStringLiteral("object"));
    answers = {Answer::Yes};
    EXPECT_FALSE(form.MaybeSave(&folder));
    EXPECT_EQ(prompts, QStringList({QStringLiteral("save|%1|F.dfm").arg(root)}));
    EXPECT_EQ(ReadFile(QStringLiteral("F.dfm")), QByteArray("binary"));
}

}  // namespace
}  // namespace morva::app

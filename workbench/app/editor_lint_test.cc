// The lint in the editor: the pause before a lint, the underlines and their tool tips, the
// findings count and list in the main window, with real widgets and the real engine.

#include <QDockWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>
#include <memory>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/editor_page.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"

namespace morva::app {
namespace {

const QString kMessage =
    QStringLiteral("not a tag: <COLUMS> is copied as text; did you mean <COLUMNS>?");

// Waits for the page's pause in typing to end and its lint to run.
bool Linted(const TEditorPage& page) {
    return QTest::qWaitFor([&] { return !page.LintPending(); }, 5000);
}

QStringList Underlined(const TCodeMemo& memo) {
    QStringList texts;
    for (const QTextEdit::ExtraSelection& selection : memo.extraSelections()) {
        EXPECT_EQ(selection.format.underlineStyle(), QTextCharFormat::WaveUnderline);
        texts << selection.cursor.selectedText();
    }
    return texts;
}

// A page whose linter reports every "<X>" in the script, counting its calls; `busy` calls
// are refused first as if a run were under way.
class FakeLintTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        page = std::make_unique<TEditorPage>(QStringLiteral("Untitle0.TPX"));
        page->SetLinter([this](const std::string& script, std::vector<tpx::LintFinding>* out) {
            ++calls;
            if (busy > 0) {
                --busy;
                return LintStatus::Busy;
            }
            out->clear();
            for (size_t at = script.find("<X>"); at != std::string::npos;
                 at = script.find("<X>", at + 1))
                out->push_back({1, 1, at, 3, "check", "message"});
            return LintStatus::Done;
        });
    }

    std::unique_ptr<TEditorPage> page;
    int calls = 0;
    int busy = 0;
};

// Byte offsets into the UTF-8 script become positions in the editor's text, past two-, three-
// and four-byte characters (the last one two UTF-16 units).
TEST_F(FakeLintTest, UnderlinesTheFindingsTextPastWideCharacters) {
    page->Editor()->setPlainText(QStringLiteral("\u00e9<X>\u20ac\n\U0001F600 <X>\n<X>"));
    ASSERT_TRUE(Linted(*page));
    EXPECT_EQ(Underlined(*page->Editor()), QStringList({"<X>", "<X>", "<X>"}));
    const QList<EditorFinding>& findings = page->Editor()->Findings();
    ASSERT_EQ(findings.size(), 3);
    EXPECT_EQ(findings[1].range.selectionStart(), 9);
    EXPECT_EQ(page->Editor()->FindingMessagesAt(9), QStringLiteral("message"));
    EXPECT_EQ(page->Editor()->FindingMessagesAt(12), QString());
    // The underline follows text typed before it until the next lint.
    page->Editor()->SetCaret(0);
    page->Editor()->insertPlainText(QStringLiteral("ab"));
    EXPECT_EQ(findings[1].range.selectionStart(), 11);
    EXPECT_EQ(page->Editor()->FindingMessagesAt(11), QStringLiteral("message"));
}

TEST_F(FakeLintTest, ALintRefusedDuringARunIsTriedAgainAfterAPause) {
    busy = 2;
    page->Editor()->setPlainText(QStringLiteral("<X>"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->LintRuns() == 1; }, 5000));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(Underlined(*page->Editor()), QStringList({"<X>"}));
}

class EditorLintTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        form = std::make_unique<TMainForm>();
        form->FormShow({});
        ASSERT_TRUE(Command(*form, "mmSCheck")->isEnabled()) << "the engine is not loaded";
        ASSERT_TRUE(Linted(*Active()));
    }

    TEditorPage* Active() const { return form->Page(form->PageIndex()); }
    QString Count() const { return Part<QLabel>(*form, QStringLiteral("ssBarFindings"))->text(); }
    QTreeWidget* List() const { return Part<QTreeWidget>(*form, QStringLiteral("lvFindings")); }

    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = List()->topLevelItem(i);
            rows << QStringLiteral("%1:%2 %3").arg(item->text(0), item->text(1), item->text(2));
        }
        return rows;
    }

    std::unique_ptr<TMainForm> form;
};

TEST_F(EditorLintTest, ANearMissTypedIsUnderlinedAfterThePauseAndClearedWhenFixed) {
    TCodeMemo* memo = form->ActiveEditor();
    EXPECT_EQ(Count(), QStringLiteral("No findings"));
    EXPECT_TRUE(Underlined(*memo).isEmpty());

    QTest::keyClicks(memo, QStringLiteral("<COLUMS>"));
    EXPECT_TRUE(Active()->LintPending());
    EXPECT_TRUE(Underlined(*memo).isEmpty());
    ASSERT_TRUE(Linted(*Active()));
    EXPECT_EQ(Underlined(*memo), QStringList({"<COLUMS>"}));
    EXPECT_EQ(Count(), QStringLiteral("1 finding"));

    // The escape makes it literal text on purpose.
    memo->SetCaret(memo->document()->findBlockByNumber(2).position());
    QTest::keyClicks(memo, QStringLiteral("\\"));
    ASSERT_TRUE(Linted(*Active()));
    EXPECT_TRUE(Underlined(*memo).isEmpty());
    EXPECT_EQ(Count(), QStringLiteral("No findings"));
}

TEST_F(EditorLintTest, TheMessageIsTheToolTipOfTheUnderlinedText) {
    TCodeMemo* memo = form->ActiveEditor();
    memo->insertPlainText(QStringLiteral("x <COLUMS> y"));
    ASSERT_TRUE(Linted(*Active()));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const int start = memo->document()->findBlockByNumber(2).position();
    EXPECT_EQ(memo->FindingMessagesAt(start + 2), kMessage);
    EXPECT_EQ(memo->FindingMessagesAt(start + 9), kMessage);
    EXPECT_EQ(memo->FindingMessagesAt(start + 10), QString());

    // Resting the mouse over the "L" of the tag shows the message.
    QTextCursor at(memo->document());
    at.setPosition(start + 5);
    const QPoint inside = memo->cursorRect(at).center() + QPoint(2, 0);
    QHelpEvent help(QEvent::ToolTip, inside, memo->viewport()->mapToGlobal(inside));
    QApplication::sendEvent(memo->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), kMessage);
    QToolTip::hideText();
}

TEST_F(EditorLintTest, CheckListsTheFindingsAndChoosingOneGoesToIt) {
    TCodeMemo* memo = form->ActiveEditor();
    memo->insertPlainText(QStringLiteral("\n  <TPYE> and <COLUMS>"));
    auto* dock = Part<QDockWidget>(*form, QStringLiteral("dkFindings"));
    EXPECT_FALSE(dock->isVisible());
    form->show();
    Command(*form, "mmSCheck")->trigger();  // at once, without waiting for the pause
    EXPECT_FALSE(Active()->LintPending());
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(Rows(), QStringList({"4:3 near-miss-tag", "4:14 near-miss-tag"}));
    EXPECT_EQ(List()->topLevelItem(1)->text(3), kMessage);

    memo->SetCaret(0);
    QTreeWidgetItem* second = List()->topLevelItem(1);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualItemRect(second).center());
    EXPECT_EQ(memo->CaretLine(), 3);
    EXPECT_EQ(memo->CaretColumn(), 13);
    EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("<COLUMS>"));
    EXPECT_EQ(Part<QLabel>(*form, QStringLiteral("ssBarPanel0"))->text(),
              QStringLiteral("    4: 14"));

    List()->setCurrentItem(List()->topLevelItem(0));
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(memo->textCursor().selectedText(), QStringLiteral("<TPYE>"));
}

TEST_F(EditorLintTest, TheCountAndListFollowTheActivePage) {
    form->ActiveEditor()->insertPlainText(QStringLiteral("<COLUMS> <TPYE>"));
    Command(*form, "mmSCheck")->trigger();
    EXPECT_EQ(Count(), QStringLiteral("2 findings"));
    form->NewPage();
    ASSERT_TRUE(Linted(*Active()));
    EXPECT_EQ(Count(), QStringLiteral("No findings"));
    EXPECT_TRUE(Rows().isEmpty());
    form->ActivatePage(0);
    EXPECT_EQ(Count(), QStringLiteral("2 findings"));
    EXPECT_EQ(Rows().size(), 2);
    form->ClosePage(0);  // answered No: not saved
    EXPECT_EQ(Count(), QStringLiteral("No findings"));
    form->ClosePage(0);
    EXPECT_EQ(Count(), QString());
    EXPECT_TRUE(Rows().isEmpty());
}

// Keystrokes on a large script only restart the pause: it is linted once after the last.
TEST_F(EditorLintTest, TypingInALargeScriptLintsOnceAfterThePause) {
    QString script = QStringLiteral("<TEXT>\n");
    const QString line = QStringLiteral("SELECT name, price FROM goods WHERE price > 10; -- x\n");
    while (script.size() < 1024 * 1024) script += line;
    script += QStringLiteral("</TEXT>\n");
    TCodeMemo* memo = form->ActiveEditor();
    memo->setPlainText(script);
    ASSERT_TRUE(Linted(*Active()));
    const int runs = Active()->LintRuns();
    memo->SetCaret(7);
    for (QChar c : QStringLiteral("<COLUMS>")) {
        QTest::keyClick(memo, c.toLatin1());
        QTest::qWait(20);
    }
    EXPECT_EQ(Active()->LintRuns(), runs);
    ASSERT_TRUE(Linted(*Active()));
    EXPECT_EQ(Active()->LintRuns(), runs + 1);
    EXPECT_EQ(Underlined(*memo), QStringList({"<COLUMS>"}));
}

// Past kShownFindings the editor underlines and lists only the first ones, so that typing in
// a script full of mistakes stays quick; the status bar still counts them all.
TEST_F(EditorLintTest, ManyFindingsAreCountedButOnlyTheFirstAreShown) {
    const int total = TEditorPage::kShownFindings + 5;
    QString script = QStringLiteral("<TEXT>\n");
    for (int i = 0; i < total; ++i) script += QStringLiteral("<COLUMS>\n");
    form->ActiveEditor()->setPlainText(script + QStringLiteral("</TEXT>\n"));
    Command(*form, "mmSCheck")->trigger();
    EXPECT_EQ(Count(), QStringLiteral("%1 findings").arg(total));
    EXPECT_EQ(form->ActiveEditor()->extraSelections().size(), TEditorPage::kShownFindings);
    ASSERT_EQ(List()->topLevelItemCount(), TEditorPage::kShownFindings + 1);
    QTreeWidgetItem* more = List()->topLevelItem(TEditorPage::kShownFindings);
    EXPECT_EQ(more->text(3), QStringLiteral("5 more findings are not shown"));
    form->ActiveEditor()->SetCaret(0);
    List()->setCurrentItem(more);
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(form->ActiveEditor()->textCursor().position(), 0);
}

}  // namespace
}  // namespace morva::app

// Find, replace, Search Next and go to line, driven through the main window and its dialogs.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/find_dialog.h"
#include "workbench/app/goto_line_dialog.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/replace_dialog.h"

namespace morva::app {
namespace {

class SearchTest : public WorkbenchTest {
  protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        form = std::make_unique<TMainForm>();
        form->FormShow({});
        memo = form->ActiveEditor();
        memo->setPlainText(QStringLiteral("alpha beta\nBeta beta\ngamma"));
        find = Part<TFindDialog>(*form);
        replace = Part<TReplaceDialog>(*form);
        gotoLine = Part<TGotoLineNo>(*form);
        ASSERT_TRUE(find && replace && gotoLine);
    }

    // Runs `command` while the dialog it opens is filled by `fill` and closed.
    void WithDialog(QDialog* dialog, const std::function<void()>& fill, const char* command) {
        QTimer::singleShot(0, dialog, [dialog, fill] {
            if (dialog->isVisible()) fill();
        });
        Command(*form, command)->trigger();
    }

    void Find(const QString& text) {
        WithDialog(
            find,
            [this, text] {
                find->cbFind->setCurrentText(text);
                find->btOk->click();
            },
            "mmEFind");
    }

    void GotoLine(const QString& text) {
        WithDialog(
            gotoLine,
            [this, text] {
                gotoLine->cbLineno->setCurrentText(text);
                gotoLine->btOk->click();
            },
            "mmEGotoLine");
    }

    void SearchNext() { Command(*form, "mmESearchNext")->trigger(); }
    int SelectionStart() { return memo->textCursor().selectionStart(); }
    QString Selected() { return memo->textCursor().selectedText(); }

    std::unique_ptr<TMainForm> form;
    TCodeMemo* memo = nullptr;
    TFindDialog* find = nullptr;
    TReplaceDialog* replace = nullptr;
    TGotoLineNo* gotoLine = nullptr;
};

TEST_F(SearchTest, FindFromCursorAndFromStart) {
    memo->SetCaret(12);  // inside "Beta beta"
    Find(QStringLiteral("alpha"));
    EXPECT_EQ(boxes, QStringList({"Could not find \"alpha\""}));

    WithDialog(
        find,
        [this] {
            find->rbFromStart->setChecked(true);
            find->btOk->click();
        },
        "mmEFind");
    EXPECT_EQ(SelectionStart(), 0);
    EXPECT_EQ(Selected(), QStringLiteral("alpha"));
    EXPECT_EQ(find->cbFind->count(), 1);  // the history holds it once
}

TEST_F(SearchTest, SearchNextRepeatsTheLastFind) {
    SearchNext();  // nothing searched yet: nothing happens
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(SelectionStart(), 0);

    memo->SetCaret(0);
    Find(QStringLiteral("beta"));
    EXPECT_EQ(SelectionStart(), 6);
    SearchNext();  // starts after the selection, skips "Beta"
    EXPECT_EQ(SelectionStart(), 16);
    EXPECT_EQ(StatusPanel(*form, 0)->text(), QStringLiteral("    2:  6"));
    EXPECT_TRUE(Command(*form, "mmECopy")->isEnabled());
    SearchNext();
    EXPECT_EQ(boxes, QStringList({"Could not find \"beta\""}));
}

TEST_F(SearchTest, EmptyTextsKeepTheDialogsOpen) {
    find->show();
    find->cbFind->setCurrentText(QString());
    find->btOk->click();
    EXPECT_TRUE(find->isVisible());
    replace->show();
    replace->btReplaceAll->click();
    EXPECT_TRUE(replace->isVisible());
    gotoLine->show();
    gotoLine->btOk->click();
    EXPECT_TRUE(gotoLine->isVisible());
    EXPECT_EQ(boxes, QStringList({"The search string is empty !", "The search string is empty !",
                                  "The line number is empty !"}));
    find->reject();
    replace->reject();
    gotoLine->reject();
}

TEST_F(SearchTest, ReplaceAllEndsAfterOnePassThenSearchNextReplacesAgain) {
    memo->setPlainText(QStringLiteral("a-a-a"));
    WithDialog(
        replace,
        [this] {
            replace->cbFind->setCurrentText(QStringLiteral("a"));
            replace->cbReplace->setCurrentText(QStringLiteral("aa"));
            replace->rbFromStart->setChecked(true);
            replace->btReplaceAll->click();
        },
        "mmEReplace");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("aa-aa-aa"));
    EXPECT_TRUE(boxes.isEmpty());
    SearchNext();  // Search Next now repeats the replacement, which finds nothing more
    EXPECT_EQ(boxes, QStringList({"Could not find \"a\""}));
    memo->undo();  // the whole replacement is one undo step
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("a-a-a"));
}

TEST_F(SearchTest, ReplaceWithPromptSkipsRefusedOccurrences) {
    memo->setPlainText(QStringLiteral("x1 x2 x3"));
    memo->SetCaret(0);
    answers = {Answer::Yes, Answer::No, Answer::Yes};
    WithDialog(
        replace,
        [this] {
            replace->cbFind->setCurrentText(QStringLiteral("x"));
            replace->cbReplace->setCurrentText(QStringLiteral("y"));
            replace->cbPrompt->setChecked(true);
            replace->btReplaceAll->click();
        },
        "mmEReplace");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("y1 x2 y3"));
    EXPECT_EQ(boxes, QStringList({"Replace it ?", "Replace it ?", "Replace it ?"}));
    EXPECT_EQ(kinds.front(), BoxKind::Confirmation);
}

TEST_F(SearchTest, ReplaceOnceThenSearchNextReplacesTheNext) {
    memo->SetCaret(0);
    WithDialog(
        replace,
        [this] {
            replace->cbFind->setCurrentText(QStringLiteral("beta"));
            replace->cbReplace->setCurrentText(QStringLiteral("BETA"));
            replace->btOk->click();
        },
        "mmEReplace");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("alpha BETA\nBeta beta\ngamma"));
    EXPECT_EQ(replace->cbReplace->count(), 1);
    SearchNext();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("alpha BETA\nBeta BETA\ngamma"));
    SearchNext();
    EXPECT_EQ(boxes, QStringList({"Could not find \"beta\""}));
}

TEST_F(SearchTest, GoToLine) {
    memo->SetCaret(15);
    GotoLine(QStringLiteral("2"));
    EXPECT_EQ(memo->textCursor().position(), 11);
    EXPECT_EQ(StatusPanel(*form, 0)->text(), QStringLiteral("    2:  1"));
    GotoLine(QStringLiteral("99999999999"));  // too large for a number: the caret stays
    EXPECT_EQ(memo->textCursor().position(), 11);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("'99999999999' is not a valid line number"));
}

TEST_F(SearchTest, GoToLineDialogTakesOnlyDigits) {
    WithDialog(
        gotoLine,
        [this] {
            QLineEdit* edit = gotoLine->cbLineno->lineEdit();
            QTest::keyClicks(edit, QStringLiteral("1a2"));
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClick(edit, Qt::Key_Return);
        },
        "mmEGotoLine");
    EXPECT_EQ(gotoLine->cbLineno->itemText(0), QStringLiteral("12"));
    EXPECT_EQ(memo->textCursor().position(), 21);
    // The same number is kept in the history again.
    WithDialog(
        gotoLine, [this] { gotoLine->btOk->click(); }, "mmEGotoLine");
    EXPECT_EQ(gotoLine->cbLineno->count(), 2);
}

}  // namespace
}  // namespace morva::app

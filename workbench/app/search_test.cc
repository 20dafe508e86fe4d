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
    }

    // Runs `command` while the dialog it opens is filled by `fill` and closed.
    void WithDialog(QDialog* dialog, const std::function<void()>& fill,
                    const std::function<void()>& command) {
        QTimer::singleShot(0, dialog, [dialog, fill] {
            if (dialog->isVisible()) fill();
        });
        command();
    }

    int SelectionStart() { return memo->textCursor().selectionStart(); }
    QString Selected() { return memo->textCursor().selectedText(); }

    std::unique_ptr<TMainForm> form;
    TCodeMemo* memo = nullptr;
};

TEST_F(SearchTest, FindFromCursorAndFromStart) {
    memo->SetCaret(12);  // inside "Beta beta"
    WithDialog(
        form->FindDialog,
        [this] {
            form->FindDialog->cbFind->setCurrentText(QStringLiteral("alpha"));
            form->FindDialog->btOk->click();
        },
        [this] { form->mmEFindClick(); });
    EXPECT_EQ(boxes, QStringList({"Could not find \"alpha\""}));
    EXPECT_EQ(form->LastSearch, 1);

    WithDialog(
        form->FindDialog,
        [this] {
            form->FindDialog->rbFromStart->setChecked(true);
            form->FindDialog->btOk->click();
        },
        [this] { form->mmEFindClick(); });
    EXPECT_EQ(SelectionStart(), 0);
    EXPECT_EQ(Selected(), QStringLiteral("alpha"));
    EXPECT_EQ(form->FindDialog->cbFind->count(), 1);  // the history holds it once
}

TEST_F(SearchTest, SearchIsCaseSensitiveAndSearchNextMovesOn) {
    form->SearchNext();  // nothing searched yet: nothing happens
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(form->LastSearch, 0);

    memo->SetCaret(0);
    ASSERT_TRUE(form->SearchText(QStringLiteral("beta")));
    EXPECT_EQ(SelectionStart(), 6);
    form->FindDialog->cbFind->setCurrentText(QStringLiteral("beta"));
    form->LastSearch = 1;
    form->SearchNext();  // starts after the selection, skips "Beta"
    EXPECT_EQ(SelectionStart(), 16);
    EXPECT_EQ(form->ssBarPanels[0]->text(), QStringLiteral("    2:  6"));
    form->SearchNext();
    EXPECT_EQ(boxes, QStringList({"Could not find \"beta\""}));
    EXPECT_TRUE(form->SearchText(QString()));  // an empty text counts as found
}

TEST_F(SearchTest, EmptyTextsKeepTheDialogsOpen) {
    form->FindDialog->show();
    form->FindDialog->cbFind->setCurrentText(QString());
    form->FindDialog->btOk->click();
    EXPECT_TRUE(form->FindDialog->isVisible());
    form->ReplaceDialog->show();
    form->ReplaceDialog->btReplaceAll->click();
    EXPECT_TRUE(form->ReplaceDialog->isVisible());
    form->GotoLineNo->show();
    form->GotoLineNo->btOk->click();
    EXPECT_TRUE(form->GotoLineNo->isVisible());
    EXPECT_EQ(boxes, QStringList({"The search string is empty !", "The search string is empty !",
                                  "The line number is empty !"}));
    form->FindDialog->reject();
    form->ReplaceDialog->reject();
    form->GotoLineNo->reject();
}

TEST_F(SearchTest, ReplaceAllEndsAfterOnePass) {
    memo->setPlainText(QStringLiteral("a-a-a"));
    WithDialog(
        form->ReplaceDialog,
        [this] {
            form->ReplaceDialog->cbFind->setCurrentText(QStringLiteral("a"));
            form->ReplaceDialog->cbReplace->setCurrentText(QStringLiteral("aa"));
            form->ReplaceDialog->rbFromStart->setChecked(true);
            form->ReplaceDialog->btReplaceAll->click();
        },
        [this] { form->mmEReplaceClick(); });
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("aa-aa-aa"));
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(form->LastSearch, 2);
    memo->undo();  // the whole replacement is one undo step
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("a-a-a"));
}

TEST_F(SearchTest, ReplaceWithPromptSkipsRefusedOccurrences) {
    memo->setPlainText(QStringLiteral("x1 x2 x3"));
    memo->SetCaret(0);
    answers = {Answer::Yes, Answer::No, Answer::Yes};
    form->ReplaceAll(QStringLiteral("x"), QStringLiteral("y"), true);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("y1 x2 y3"));
    EXPECT_EQ(boxes, QStringList({"Replace it ?", "Replace it ?", "Replace it ?"}));
    EXPECT_EQ(kinds.front(), BoxKind::Confirmation);
}

TEST_F(SearchTest, ReplaceOnceThenSearchNextReplacesTheNext) {
    memo->SetCaret(0);
    WithDialog(
        form->ReplaceDialog,
        [this] {
            form->ReplaceDialog->cbFind->setCurrentText(QStringLiteral("beta"));
            form->ReplaceDialog->cbReplace->setCurrentText(QStringLiteral("BETA"));
            form->ReplaceDialog->btOk->click();
        },
        [this] { form->mmEReplaceClick(); });
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("alpha BETA\nBeta beta\ngamma"));
    EXPECT_EQ(form->ReplaceDialog->cbReplace->count(), 1);
    form->SearchNext();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("alpha BETA\nBeta BETA\ngamma"));
    form->SearchNext();
    EXPECT_EQ(boxes, QStringList({"Could not find \"beta\""}));
}

TEST_F(SearchTest, GoToLine) {
    memo->SetCaret(15);
    form->GotoLine(QStringLiteral("0"));
    EXPECT_EQ(memo->textCursor().position(), 0);
    memo->SetCaret(15);
    form->GotoLine(QStringLiteral("1"));
    EXPECT_EQ(memo->textCursor().position(), 0);
    form->GotoLine(QStringLiteral("2"));
    EXPECT_EQ(memo->textCursor().position(), 11);
    EXPECT_EQ(form->ssBarPanels[0]->text(), QStringLiteral("    2:  1"));
    form->GotoLine(QStringLiteral("99"));
    EXPECT_EQ(memo->textCursor().position(), 21);  // start of the last line
    EXPECT_FALSE(memo->textCursor().hasSelection());
    form->GotoLine(QStringLiteral("99999999999"));
    EXPECT_EQ(memo->textCursor().position(), 21);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("99999999999")));
}

TEST_F(SearchTest, GoToLineDialogTakesOnlyDigits) {
    TGotoLineNo* dialog = form->GotoLineNo;
    WithDialog(
        dialog,
        [dialog] {
            QLineEdit* edit = dialog->cbLineno->lineEdit();
            QTest::keyClicks(edit, QStringLiteral("1a2"));
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClick(edit, Qt::Key_Return);
        },
        [this] { form->mmEGotoLineClick(); });
    EXPECT_EQ(dialog->cbLineno->itemText(0), QStringLiteral("12"));
    EXPECT_EQ(memo->textCursor().position(), 21);
    // The same number is kept in the history again.
    WithDialog(
        dialog, [dialog] { dialog->btOk->click(); }, [this] { form->mmEGotoLineClick(); });
    EXPECT_EQ(dialog->cbLineno->count(), 2);
}

}  // namespace
}  // namespace morva::app

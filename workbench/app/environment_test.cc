// The environment options driven as a user would: file types, keyword languages with their
// file, macro buttons with their file, panel and clicks.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "workbench/app/app_test_support.h"
#include "workbench/app/code_memo.h"
#include "workbench/app/custom_button.h"
#include "workbench/app/dialog_test_support.h"
#include "workbench/app/highlight_classifier.h"
#include "workbench/app/keyword_file.h"
#include "workbench/app/language.h"
#include "workbench/app/main_form.h"
#include "workbench/app/main_form_parts.h"
#include "workbench/app/open_filter.h"
#include "workbench/app/swap_list.h"

namespace morva::app {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

QByteArray Short(const char* text) {
    return Bytes({static_cast<int>(qstrlen(text))}) + QByteArray(text);
}

class EnvironmentTest : public WorkbenchTest {
  protected:
    ModalScript script;
};

// ---------------------------------------------------------------------------------------
// File types

TEST_F(EnvironmentTest, FilterTextRoundTripsAndEmptyPatternsAreLeftOut) {
    TOpenFilter dialog;
    dialog.SetFilter("A|*.a|B|*.b");
    EXPECT_EQ(dialog.Descriptions, QStringList({"A", "B"}));
    EXPECT_EQ(dialog.Patterns, QStringList({"*.a", "*.b"}));
    EXPECT_EQ(dialog.lbFileType->currentRow(), -1);
    dialog.show();
    EXPECT_EQ(dialog.lbFileType->currentRow(), 0);
    EXPECT_EQ(dialog.neFilter->text(), "*.a");
    EXPECT_EQ(dialog.Filter(), "A|*.a|B|*.b");

    // Typing replaces the selected entry; "|" cannot be typed.
    dialog.lbFileType->setCurrentRow(1);
    dialog.neFileType->selectAll();
    QTest::keyClicks(dialog.neFileType, "Bee|s");
    EXPECT_EQ(dialog.lbFileType->item(1)->text(), "Bees");
    dialog.neFilter->selectAll();
    QTest::keyClick(dialog.neFilter, Qt::Key_Delete);
    EXPECT_EQ(dialog.Filter(), "A|*.a");

    // Dragging swaps two entries with their patterns.
    dialog.lbFileType->SwapRows(1, 0);
    EXPECT_EQ(dialog.Descriptions, QStringList({"Bees", "A"}));
    EXPECT_EQ(dialog.Patterns, QStringList({"", "*.a"}));
}

TEST_F(EnvironmentTest, DeletingEveryFileTypeLeavesOneForAllFiles) {
    TOpenFilter dialog;
    dialog.SetFilter("A|*.a|B|*.b|C|*.c");
    dialog.show();
    dialog.lbFileType->setCurrentRow(2);
    dialog.btDeleteClick();
    EXPECT_EQ(dialog.lbFileType->currentRow(), 1);  // the previous entry
    dialog.lbFileType->setCurrentRow(0);
    dialog.btDeleteClick();
    EXPECT_EQ(dialog.lbFileType->currentRow(), 0);
    EXPECT_EQ(dialog.neFileType->text(), "B");
    dialog.btDeleteClick();
    EXPECT_EQ(dialog.Descriptions, QStringList({"All Files(*.*)"}));
    EXPECT_EQ(dialog.Filter(), "All Files(*.*)|*.*");
    EXPECT_EQ(dialog.neFileType->selectedText(), "All Files(*.*)");
}

TEST_F(EnvironmentTest, FileTypeCommandChangesTheOpenFilterOnOkOnly) {
    TMainForm form;
    form.FormShow({});
    script.When(Part<TOpenFilter>(form), [&form] {
        Part<TOpenFilter>(form)->btNewClick();
        Part<TOpenFilter>(form)->reject();
    });
    Command(form, "mmOFileType")->trigger();
    EXPECT_EQ(form.Settings().OpenFilter, QString::fromLatin1(kDefaultOpenFilter));
    script.When(Part<TOpenFilter>(form), [&form] {
        Part<TOpenFilter>(form)->lbFileType->setCurrentRow(0);
        Part<TOpenFilter>(form)->btDeleteClick();
        Part<TOpenFilter>(form)->btOkClick();
    });
    Command(form, "mmOFileType")->trigger();
    EXPECT_TRUE(form.Settings().OpenFilter.startsWith("Delphi form files (*.DFM)|*.DFM|"));
    form.ActiveEditor()->document()->setModified(false);
}

// ---------------------------------------------------------------------------------------
// Keyword languages

TEST_F(EnvironmentTest, FirstShowingChoosesSqlAndOkChecksOneWordPerLine) {
    std::string error;
    ASSERT_TRUE(WriteKeywordFile(Path("Keywords.CDF").toStdString(),
                                 {{"Pascal", {"begin", "end"}}, {"sql", {"select", "from"}}},
                                 &error));
    int language = -1;
    TGetText prompt;
    {
        TLanguage dialog(Path("Keywords.CDF"), language, &prompt);
        EXPECT_EQ(dialog.Names, QStringList({"Pascal", "sql"}));
        dialog.show();
        EXPECT_EQ(language, 1);  // kept even though the dialog is then cancelled
        EXPECT_EQ(dialog.cbLang->currentIndex(), 1);
        EXPECT_EQ(dialog.moLang->toPlainText(), "select\nfrom");
        dialog.reject();

        dialog.moLang->setPlainText("where\n\nselect from\n");
        dialog.btOkClick();
        EXPECT_EQ(boxes, QStringList({"You must be 1 word per a line"}));
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.moLang->setPlainText("where\n\nSelect\n  from\t\n");
        dialog.btOkClick();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(*dialog.CurrentKeywords(), QStringList({"from", "Select", "where"}));

        // Choosing another language stores the memo first.
        dialog.show();
        dialog.moLang->setPlainText("order");
        dialog.cbLang->setCurrentIndex(0);
        dialog.cbLangChange();
        EXPECT_EQ(dialog.moLang->toPlainText(), "begin\nend");
        EXPECT_EQ(dialog.Keywords[1], QStringList({"order"}));

        // A new language through the prompt, which refuses an empty name.
        script.When(&prompt, [&prompt] {
            EXPECT_EQ(prompt.lbPrompt->text(), "Enter New Language Name");
            prompt.btOkClick();
            EXPECT_TRUE(prompt.isVisible());
            prompt.neText->setText("C");
            prompt.btOkClick();
        });
        dialog.btAddClick();
        EXPECT_EQ(dialog.cbLang->currentText(), "C");
        dialog.moLang->setPlainText("int");
        dialog.btOkClick();
        EXPECT_EQ(language, 2);
    }
    // Written anew at the end, every language in list order.
    const QByteArray expected = Bytes({3, 0, 0, 0}) + Short("Pascal") + Bytes({2, 0, 0, 0}) +
                                Short("begin") + Short("end") + Short("sql") + Bytes({1, 0, 0, 0}) +
                                Short("order") + Short("C") + Bytes({1, 0, 0, 0}) + Short("int");
    EXPECT_EQ(ReadFile("Keywords.CDF"), expected);
}

TEST_F(EnvironmentTest, KeywordFileIsLeftAloneWithoutLanguagesAndDamageIsReported) {
    int language = -1;
    TGetText prompt;
    { TLanguage dialog(Path("Keywords.CDF"), language, &prompt); }
    EXPECT_EQ(ReadFile("Keywords.CDF"), "<missing>");

    const QByteArray cut = Bytes({1, 0, 0, 0, 3}) + "SQ";
    WriteFile("Keywords.CDF", cut);
    {
        TLanguage dialog(Path("Keywords.CDF"), language, &prompt);
        EXPECT_EQ(dialog.LoadError, "Invalid file format(" + Path("Keywords.CDF") + ")");
        EXPECT_TRUE(dialog.Names.isEmpty());
    }
    EXPECT_EQ(ReadFile("Keywords.CDF"), cut);
}

// ---------------------------------------------------------------------------------------
// Macro buttons

TEST_F(EnvironmentTest, NewButtonsAreNamedInTurnAndMustHaveCaptionAndText) {
    TCustomButton dialog(Path("MacroBtn.CDF"));
    EXPECT_TRUE(dialog.ValidateShown());  // nothing shown counts as valid
    dialog.btNewClick();
    dialog.moText->setPlainText("a");
    dialog.btNewClick();
    dialog.moText->setPlainText("b");
    dialog.btNewClick();
    QStringList captions;
    for (const MacroButton& b : dialog.Buttons) captions << QString::fromStdString(b.caption);
    EXPECT_EQ(captions, QStringList({"Button0", "Button1", "Button2"}));
    EXPECT_EQ(dialog.neCaption->selectedText(), "Button2");
    EXPECT_TRUE(dialog.cbEnable->isChecked());

    // The new one has no text yet: it cannot be left.
    dialog.lbButtons->setCurrentRow(0);
    dialog.btNewClick();
    dialog.btOkClick();
    EXPECT_EQ(boxes, QStringList({"Empty text.", "Empty text.", "Empty text."}));
    EXPECT_EQ(dialog.lbButtons->currentRow(), 2);
    EXPECT_EQ(dialog.Shown, 2);
    dialog.moText->setPlainText("c");
    dialog.neCaption->clear();
    dialog.btOkClick();
    EXPECT_EQ(boxes.last(), "Invalid caption");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.neCaption->setText("BUTTON0x");
    dialog.btOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.lbButtons->item(2)->text(), "BUTTON0x");

    // Names taken in another letter case are skipped.
    dialog.Buttons[0].caption = "BUTTON3";
    dialog.btNewClick();
    EXPECT_EQ(dialog.Buttons.back().caption, "Button0");
}

TEST_F(EnvironmentTest, MacroFileIsWrittenByteForByteAndKeptWhenEveryButtonIsDeleted) {
    {
        TCustomButton dialog(Path("MacroBtn.CDF"));
        dialog.btNewClick();
        dialog.neHint->setText("Block");
        dialog.moText->setPlainText("begin end;");
        QTextCursor cursor = dialog.moText->textCursor();
        cursor.setPosition(6);
        dialog.moText->setTextCursor(cursor);
        dialog.StoreFields();
        dialog.btNewClick();
        dialog.neCaption->setText("If");
        dialog.moText->setPlainText("if");
        dialog.cbEnable->click();
    }
    const QByteArray expected = Bytes({2, 0, 0, 0}) + Short("Button0") + Short("Block") +
                                Short("begin end;") + Bytes({6, 1, 0, 0}) + Short("If") +
                                Short("") + Short("if") + Bytes({0, 0, 0, 0});
    EXPECT_EQ(ReadFile("MacroBtn.CDF").toHex(' ').toStdString(), expected.toHex(' ').toStdString());

    {
        TCustomButton dialog(Path("MacroBtn.CDF"));
        ASSERT_EQ(dialog.Buttons.size(), 2u);
        EXPECT_EQ(dialog.neCaption->text(), "Button0");
        EXPECT_EQ(dialog.moText->textCursor().position(), 6);
        dialog.lbButtons->SwapRows(1, 0);  // "If" dragged onto the first
        EXPECT_EQ(dialog.Buttons[0].caption, "If");
        EXPECT_EQ(dialog.lbButtons->item(0)->text(), "If");
        EXPECT_EQ(dialog.lbButtons->item(1)->text(), "Button0");
        EXPECT_FALSE(dialog.cbEnable->isChecked());
        dialog.btDeleteClick();
        dialog.btDeleteClick();
        EXPECT_EQ(dialog.Shown, -1);
        EXPECT_EQ(dialog.neCaption->text(), "");
    }
    EXPECT_EQ(ReadFile("MacroBtn.CDF"), expected);
}

TEST_F(EnvironmentTest, TruncatedMacroFileIsRejectedAndLeftAsItWas) {
    const QByteArray cut =
        Bytes({1, 0, 0, 0}) + Short("B") + Short("") + Short("x") + Bytes({0, 1});
    WriteFile("MacroBtn.CDF", cut);
    {
        TCustomButton dialog(Path("MacroBtn.CDF"));
        EXPECT_EQ(dialog.LoadError, "Invalid file format(" + Path("MacroBtn.CDF") + ")");
        EXPECT_TRUE(dialog.Buttons.empty());
    }
    EXPECT_EQ(ReadFile("MacroBtn.CDF"), cut);

    // The main window reports it once at start.
    TMainForm form;
    EXPECT_EQ(boxes.count("Invalid file format(" + Path("MacroBtn.CDF") + ")"), 1);
}

TEST_F(EnvironmentTest, PanelHoldsWidthOver79ButtonsPerRowAndSkipsHiddenOnes) {
    TCustomButton dialog(Path("MacroBtn.CDF"));
    for (int i = 0; i < 4; ++i) {
        dialog.btNewClick();
        dialog.moText->setPlainText("x");
    }
    dialog.Buttons[1].flags = 0;  // hidden: takes no place
    dialog.Buttons[2].hint = "third";
    QWidget panel;
    panel.resize(160, 300);
    std::vector<int> clicked;
    dialog.BuildPanel(&panel, [&](int index) { clicked.push_back(index); });
    auto* b0 = panel.findChild<QPushButton*>("CustSb0");
    auto* b2 = panel.findChild<QPushButton*>("CustSb2");
    auto* b3 = panel.findChild<QPushButton*>("CustSb3");
    ASSERT_TRUE(b0 && b2 && b3);
    EXPECT_FALSE(panel.findChild<QPushButton*>("CustSb1"));
    EXPECT_EQ(b0->pos(), QPoint(4, 8));
    EXPECT_EQ(b2->pos(), QPoint(79, 8));
    EXPECT_EQ(b3->pos(), QPoint(4, 33));
    EXPECT_EQ(b2->toolTip(), "third");
    b2->click();
    EXPECT_EQ(clicked, std::vector<int>({2}));

    panel.resize(78, 300);
    dialog.BuildPanel(&panel, [](int) {});
    EXPECT_EQ(panel.findChildren<QPushButton*>().size(), 3);
    EXPECT_EQ(panel.findChild<QPushButton*>("CustSb2")->pos(), QPoint(4, 33));
    EXPECT_EQ(panel.findChild<QPushButton*>("CustSb3")->pos(), QPoint(4, 58));
}

TEST_F(EnvironmentTest, MacroClickInsertsTheTextWithTheCaretAtItsOffset) {
    WriteFile("MacroBtn.CDF", Bytes({1, 0, 0, 0}) + Short("Block") + Short("") +
                                  Short("begin end;") + Bytes({6, 1, 0, 0}));
    TMainForm form;
    form.FormShow({});
    auto* button =
        Part<QWidget>(form, QStringLiteral("sbToolbars"))->findChild<QPushButton*>("CustSb0");
    ASSERT_TRUE(button);
    TCodeMemo* memo = form.ActiveEditor();
    memo->setPlainText("x := 1;\n");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(4, QTextCursor::KeepAnchor);  // "= " is replaced
    memo->setTextCursor(cursor);
    button->click();
    EXPECT_EQ(memo->toPlainText(), "x begin end; 1;\n");
    EXPECT_EQ(memo->textCursor().position(), 2 + 6);
    memo->document()->setModified(false);
}

TEST_F(EnvironmentTest, LanguageCommandGivesEveryEditorTheChosenKeywords) {
    std::string error;
    ASSERT_TRUE(WriteKeywordFile(Path("Keywords.CDF").toStdString(),
                                 {{"SQL", {"select"}}, {"Pascal", {"begin"}}}, &error));
    TMainForm form;
    form.FormShow({});
    form.NewPage();
    script.When(Part<TLanguage>(form), [&form] {
        Part<TLanguage>(form)->cbLang->setCurrentIndex(1);
        Part<TLanguage>(form)->cbLangChange();
        Part<TLanguage>(form)->btOkClick();
    });
    Command(form, "mmOLanguage")->trigger();
    EXPECT_EQ(form.Settings().Language, 1);
    for (int i = 0; i < form.PageTotal(); ++i)
        EXPECT_EQ(form.Editor(i)->Keywords(), KeywordSet({"begin"}));
    for (int i = 0; i < form.PageTotal(); ++i) form.Editor(i)->document()->setModified(false);
}

}  // namespace
}  // namespace morva::app

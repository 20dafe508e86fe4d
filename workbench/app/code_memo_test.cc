#include "workbench/app/code_memo.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <deque>
#include <utility>
#include <vector>

#include "workbench/app/highlight_classifier.h"

namespace morva::app {
namespace {

using K = TokenKind;

std::vector<HighlightToken> Classify(const char* line, const KeywordSet& keywords = {}) {
    return ClassifyLine(QString::fromUtf8(line), keywords);
}

TEST(ClassifierTest, TagsAreLookedUpUpperCasedAndColouredInside) {
    EXPECT_EQ(Classify("<tables>"), (std::vector<HighlightToken>{{1, 6, K::Structural}}));
    EXPECT_EQ(Classify("x</IF>y<T>"),
              (std::vector<HighlightToken>{{2, 3, K::Structural}, {8, 1, K::Value}}));
    EXPECT_EQ(Classify("<TABLES name>"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("<UNKNOWN>"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("<ELSEIF><elseif >"), (std::vector<HighlightToken>{{1, 6, K::Structural}}));
}

TEST(ClassifierTest, WhereTagsStart) {
    EXPECT_EQ(Classify("\\<TABLES>"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("x<TABLES>"), (std::vector<HighlightToken>{{2, 6, K::Structural}}));
    EXPECT_EQ(Classify("<<TEXT>"), (std::vector<HighlightToken>{{2, 4, K::Structural}}));
    EXPECT_EQ(Classify("a < b <TEXT"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("<TEXT"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("\\<<T>"), (std::vector<HighlightToken>{{3, 1, K::Value}}));
}

TEST(ClassifierTest, VariableTags) {
    EXPECT_EQ(Classify("<$count>"), (std::vector<HighlightToken>{{1, 6, K::Value}}));
    EXPECT_EQ(Classify("<$a_1>"), (std::vector<HighlightToken>{{1, 4, K::Value}}));
    EXPECT_EQ(Classify("<$>"), (std::vector<HighlightToken>{{1, 1, K::Value}}));
    EXPECT_EQ(Classify("<$a-b>"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("<$é>"), std::vector<HighlightToken>{});
    EXPECT_EQ(Classify("<a$b>"), std::vector<HighlightToken>{});
}

TEST(ClassifierTest, KeywordsAreExactLetterWords) {
    const KeywordSet keywords = {QStringLiteral("select"), QStringLiteral("int"),
                                 QStringLiteral("Zeta"), QStringLiteral("alpha")};
    EXPECT_EQ(Classify("select SELECT Select", keywords),
              (std::vector<HighlightToken>{{0, 6, K::Keyword}}));
    EXPECT_EQ(Classify("int32 int_x", keywords),
              (std::vector<HighlightToken>{{0, 3, K::Keyword}, {6, 3, K::Keyword}}));
    // A list sorted ignoring case ("alpha" < "Zeta") must still find both words.
    EXPECT_EQ(Classify("Zeta alpha", keywords),
              (std::vector<HighlightToken>{{0, 4, K::Keyword}, {5, 5, K::Keyword}}));
    EXPECT_EQ(Classify("int<T>", keywords),
              (std::vector<HighlightToken>{{0, 3, K::Keyword}, {4, 1, K::Value}}));
    EXPECT_EQ(Classify("xint", keywords), std::vector<HighlightToken>{});
}

// The colour of character `column` of line `line` as the highlighter left it.
QColor ColourAt(TCodeMemo& memo, int line, int column) {
    const QTextBlock block = memo.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length)
            return range.format.foreground().color();
    return QColor();
}

TEST(CodeMemoTest, ColoursTagsValuesAndKeywordsPerLine) {
    TCodeMemo memo;
    memo.SetTokenColours(Qt::red, Qt::darkGreen, Qt::blue);
    memo.SetKeywords({QStringLiteral("begin")});
    memo.setPlainText(QStringLiteral("<TABLES>\n<$v> begin\n<T\n>"));
    EXPECT_EQ(ColourAt(memo, 0, 0), QColor());  // the bracket keeps the text colour
    EXPECT_EQ(ColourAt(memo, 0, 1), QColor(Qt::red));
    EXPECT_EQ(ColourAt(memo, 1, 1), QColor(Qt::darkGreen));
    EXPECT_EQ(ColourAt(memo, 1, 5), QColor(Qt::blue));
    EXPECT_EQ(ColourAt(memo, 2, 1), QColor());  // a tag never crosses a line

    memo.SetKeywords({});
    EXPECT_EQ(ColourAt(memo, 1, 5), QColor());
    // Editing a line recolours it.
    QTextCursor cursor(memo.document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(QStringLiteral(">"));
    EXPECT_EQ(ColourAt(memo, 2, 1), QColor(Qt::darkGreen));
}

// How many pixels of the keyword colour the editor paints inside `area`.
int KeywordPixels(TCodeMemo& memo, const QRect& area) {
    const QImage image = memo.viewport()->grab().toImage();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == QColor(0, 0, 255)) ++count;
    return count;
}

TEST(CodeMemoTest, SelectedKeywordKeepsTheSelectionColours) {
    TCodeMemo memo;
    memo.resize(400, 200);
    memo.SetTokenColours(Qt::red, Qt::darkGreen, QColor(0, 0, 255));
    memo.SetKeywords({QStringLiteral("select")});
    memo.setPlainText(QStringLiteral("select x"));
    memo.show();
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(6);
    const QRect after = memo.cursorRect(cursor);
    cursor.setPosition(0);
    const QRect word(memo.cursorRect(cursor).topLeft(), after.bottomLeft());
    ASSERT_GT(word.width(), 10);
    memo.setTextCursor(cursor);
    EXPECT_GT(KeywordPixels(memo, word), 0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    EXPECT_EQ(KeywordPixels(memo, word), 0);
}

TEST(CodeMemoTest, TextBeyondSixteenBitIndexesIsColoured) {
    TCodeMemo memo;
    memo.SetTokenColours(Qt::red, Qt::darkGreen, Qt::blue);
    memo.setPlainText(QString(70000, u'x') + QStringLiteral("\n<IF>"));
    EXPECT_EQ(ColourAt(memo, 1, 1), QColor(Qt::red));
}

TEST(CodeMemoTest, EnterRepeatsTheIndentOfTheLineAbove) {
    TCodeMemo memo;
    memo.setPlainText(QStringLiteral("\t\tindented"));
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("\t\tindented\n\t\t"));
    EXPECT_EQ(memo.CaretLine(), 1);
    EXPECT_EQ(memo.CaretColumn(), 2);
    EXPECT_EQ(memo.LastKey, Qt::Key_Return);
    memo.undo();  // the line break and its indent are one step
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("\t\tindented"));

    // A blank-only line is repeated whole; a break inside a line is not indented.
    memo.setPlainText(QStringLiteral("  "));
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Enter);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("  \n  "));

    memo.AutoIndent = false;
    memo.setPlainText(QStringLiteral("\tx"));
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("\tx\n"));
}

TEST(CodeMemoTest, CaretLineAndColumnFollowTheSelectionStart) {
    TCodeMemo memo;
    memo.setPlainText(QStringLiteral("ab\ncdef\ng"));
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(7);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    EXPECT_EQ(memo.CaretLine(), 1);
    EXPECT_EQ(memo.CaretColumn(), 2);
    EXPECT_EQ(memo.LastCaretLine(), 1);
}

TEST(CodeMemoSearchTest, FindIsCaseSensitiveAndStartsAfterTheSelection) {
    TCodeMemo memo;
    memo.setPlainText(QStringLiteral("alpha beta\nBeta beta\ngamma"));
    memo.SetCaret(0);
    ASSERT_TRUE(memo.FindNext(QStringLiteral("beta")));
    EXPECT_EQ(memo.textCursor().selectionStart(), 6);
    ASSERT_TRUE(memo.FindNext(QStringLiteral("beta")));  // skips "Beta"
    EXPECT_EQ(memo.textCursor().selectionStart(), 16);
    EXPECT_FALSE(memo.FindNext(QStringLiteral("beta")));
    EXPECT_EQ(memo.textCursor().selectedText(), QStringLiteral("beta"));  // left as it was
    EXPECT_EQ(memo.textCursor().selectionStart(), 16);
}

TEST(CodeMemoSearchTest, ReplaceAllMakesOnePassAsOneUndoStep) {
    TCodeMemo memo;
    memo.setPlainText(QStringLiteral("a-a-a"));
    memo.SetCaret(0);
    // The replacement contains the searched text: each search starts behind the new text.
    EXPECT_EQ(memo.ReplaceAll(QStringLiteral("a"), QStringLiteral("aa"), {}), 3);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("aa-aa-aa"));
    memo.undo();
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("a-a-a"));

    memo.setPlainText(QStringLiteral("x1 x2 x3"));
    memo.SetCaret(0);
    std::deque<bool> answers = {true, false, true};
    const auto confirm = [&answers] {
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    };
    EXPECT_EQ(memo.ReplaceAll(QStringLiteral("x"), QStringLiteral("y"), confirm), 3);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("y1 x2 y3"));
    EXPECT_TRUE(answers.empty());
    EXPECT_FALSE(memo.ReplaceNext(QString(), QStringLiteral("y"), {}));  // nothing to find
}

TEST(CodeMemoSearchTest, GotoLineStaysInsideTheText) {
    TCodeMemo memo;
    memo.setPlainText(QStringLiteral("alpha beta\nBeta beta\ngamma"));
    for (const auto& [line, position] :
         std::vector<std::pair<int, int>>{{0, 0}, {-5, 0}, {1, 0}, {2, 11}, {3, 21}, {99, 21}}) {
        memo.SetCaret(15);
        memo.GotoLine(line);
        EXPECT_EQ(memo.textCursor().position(), position) << line;
        EXPECT_FALSE(memo.textCursor().hasSelection());
    }
}

}  // namespace
}  // namespace morva::app

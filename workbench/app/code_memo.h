#pragma once
// The editor of every page: a plain-text editor that colours the template language's tags
// and the keywords of the chosen programming language, indents a new line like the line
// above it, reports the caret's line and column, finds and replaces text, and underlines the
// lint's findings with their message as a tool tip.

#include <QList>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <functional>

#include "workbench/app/highlight_classifier.h"

namespace morva::app {

class TCodeHighlighter;

/// A lint finding as the editor shows it. `range` selects the text it is about and follows
/// edits made after the lint; line and column are where the lint found it.
struct EditorFinding {
    QTextCursor range;
    int line = 0;
    int column = 0;
    QString check;
    QString message;
};

class TCodeMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TCodeMemo(QWidget* parent = nullptr);

    /// Replaces the keyword list and recolours the text.
    void SetKeywords(const QStringList& keywords);
    const KeywordSet& Keywords() const { return keywords_; }

    /// Sets the colours of structural tags, value and variable tags, and keywords (bold).
    void SetTokenColours(const QColor& tag, const QColor& value, const QColor& keyword);
    const QTextCharFormat& TagFont() const { return tagFormat_; }
    const QTextCharFormat& ValueFont() const { return valueFormat_; }
    const QTextCharFormat& KeywordFont() const { return keywordFormat_; }

    /// When true, Enter starts the new line with the blanks and tabs that begin the line above.
    bool AutoIndent = true;
    /// The last key pressed in the editor.
    int LastKey = 0;

    /// Line of the selection start, counted from 0.
    int CaretLine();
    /// Column of the selection start in its line, counted from 0.
    int CaretColumn();
    int LastCaretLine() const { return caretLine_; }
    int LastCaretColumn() const { return caretColumn_; }

    /// Moves the caret to `position`, with an empty selection.
    void SetCaret(int position);
    /// Colours the whole document now (normally done as lines change).
    void RehighlightAll();

    /// Selects the next occurrence of `text` (letter case counts) after the selection or
    /// caret and takes the focus; false, leaving the selection, when there is none.
    bool FindNext(const QString& text);
    /// Selects the next occurrence of `find` and, unless `confirm` refuses, replaces it,
    /// leaving the caret after the new text. False when there is none.
    bool ReplaceNext(const QString& find, const QString& replace,
                     const std::function<bool()>& confirm);
    /// Replaces until `find` is no longer found after the caret, as one undo step; returns
    /// the number of occurrences met.
    int ReplaceAll(const QString& find, const QString& replace,
                   const std::function<bool()>& confirm);
    /// Moves the caret to the start of line `number` (1 the first; below it the first line,
    /// beyond the end the last) and takes the focus.
    void GotoLine(int number);

    /// Replaces the findings underlined in the text (a red wavy line).
    void SetFindings(QList<EditorFinding> findings);
    const QList<EditorFinding>& Findings() const { return findings_; }
    /// The messages of the findings whose text holds the character at `position`, one a line;
    /// empty when there is none. This is the tool tip shown there.
    QString FindingMessagesAt(int position) const;
    /// Selects the text of finding `index` and takes the focus.
    void GotoFinding(int index);

  protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void UpdateTabStops();
    void IndentNewLine();

    KeywordSet keywords_;
    QTextCharFormat tagFormat_, valueFormat_, keywordFormat_;
    TCodeHighlighter* highlighter_;
    QList<EditorFinding> findings_;
    int caretLine_ = 0;
    int caretColumn_ = 0;
};

}  // namespace morva::app

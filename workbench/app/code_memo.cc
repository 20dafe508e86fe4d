#include "workbench/app/code_memo.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QToolTip>

#include "workbench/app/code_highlighter.h"

namespace morva::app {

TCodeMemo::TCodeMemo(QWidget* parent)
    : QPlainTextEdit(parent),
      highlighter_(new TCodeHighlighter(document(), &keywords_, &tagFormat_, &valueFormat_,
                                        &keywordFormat_)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    UpdateTabStops();
}

void TCodeMemo::SetKeywords(const QStringList& keywords) {
    keywords_ = KeywordSet(keywords.begin(), keywords.end());
    highlighter_->rehighlight();
}

void TCodeMemo::SetTokenColours(const QColor& tag, const QColor& value, const QColor& keyword) {
    tagFormat_.setForeground(tag);
    valueFormat_.setForeground(value);
    keywordFormat_.setForeground(keyword);
    keywordFormat_.setFontWeight(QFont::Bold);
    highlighter_->rehighlight();
}

void TCodeMemo::RehighlightAll() {
    highlighter_->rehighlight();
}

int TCodeMemo::CaretLine() {
    const QTextCursor cursor = textCursor();
    caretLine_ = document()->findBlock(cursor.selectionStart()).blockNumber();
    return caretLine_;
}

int TCodeMemo::CaretColumn() {
    const int start = textCursor().selectionStart();
    caretColumn_ = start - document()->findBlock(start).position();
    return caretColumn_;
}

void TCodeMemo::SetCaret(int position) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(cursor);
}

bool TCodeMemo::FindNext(const QString& text) {
    const QTextCursor found =
        document()->find(text, textCursor().selectionEnd(), QTextDocument::FindCaseSensitively);
    if (found.isNull()) return false;
    setFocus();
    setTextCursor(found);
    return true;
}

bool TCodeMemo::ReplaceNext(const QString& find, const QString& replace,
                            const std::function<bool()>& confirm) {
    if (find.isEmpty() || !FindNext(find)) return false;
    if (!confirm || confirm()) {
        // The caret ends after the inserted text, so the next search starts behind it.
        QTextCursor cursor = textCursor();
        cursor.insertText(replace);
        setTextCursor(cursor);
    }
    return true;
}

int TCodeMemo::ReplaceAll(const QString& find, const QString& replace,
                          const std::function<bool()>& confirm) {
    QTextCursor group = textCursor();
    group.beginEditBlock();  // one undo step for the whole replacement
    int count = 0;
    while (ReplaceNext(find, replace, confirm)) ++count;
    group.endEditBlock();
    return count;
}

void TCodeMemo::GotoLine(int number) {
    const int lines = document()->blockCount();
    const int target = number >= lines ? lines - 1 : qMax(number - 1, 0);
    SetCaret(document()->findBlockByNumber(target).position());
    setFocus();
}

void TCodeMemo::SetFindings(QList<EditorFinding> findings) {
    findings_ = std::move(findings);
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    underline.setUnderlineColor(Qt::red);
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(findings_.size());
    for (const EditorFinding& finding : findings_) selections.append({finding.range, underline});
    setExtraSelections(selections);
}

// A finding of no length (the end of the script) holds the character before it, so that it
// can still be pointed at.
QString TCodeMemo::FindingMessagesAt(int position) const {
    QStringList messages;
    for (const EditorFinding& finding : findings_) {
        const int start = finding.range.selectionStart();
        const int end = qMax(finding.range.selectionEnd(), start + 1);
        if (position >= start && position < end) messages << finding.message;
    }
    return messages.join(u'\n');
}

void TCodeMemo::GotoFinding(int index) {
    if (index < 0 || index >= findings_.size()) return;
    const QTextCursor& range = findings_[index].range;
    QTextCursor cursor = textCursor();
    cursor.setPosition(range.selectionStart());
    cursor.setPosition(range.selectionEnd(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    setFocus();
}

bool TCodeMemo::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    // The character under the mouse: the cursor position left of its middle.
    const QTextCursor under = cursorForPosition(help->pos());
    const QRect caret = cursorRect(under);
    const int position = under.position() - (help->pos().x() < caret.center().x() ? 1 : 0);
    const QString text = FindingMessagesAt(position);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, viewport());
    }
    return true;
}

void TCodeMemo::keyPressEvent(QKeyEvent* event) {
    QPlainTextEdit::keyPressEvent(event);
    LastKey = event->key();
    const bool enter = LastKey == Qt::Key_Return || LastKey == Qt::Key_Enter;
    if (enter && event->isAccepted() && AutoIndent && !isReadOnly() && CaretColumn() == 0)
        IndentNewLine();
}

// Repeats the leading blanks and tabs of the line above the caret, as part of the same undo
// step as the line break.
void TCodeMemo::IndentNewLine() {
    QTextCursor cursor = textCursor();
    const QTextBlock above = cursor.block().previous();
    if (!above.isValid()) return;
    const QString line = above.text();
    int length = 0;
    while (length < line.size() && (line[length] == u' ' || line[length] == u'\t')) ++length;
    if (length == 0) return;
    cursor.joinPreviousEditBlock();
    cursor.insertText(line.left(length));
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void TCodeMemo::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) UpdateTabStops();
}

void TCodeMemo::UpdateTabStops() {
    setTabStopDistance(8 * fontMetrics().horizontalAdvance(u' '));
}

// Dropped files are opened by the main window, so the editor leaves them to it.
void TCodeMemo::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void TCodeMemo::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

}  // namespace morva::app

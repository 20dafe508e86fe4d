#include "workbench/app/code_highlighter.h"

namespace morva::app {

TCodeHighlighter::TCodeHighlighter(QTextDocument* document, const KeywordSet* keywords,
                                   const QTextCharFormat* tagFormat,
                                   const QTextCharFormat* valueFormat,
                                   const QTextCharFormat* keywordFormat)
    : QSyntaxHighlighter(document),
      keywords_(keywords),
      tagFormat_(tagFormat),
      valueFormat_(valueFormat),
      keywordFormat_(keywordFormat) {}

void TCodeHighlighter::highlightBlock(const QString& text) {
    for (const HighlightToken& token : ClassifyLine(text, *keywords_)) {
        const QTextCharFormat* format = token.kind == TokenKind::Structural ? tagFormat_
                                        : token.kind == TokenKind::Value    ? valueFormat_
                                                                            : keywordFormat_;
        setFormat(token.start, token.length, *format);
    }
}

}  // namespace morva::app

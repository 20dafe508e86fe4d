#pragma once
// Colours one editor document line by line with the token rules of ClassifyLine.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include "workbench/app/highlight_classifier.h"

namespace morva::app {

class TCodeHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    TCodeHighlighter(QTextDocument* document, const KeywordSet* keywords,
                     const QTextCharFormat* tagFormat, const QTextCharFormat* valueFormat,
                     const QTextCharFormat* keywordFormat);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    const KeywordSet* keywords_;
    const QTextCharFormat* tagFormat_;
    const QTextCharFormat* valueFormat_;
    const QTextCharFormat* keywordFormat_;
};

}  // namespace morva::app

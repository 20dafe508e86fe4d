#pragma once
// Finds the coloured tokens of one line of editor text: structural tags, value and variable
// tags, and keywords of the chosen programming language. Tokens never cross a line.

#include <QSet>
#include <QString>
#include <QStringView>
#include <vector>

namespace morva::app {

enum class TokenKind { Structural, Value, Keyword };

struct HighlightToken {
    int start;   ///< index in the line of the first coloured character
    int length;  ///< number of coloured characters
    TokenKind kind;
    bool operator==(const HighlightToken&) const = default;
};

/// The keywords of the chosen language; membership is exact and case-sensitive.
using KeywordSet = QSet<QString>;

/// The coloured tokens of `line`, in the order found. A tag is "<" to the next ">" on the
/// line, not preceded by "\"; a later "<" restarts it. Its whole bracket text, upper-cased,
/// must be a structural or value tag, or a variable tag ("<$" letters, digits or "_" ">");
/// only the characters between the brackets are coloured. A word is a run of the letters
/// A-Z and a-z; it is coloured when it is one of `keywords`.
std::vector<HighlightToken> ClassifyLine(QStringView line, const KeywordSet& keywords);

/// True when `tagText` (with its brackets) is a variable tag such as "<$count>" or "<$>".
bool IsVariableTag(QStringView tagText);

}  // namespace morva::app

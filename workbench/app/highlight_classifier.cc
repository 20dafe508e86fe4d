#include "workbench/app/highlight_classifier.h"

#include <algorithm>
#include <string>

#include "workbench/app/tag_tables.h"

namespace morva::app {

namespace {

bool IsLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool IsDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// The tag text upper-cased as ASCII bytes; a tag holding anything beyond ASCII is never in
// the tables, so such a tag yields an empty key.
std::string UpperAsciiKey(QStringView text) {
    std::string key;
    key.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u > 0x7F) return {};
        if (u >= 'a' && u <= 'z') u = static_cast<char16_t>(u - 'a' + 'A');
        key.push_back(static_cast<char>(u));
    }
    return key;
}

template <size_t N>
bool InTable(const std::array<std::string_view, N>& table, const std::string& key) {
    return std::binary_search(table.begin(), table.end(), std::string_view(key));
}

enum class State { Normal, InTag, InWord };

}  // namespace

bool IsVariableTag(QStringView tagText) {
    if (tagText.size() < 3 || tagText[1] != u'$') return false;
    for (qsizetype i = 2; i + 1 < tagText.size(); ++i) {
        const QChar c = tagText[i];
        if (!IsLetter(c) && !IsDigit(c) && c != u'_') return false;
    }
    return true;
}

std::vector<HighlightToken> ClassifyLine(QStringView line, const KeywordSet& keywords) {
    std::vector<HighlightToken> tokens;
    State state = State::Normal;
    int begin = 0;
    const int size = static_cast<int>(line.size());
    for (int i = 0; i <= size; ++i) {
        // The end of the line ends a word like any other non-letter; an open tag is dropped.
        const QChar c = i < size ? line[i] : QChar(u'\n');
        if (state == State::InWord) {
            if (IsLetter(c)) continue;
            const QStringView word = line.mid(begin, i - begin);
            if (keywords.contains(word.toString()))
                tokens.push_back({begin, i - begin, TokenKind::Keyword});
            state = State::Normal;
            if (c == u'<') {
                state = State::InTag;
                begin = i;
            }
        } else if (state == State::InTag) {
            if (c == u'<') {
                begin = i;
            } else if (c == u'>') {
                const std::string key = UpperAsciiKey(line.mid(begin, i - begin + 1));
                const int inner = i - begin - 1;
                if (InTable(kStructuralTags, key))
                    tokens.push_back({begin + 1, inner, TokenKind::Structural});
                else if (InTable(kValueTags, key) || IsVariableTag(line.mid(begin, i - begin + 1)))
                    tokens.push_back({begin + 1, inner, TokenKind::Value});
                state = State::Normal;
            }
        } else if (c == u'<' && (i == 0 || line[i - 1] != u'\\')) {
            state = State::InTag;
            begin = i;
        } else if (IsLetter(c)) {
            state = State::InWord;
            begin = i;
        }
    }
    return tokens;
}

}  // namespace morva::app

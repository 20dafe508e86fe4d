#include "sqlcompiler/keywords.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "component/text_util.h"
#include "sql_parser.hh"
#include "sqlcompiler/keyword_list.h"

namespace morva::sql {
namespace {

constexpr Keyword kKeywords[] = {
#define MORVA_KEYWORD_ROW(spelling, token) {spelling, token},
    MORVA_SQL_KEYWORDS(MORVA_KEYWORD_ROW)
#undef MORVA_KEYWORD_ROW
};

// The grammar numbers its keyword tokens in the order it declares them, KW_ADD first and
// KW_VARYING last; each of them must have a spelling, or the parser waits for a token that the
// scanner never delivers.
constexpr bool EveryKeywordTokenSpelled() {
    for (int token = KW_ADD; token <= KW_VARYING; ++token) {
        bool spelled = false;
        for (const Keyword& k : kKeywords) spelled = spelled || k.token == token;
        if (!spelled) return false;
    }
    return true;
}
static_assert(std::size(kKeywords) == 48, "the keyword spellings are a fixed set");
static_assert(EveryKeywordTokenSpelled(), "a keyword token of the grammar has no spelling");

static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords),
                             [](const Keyword& a, const Keyword& b) {
                                 return a.spelling < b.spelling;
                             }),
              "the keyword table must stay sorted: the spellings of a letter are one range");

// The longest spelling: a longer word is no keyword and needs no look-up.
constexpr size_t kLongest = [] {
    size_t n = 0;
    for (const Keyword& k : kKeywords) n = std::max(n, k.spelling.size());
    return n;
}();

// The spellings of each first letter, a range of the sorted table: a look-up compares a word
// with the few spellings of its letter only, as the scanner looks up every word of a script.
struct LetterRange {
    size_t begin = 0;
    size_t end = 0;
};
constexpr std::array<LetterRange, 26> kByLetter = [] {
    std::array<LetterRange, 26> ranges{};
    for (size_t i = 0; i < std::size(kKeywords); ++i) {
        LetterRange& r = ranges[static_cast<size_t>(kKeywords[i].spelling[0] - 'A')];
        if (r.begin == r.end) r.begin = i;
        r.end = i + 1;
    }
    return ranges;
}();

constexpr bool EverySpellingStartsWithALetter() {
    for (const Keyword& k : kKeywords)
        if (k.spelling.empty() || k.spelling[0] < 'A' || k.spelling[0] > 'Z') return false;
    return true;
}
static_assert(EverySpellingStartsWithALetter(), "the letter ranges need upper-case spellings");

}  // namespace

std::span<const Keyword> Keywords() {
    return kKeywords;
}

int LookupKeyword(std::string_view upper) {
    if (upper.empty() || upper.size() > kLongest || upper[0] < 'A' || upper[0] > 'Z') return 0;
    LetterRange letter = kByLetter[static_cast<size_t>(upper[0] - 'A')];
    for (size_t i = letter.begin; i < letter.end; ++i)
        if (kKeywords[i].spelling == upper) return kKeywords[i].token;
    return 0;
}

int LookupKeywordIgnoringCase(std::string_view word) {
    if (word.size() > kLongest) return 0;
    char upper[kLongest];
    for (size_t i = 0; i < word.size(); ++i) upper[i] = com::UpperAsciiChar(word[i]);
    return LookupKeyword(std::string_view(upper, word.size()));
}

}  // namespace morva::sql

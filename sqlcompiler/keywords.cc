#include "sqlcompiler/keywords.h"

#include <algorithm>
#include <iterator>

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
              "the keyword table must stay sorted for the binary search");

}  // namespace

std::span<const Keyword> Keywords() {
    return kKeywords;
}

int LookupKeyword(std::string_view upper) {
    auto it = std::lower_bound(std::begin(kKeywords), std::end(kKeywords), upper,
                               [](const Keyword& k, std::string_view w) { return k.spelling < w; });
    return it != std::end(kKeywords) && it->spelling == upper ? it->token : 0;
}

}  // namespace morva::sql

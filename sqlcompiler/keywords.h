#pragma once
// The SQL keyword table: 48 spellings for 46 keywords, sorted by byte value.

#include <span>
#include <string_view>

namespace morva::sql {

struct Keyword {
    std::string_view spelling;
    int token;  // the parser's token code
};

/// Every keyword spelling in byte order.
std::span<const Keyword> Keywords();
/// The token of the upper-case word `upper`, or 0 when it is no keyword.
int LookupKeyword(std::string_view upper);
/// The token of `word` in any ASCII letter case, or 0 when it is no keyword.
int LookupKeywordIgnoringCase(std::string_view word);

}  // namespace morva::sql

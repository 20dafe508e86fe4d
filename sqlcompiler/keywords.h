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
/// The token of the upper-case word `upper`, or 0 when it is no keyword (binary search).
int LookupKeyword(std::string_view upper);

}  // namespace morva::sql

#pragma once
// The type vocabulary of the tolerant reader: how each dialect's spelling of a data type maps
// to one canonical name, and what its parenthesised numbers mean.

#include <string_view>

namespace morva::sql {

/// What the numbers after a type name set.
enum class TypeArgs {
    kNone,       // ignored (display widths, fractional seconds)
    kSize,       // length [, scale]
    kPrecision,  // precision [, scale]
};

struct TypeSpelling {
    std::string_view spelling;   // upper case; several words joined by one space
    std::string_view canonical;  // the data type the model records
    TypeArgs args;
    int defaultLength;  // length when none is written (CHAR is CHAR(1))
};

/// The row of the upper-case spelling `upper` (words joined by one space), or null.
const TypeSpelling* LookupType(std::string_view upper);
/// Whether some spelling of more than one word starts with the words of `upper`.
bool TypeContinues(std::string_view upper);

}  // namespace morva::sql

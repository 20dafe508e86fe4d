#pragma once
// The tag vocabulary of the template language: one table of spelling, code and role from which
// the scanner's look-up, the program dump and the editor's colouring are made.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace morva::tpx {

/// Token and operation codes that are not tags of their own.
enum TokenCode : int32_t {
    kSymbol = 257,
    kChar = 258,
    kText = 259,
    kNumber = 260,
    kAssign = 299,  // "=" as compiled
    kLeftParen = 300,
    kRightParen = 301,
    kEqual = 302,
    kNotEqual = 303,
    kGreater = 304,
    kGreaterEqual = 305,
    kLess = 306,
    kLessEqual = 307,
    kOr = 308,
    kAnd = 309,
    kPlus = 310,
    kMinus = 311,
    kMultiply = 312,
    kDivide = 313,
    kModulo = 314,
    kUnaryMinus = 315,
    kEndStatement = 331,
    kIncrement = 332,
    kDecrement = 333,
    kPlusAssign = 334,
    kMinusAssign = 335,
    kMultiplyAssign = 336,
    kDivideAssign = 337,
    kModuloAssign = 338,
    kRun = 384,  // a run of plain body text, from the scanner to the parser only
};

/// What a tag does in a script.
enum class TagRole {
    Body,       // start or end of the script body
    Loop,       // opens or closes a loop over the database description
    Block,      // IF, EXPR, VAR and their parts
    File,       // output file handling
    Padding,    // padding mode for the values that follow
    Separator,  // separator block dropped after a loop's last element
    Operator,   // condition operator
    Value,      // inserts a text value
    Number,     // inserts a numeric value
};

struct TagInfo {
    std::string_view spelling;  // upper case, with angle brackets
    int32_t code;
    TagRole role;
};

/// Every tag spelling (94), sorted byte-wise by spelling.
std::span<const TagInfo> TagTable();

/// The tag spelled `spelling`, ignoring the case of ASCII letters, or null.
const TagInfo* FindTag(std::string_view spelling);

/// The role of tag `code`, or null for a code that is not a tag.
std::optional<TagRole> RoleOf(int32_t code);

/// The first spelling of tag `code`, or of an operator ("==", "+=", ...), or null for a code
/// that has none. Codes without spelling of their own get a descriptive name ("SYMBOL",
/// "UMINUS", "EOS", ...).
const char* CodeName(int32_t code);

}  // namespace morva::tpx

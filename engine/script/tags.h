#pragma once
// The tag vocabulary of the template language: the named codes, and the table of spelling, code
// and role from which the scanner's look-up, the program dump and the editor's colouring are
// made, all expanded from the one list in tag_list.h.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace morva::tpx {

/// Token and operation codes that are not tags of their own: kSymbol, kPlus, ...
enum TokenCode : int32_t {
#define MORVA_TOKEN(name, parserToken, dumpName, code) k##name = code,
#include "engine/script/tag_list.h"
};

/// The tag codes, named as the tags are spelled: tag::TABLES, tag::ENDTABLES (</TABLES>), ...
namespace tag {
enum Code : int32_t {
#define MORVA_RESERVED(name, dumpName, code) name = code,
#define MORVA_TAG(name, spelling, code, role) name = code,
#include "engine/script/tag_list.h"
};
}  // namespace tag

/// What a tag does in a script.
enum class TagRole {
    Body,       // start or end of the script body
    Loop,       // opens or closes a loop over the database description
    Block,      // IF, EXPR, VAR and their parts
    File,       // output file handling
    Padding,    // padding mode for the values that follow
    Mode,       // how the values that follow are written: letter case, escaping, reserved words
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

/// Every tag spelling, sorted byte-wise by spelling.
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

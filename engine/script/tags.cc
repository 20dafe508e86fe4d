#include "engine/script/tags.h"

#include <algorithm>
#include <array>

namespace morva::tpx {

namespace {

using R = TagRole;

// Kept sorted byte-wise by spelling ("/" sorts before letters), so that a code's first spelling
// is always the same one; a test checks the order.
constexpr std::array<TagInfo, 94> kTags{{
    {"</COLUMNS>", 273, R::Loop},
    {"</CREATE>", 266, R::File},
    {"</EL>", 346, R::Separator},
    {"</ELC>", 348, R::Separator},
    {"</ELLI>", 358, R::Separator},
    {"</ELR>", 352, R::Separator},
    {"</ELRC>", 354, R::Separator},
    {"</ELRT>", 356, R::Separator},
    {"</ELT>", 350, R::Separator},
    {"</EXPR>", 275, R::Block},
    {"</IF>", 268, R::Block},
    {"</LOOKUPITEMS>", 366, R::Loop},
    {"</REFCOLUMNS>", 326, R::Loop},
    {"</REFTABLES>", 324, R::Loop},
    {"</TABLES>", 264, R::Loop},
    {"</TEXT>", 262, R::Body},
    {"</VAR>", 285, R::Block},
    {"<C>", 277, R::Value},
    {"<CENTER>", 296, R::Padding},
    {"<CLOSE>", 316, R::File},
    {"<CLOSEASDFM>", 317, R::File},
    {"<COLUMNS>", 272, R::Loop},
    {"<COUNT>", 289, R::Number},
    {"<CREATE>", 265, R::File},
    {"<D>", 279, R::Value},
    {"<DASDELPHI>", 372, R::Value},
    {"<DATABASE>", 286, R::Value},
    {"<DISPSIZE>", 381, R::Number},
    {"<EL>", 345, R::Separator},
    {"<ELC>", 347, R::Separator},
    {"<ELIF>", 271, R::Block},
    {"<ELLI>", 357, R::Separator},
    {"<ELR>", 351, R::Separator},
    {"<ELRC>", 353, R::Separator},
    {"<ELRT>", 355, R::Separator},
    {"<ELSE>", 270, R::Block},
    {"<ELSEIF>", 271, R::Block},
    {"<ELT>", 349, R::Separator},
    {"<EXPR>", 274, R::Block},
    {"<FOREIGNKEY>", 329, R::Value},
    {"<IF>", 267, R::Block},
    {"<IN>", 298, R::Operator},
    {"<ISFOREIGNKEY>", 382, R::Number},
    {"<ISKEY>", 281, R::Number},
    {"<ISLOOKUP>", 359, R::Number},
    {"<ISLOOKUPBYITEMS>", 361, R::Number},
    {"<ISLOOKUPBYTABLE>", 362, R::Number},
    {"<ISNOTFOREIGNKEY>", 383, R::Number},
    {"<ISNOTKEY>", 330, R::Number},
    {"<ISNOTLOOKUP>", 360, R::Number},
    {"<ISNOTPROCESSED>", 344, R::Number},
    {"<ISNOTREADONLY>", 371, R::Number},
    {"<ISPROCESSED>", 343, R::Number},
    {"<ISREADONLY>", 370, R::Number},
    {"<KEYCOUNT>", 290, R::Number},
    {"<L>", 278, R::Value},
    {"<LEFT>", 294, R::Padding},
    {"<LOOKUPC>", 363, R::Value},
    {"<LOOKUPITEM>", 364, R::Value},
    {"<LOOKUPITEMS>", 365, R::Loop},
    {"<LOOKUPKEY>", 367, R::Value},
    {"<LOOKUPL>", 368, R::Value},
    {"<LOOKUPT>", 369, R::Value},
    {"<MAXLABELLEN>", 292, R::Number},
    {"<MAXNAMELEN>", 291, R::Number},
    {"<MAXSIZELEN>", 293, R::Number},
    {"<NORMAL>", 297, R::Padding},
    {"<NOTIN>", 375, R::Operator},
    {"<P>", 282, R::Number},
    {"<REFC>", 327, R::Value},
    {"<REFCOLUMNS>", 325, R::Loop},
    {"<REFT>", 328, R::Value},
    {"<REFTABLES>", 323, R::Loop},
    {"<RIGHT>", 295, R::Padding},
    {"<S>", 340, R::Value},
    {"<SCALE>", 283, R::Number},
    {"<SIZE>", 280, R::Number},
    {"<SIZEOFC>", 378, R::Number},
    {"<SIZEOFD>", 380, R::Number},
    {"<SIZEOFL>", 379, R::Number},
    {"<SIZEOFT>", 376, R::Number},
    {"<SIZEOFTL>", 377, R::Number},
    {"<SL>", 342, R::Value},
    {"<STYPE>", 341, R::Value},
    {"<T>", 276, R::Value},
    {"<TABLES>", 263, R::Loop},
    {"<TCOUNT>", 288, R::Number},
    {"<TEXT>", 261, R::Body},
    {"<THEN>", 269, R::Block},
    {"<TKEYCOUNT>", 339, R::Number},
    {"<TL>", 319, R::Value},
    {"<TTYPE>", 318, R::Value},
    {"<TYPE>", 320, R::Value},
    {"<VAR>", 284, R::Block},
}};

// The look-up: an open-addressing hash table over the upper-cased spellings, built at compile
// time. The scanner looks up every tag-shaped word, so this is on the compiler's hot path.
constexpr size_t kSlots = 256;  // a power of two, well above the number of spellings

constexpr unsigned char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A')
                                : static_cast<unsigned char>(c);
}

constexpr size_t SlotOf(std::string_view spelling) {
    uint32_t h = static_cast<uint32_t>(spelling.size());
    for (char c : spelling) h = h * 31 + UpperAscii(c);
    return h & (kSlots - 1);
}

constexpr size_t LongestSpelling() {
    size_t longest = 0;
    for (const TagInfo& t : kTags) longest = std::max(longest, t.spelling.size());
    return longest;
}

constexpr size_t kLongestSpelling = LongestSpelling();

// Slot contents: 1 + the index of a spelling in kTags, or 0 for a free slot.
constexpr std::array<uint8_t, kSlots> BuildSlots() {
    std::array<uint8_t, kSlots> slots{};
    for (size_t i = 0; i < kTags.size(); ++i) {
        size_t k = SlotOf(kTags[i].spelling);
        while (slots[k] != 0) k = (k + 1) & (kSlots - 1);
        slots[k] = static_cast<uint8_t>(i + 1);
    }
    return slots;
}

constexpr std::array<uint8_t, kSlots> kSlotTable = BuildSlots();
static_assert(kTags.size() < kSlots / 2 && kTags.size() < 255);

bool SameSpelling(std::string_view upper, std::string_view text) {
    if (upper.size() != text.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (UpperAscii(text[i]) != static_cast<unsigned char>(upper[i])) return false;
    }
    return true;
}

// Roles by code: every tag code lies below kCodes.
constexpr int32_t kCodes = 512;

constexpr std::array<int8_t, kCodes> BuildRoles() {
    std::array<int8_t, kCodes> roles{};
    roles.fill(-1);
    for (const TagInfo& t : kTags) roles[static_cast<size_t>(t.code)] = static_cast<int8_t>(t.role);
    return roles;
}

constexpr std::array<int8_t, kCodes> kRoles = BuildRoles();

struct CodeSpelling {
    int32_t code;
    const char* name;
};

constexpr CodeSpelling kOtherCodes[] = {
    {kSymbol, "SYMBOL"},    {kChar, "CHAR"},       {kText, "TEXT"},
    {kNumber, "NUMBER"},    {kAssign, "="},        {kLeftParen, "("},
    {kRightParen, ")"},     {kEqual, "=="},        {kNotEqual, "!="},
    {kGreater, ">"},        {kGreaterEqual, ">="}, {kLess, "<"},
    {kLessEqual, "<="},     {kOr, "||"},           {kAnd, "&&"},
    {kPlus, "+"},           {kMinus, "-"},         {kMultiply, "*"},
    {kDivide, "/"},         {kModulo, "%"},        {kUnaryMinus, "UMINUS"},
    {kEndStatement, "EOS"}, {kIncrement, "++"},    {kDecrement, "--"},
    {kPlusAssign, "+="},    {kMinusAssign, "-="},  {kMultiplyAssign, "*="},
    {kDivideAssign, "/="},  {kModuloAssign, "%="}, {287, "<ROOMNAME>"},
    {321, "<ROOMTYPE>"},    {322, "<ROOMLABEL>"},  {373, "<RESERVED373>"},
    {374, "<RESERVED374>"},
};

}  // namespace

std::span<const TagInfo> TagTable() {
    return kTags;
}

const TagInfo* FindTag(std::string_view spelling) {
    if (spelling.size() > kLongestSpelling) return nullptr;
    for (size_t k = SlotOf(spelling); kSlotTable[k] != 0; k = (k + 1) & (kSlots - 1)) {
        const TagInfo& tag = kTags[kSlotTable[k] - 1];
        if (SameSpelling(tag.spelling, spelling)) return &tag;
    }
    return nullptr;
}

std::optional<TagRole> RoleOf(int32_t code) {
    if (code < 0 || code >= kCodes || kRoles[static_cast<size_t>(code)] < 0) return std::nullopt;
    return static_cast<TagRole>(kRoles[static_cast<size_t>(code)]);
}

const char* CodeName(int32_t code) {
    // <ELIF> and <ELSEIF> share a code; the dump names it by the longer spelling.
    if (code == 271) return "<ELSEIF>";
    for (const TagInfo& t : kTags) {
        if (t.code == code) return t.spelling.data();
    }
    for (const CodeSpelling& c : kOtherCodes) {
        if (c.code == code) return c.name;
    }
    return nullptr;
}

}  // namespace morva::tpx

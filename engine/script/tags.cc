#include "engine/script/tags.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace morva::tpx {

namespace {

using R = TagRole;

// Sorted as the list is; a test checks the order.
constexpr auto kTags = std::to_array<TagInfo>({
#define MORVA_TAG(name, spelling, code, role) {spelling, code, R::role},
#define MORVA_TAG_ALIAS(spelling, name, role) {spelling, tag::name, R::role},
#include "engine/script/tag_list.h"
});

// Each code's own spelling, without the aliases: the names the dump uses.
struct CodeSpelling {
    int32_t code;
    const char* name;
};

constexpr CodeSpelling kCodeNames[] = {
#define MORVA_TOKEN(name, parserToken, dumpName, code) {code, dumpName},
#define MORVA_RESERVED(name, dumpName, code) {code, dumpName},
#define MORVA_TAG(name, spelling, code, role) {code, spelling},
#include "engine/script/tag_list.h"
};

// A code given twice in the list would reach the parser as the wrong token.
constexpr bool CodesAreUnique() {
    for (size_t i = 0; i < std::size(kCodeNames); ++i) {
        for (size_t j = i + 1; j < std::size(kCodeNames); ++j) {
            if (kCodeNames[i].code == kCodeNames[j].code) return false;
        }
    }
    return true;
}
static_assert(CodesAreUnique());

// The look-up: an open-addressing hash table over the upper-cased spellings, built at compile
// time. The scanner looks up every tag-shaped word, so this is on the compiler's hot path.
constexpr size_t kSlots = 512;  // a power of two, well above the number of spellings

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

// Roles by code: every tag code lies below kCodes.
constexpr int32_t kCodes = 512;

constexpr std::array<int8_t, kCodes> BuildRoles() {
    std::array<int8_t, kCodes> roles{};
    roles.fill(-1);
    for (const TagInfo& t : kTags) roles[static_cast<size_t>(t.code)] = static_cast<int8_t>(t.role);
    return roles;
}

constexpr std::array<int8_t, kCodes> kRoles = BuildRoles();

}  // namespace

std::span<const TagInfo> TagTable() {
    return kTags;
}

const TagInfo* FindTag(std::string_view spelling) {
    size_t n = spelling.size();
    if (n > kLongestSpelling) return nullptr;
    // One pass upper-cases and hashes the text, so each probe compares plain bytes.
    char upper[kLongestSpelling];
    uint32_t h = static_cast<uint32_t>(n);
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = UpperAscii(spelling[i]);
        upper[i] = static_cast<char>(c);
        h = h * 31 + c;
    }
    for (size_t k = h & (kSlots - 1); kSlotTable[k] != 0; k = (k + 1) & (kSlots - 1)) {
        const TagInfo& tag = kTags[kSlotTable[k] - 1];
        if (tag.spelling.size() == n && std::memcmp(tag.spelling.data(), upper, n) == 0)
            return &tag;
    }
    return nullptr;
}

std::optional<TagRole> RoleOf(int32_t code) {
    if (code < 0 || code >= kCodes || kRoles[static_cast<size_t>(code)] < 0) return std::nullopt;
    return static_cast<TagRole>(kRoles[static_cast<size_t>(code)]);
}

const char* CodeName(int32_t code) {
    for (const CodeSpelling& c : kCodeNames) {
        if (c.code == code) return c.name;
    }
    return nullptr;
}

}  // namespace morva::tpx

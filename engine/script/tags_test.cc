#include "engine/script/tags.h"

#include <gtest/gtest.h>

#include <set>

namespace morva::tpx {
namespace {

TEST(TagTableTest, HoldsEverySpellingSortedAndFindsEach) {
    auto tags = TagTable();
    ASSERT_EQ(tags.size(), 121u);
    for (size_t i = 1; i < tags.size(); ++i) {
        EXPECT_LT(tags[i - 1].spelling, tags[i].spelling) << tags[i].spelling;
    }
    for (const TagInfo& t : tags) {
        const TagInfo* found = FindTag(t.spelling);
        ASSERT_NE(found, nullptr) << t.spelling;
        EXPECT_EQ(found, &t);
    }
}

TEST(TagTableTest, CodesAreTheTokenCodes) {
    EXPECT_EQ(FindTag("<TEXT>")->code, 261);
    EXPECT_EQ(FindTag("<ELIF>")->code, FindTag("<ELSEIF>")->code);
    EXPECT_EQ(FindTag("<ISNOTFOREIGNKEY>")->code, 383);
    EXPECT_EQ(FindTag("<TEXTS>"), nullptr);
    EXPECT_EQ(FindTag("<tExt>")->code, 261);
    EXPECT_EQ(FindTag("<TEXT"), nullptr);
    EXPECT_EQ(FindTag("<ISNOTFOREIGNKEYS>"), nullptr);  // longer than any tag
    EXPECT_EQ(FindTag(""), nullptr);
    std::set<int32_t> reserved{287, 321, 322, 373, 374};
    for (const TagInfo& t : TagTable()) EXPECT_FALSE(reserved.count(t.code)) << t.spelling;
}

TEST(TagTableTest, NamesEveryCode) {
    for (int32_t code = 257; code <= 411; ++code) {
        if (code == kRun) continue;  // the scanner's own token, never in a program
        EXPECT_NE(CodeName(code), nullptr) << code;
    }
    EXPECT_STREQ(CodeName(271), "<ELSEIF>");
    EXPECT_STREQ(CodeName(334), "+=");
}

}  // namespace
}  // namespace morva::tpx

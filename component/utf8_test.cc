#include "component/utf8.h"

#include <gtest/gtest.h>

namespace morva::com {
namespace {

TEST(Utf8Test, CutNeverSplitsASequence) {
    // "Größe": G r [C3 B6] [C3 9F] e
    std::string_view text =
        "Gr\xC3\xB6\xC3\x9F"
        "e";
    EXPECT_EQ(CutUtf8(text, 100), text);
    EXPECT_EQ(CutUtf8(text, 3), "Gr");
    EXPECT_EQ(CutUtf8(text, 4), "Gr\xC3\xB6");
    EXPECT_EQ(CutUtf8(text, 5), "Gr\xC3\xB6");
    EXPECT_EQ(CutUtf8(text, 0), "");
}

TEST(Utf8Test, CountsCharactersNotBytes) {
    EXPECT_EQ(CountCodePoints("Gr\xC3\xB6\xC3\x9F"
                              "e"),
              5u);
    EXPECT_EQ(CountCodePoints("plain ascii"), 11u);
    EXPECT_EQ(CountCodePoints("\xE2\x82\xAC"), 1u);       // a three-byte sequence
    EXPECT_EQ(CountCodePoints("\x80\x80"), 0u);           // stray continuation bytes
    EXPECT_EQ(CountCodePoints("\xF0\x9F\x98\x80x"), 2u);  // four bytes, then ASCII
}

}  // namespace
}  // namespace morva::com

#include "component/binary_fields.h"

#include <gtest/gtest.h>

namespace morva::com {
namespace {

TEST(BinaryFieldsTest, FieldsAreLittleEndianAndReadBack) {
    FieldWriter w;
    w.Int32(-2);
    w.Unsigned(0x0102, 2);
    w.Byte(7);
    w.ShortString("ab");
    w.Unsigned(0x0807060504030201, 8);
    const std::string bytes = w.Take();
    EXPECT_EQ(bytes.substr(0, 10), std::string("\xFE\xFF\xFF\xFF\x02\x01\x07\x02"
                                               "ab",
                                               10));

    FieldReader r(bytes);
    int32_t i = 0;
    uint64_t u = 0, big = 0;
    uint8_t b = 0;
    std::string s;
    ASSERT_TRUE(r.Int32(&i) && r.Unsigned(2, &u) && r.Byte(&b) && r.ShortString(&s) &&
                r.Unsigned(8, &big));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(u, 0x0102u);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(s, "ab");
    EXPECT_EQ(big, 0x0807060504030201u);
    EXPECT_TRUE(r.AtEnd());
}

// Every prefix of a record fails somewhere, and once failed the reader takes nothing more,
// even where the bytes left would hold the field.
TEST(BinaryFieldsTest, EveryTruncatedPrefixFailsAndTheFailureLatches) {
    FieldWriter w;
    w.Int32(5);
    w.ShortString("hello");
    w.Int32(9);
    const std::string bytes = w.Take();
    for (size_t n = 0; n < bytes.size(); ++n) {
        FieldReader r(std::string_view(bytes).substr(0, n));
        int32_t a = 0, c = 0;
        std::string s;
        EXPECT_FALSE(r.Int32(&a) && r.ShortString(&s) && r.Int32(&c)) << n;
        EXPECT_TRUE(r.failed()) << n;
    }
    const std::string shortText("\x09hi\x01\x02\x03\x04", 7);
    FieldReader r(shortText);
    std::string s;
    int32_t v = 0;
    EXPECT_FALSE(r.ShortString(&s));  // announces 9 bytes, 6 follow
    EXPECT_FALSE(r.Int32(&v));        // 6 bytes would hold it, but the reader has failed
    EXPECT_EQ(r.position(), 1u);

    const std::string minusOne(4, '\xFF');
    FieldReader negative(minusOne);
    EXPECT_FALSE(negative.Count(&v));
    EXPECT_TRUE(negative.failed());
}

TEST(BinaryFieldsTest, ShortStringsAreCutWithoutSplittingACharacter) {
    const std::string text = std::string(254, 'a') + "\xC3\xA9" + "z";
    EXPECT_EQ(CutShortString(text), std::string(254, 'a'));
    EXPECT_EQ(CutShortString(std::string(300, 'x')), std::string(255, 'x'));
    FieldWriter w;
    w.ShortString(text);
    EXPECT_EQ(w.bytes(), std::string(1, static_cast<char>(254)) + std::string(254, 'a'));
}

}  // namespace
}  // namespace morva::com

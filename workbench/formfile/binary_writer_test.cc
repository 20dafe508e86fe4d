// The binary form stream written for each kind of value, byte for byte.

#include "workbench/formfile/binary_writer.h"

#include <gtest/gtest.h>

#include "workbench/formfile/characters.h"
#include "workbench/formfile/formfile.h"

namespace morva::formfile {
namespace {

// A value of `kind` with one field set by `fill`.
template <typename Fill>
Value Make(ValueKind kind, Fill fill) {
    Value v;
    v.kind = kind;
    fill(v);
    return v;
}

using namespace std::string_literals;

// The stream of "object A: T" with the one property P = `value`.
std::string Encode(const std::string& value) {
    std::string binary, error;
    std::string text = "object A: T\n  P = " + value + "\nend\n";
    EXPECT_TRUE(TextToBinary(text, ResourceHeader::kOmit, &binary, &error))
        << value << ": " << error;
    return binary;
}

// The expected stream around the encoded value of P.
std::string Stream(const std::string& valueBytes) {
    return "TPF0\x01T\x01"
           "A\x01P"s +
           valueBytes + "\0\0"s;
}

TEST(BinaryWriterTest, IntegersTakeTheSmallestEncoding) {
    EXPECT_EQ(Encode("0"), Stream("\x02\x00"s));
    EXPECT_EQ(Encode("127"), Stream("\x02\x7F"s));
    EXPECT_EQ(Encode("-128"), Stream("\x02\x80"s));
    EXPECT_EQ(Encode("128"), Stream("\x03\x80\x00"s));
    EXPECT_EQ(Encode("-129"), Stream("\x03\x7F\xFF"s));
    EXPECT_EQ(Encode("32767"), Stream("\x03\xFF\x7F"s));
    EXPECT_EQ(Encode("-32768"), Stream("\x03\x00\x80"s));
    EXPECT_EQ(Encode("32768"), Stream("\x04\x00\x80\x00\x00"s));
    EXPECT_EQ(Encode("-32769"), Stream("\x04\xFF\x7F\xFF\xFF"s));
    EXPECT_EQ(Encode("2147483647"), Stream("\x04\xFF\xFF\xFF\x7F"s));
    EXPECT_EQ(Encode("-2147483648"), Stream("\x04\x00\x00\x00\x80"s));
    EXPECT_EQ(Encode("2147483648"), Stream("\x13\x00\x00\x00\x80\x00\x00\x00\x00"s));
    EXPECT_EQ(Encode("-2147483649"), Stream("\x13\xFF\xFF\xFF\x7F\xFF\xFF\xFF\xFF"s));
    EXPECT_EQ(Encode("9223372036854775807"), Stream("\x13\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F"s));
    EXPECT_EQ(Encode("-9223372036854775808"), Stream("\x13\x00\x00\x00\x00\x00\x00\x00\x80"s));
}

TEST(BinaryWriterTest, HexadecimalIntegers) {
    EXPECT_EQ(Encode("$FF"), Stream("\x03\xFF\x00"s));
    EXPECT_EQ(Encode("$7fffffff"), Stream("\x04\xFF\xFF\xFF\x7F"s));
    EXPECT_EQ(Encode("$FFFFFFFF"), Stream("\x13\xFF\xFF\xFF\xFF\x00\x00\x00\x00"s));
    EXPECT_EQ(Encode("$FFFFFFFFFFFFFFFF"), Stream("\x02\xFF"s));  // all 64 bits: -1
    EXPECT_EQ(Encode("-$10"), Stream("\x02\xF0"s));
}

TEST(BinaryWriterTest, FloatingPointKinds) {
    EXPECT_EQ(Encode("1.5"), Stream("\x05\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F"s));
    EXPECT_EQ(Encode("-2.0"), Stream("\x05\x00\x00\x00\x00\x00\x00\x00\x80\x00\xC0"s));
    EXPECT_EQ(Encode("0.0"), Stream("\x05" + std::string(10, '\0')));
    EXPECT_EQ(Encode("1e3"), Stream("\x05\x00\x00\x00\x00\x00\x00\x00\xFA\x08\x40"s));
    EXPECT_EQ(Encode("1.5s"), Stream("\x0F\x00\x00\xC0\x3F"s));
    EXPECT_EQ(Encode("2S"), Stream("\x0F\x00\x00\x00\x40"s));
    EXPECT_EQ(Encode("36526d"), Stream("\x11\x00\x00\x00\x00\xC0\xD5\xE1\x40"s));
    // The text of a currency value is the stored integer: the value times 10000.
    EXPECT_EQ(Encode("15000c"), Stream("\x10\x98\x3A\x00\x00\x00\x00\x00\x00"s));
    EXPECT_EQ(Encode("-1.4C"), Stream("\x10\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s));
}

TEST(BinaryWriterTest, ShortAndLongStrings) {
    EXPECT_EQ(Encode("''"), Stream("\x06\x00"s));
    EXPECT_EQ(Encode("'abc'"), Stream("\x06\x03"
                                      "abc"s));
    EXPECT_EQ(Encode("'Don''t'"), Stream("\x06\x05"
                                         "Don't"s));
    EXPECT_EQ(Encode("'a'#13#10'b'"), Stream("\x06\x04"
                                             "a\r\nb"s));
    EXPECT_EQ(Encode("#$41#0"), Stream("\x06\x02"
                                       "A\0"s));
    EXPECT_EQ(Encode("'ab' +\n    'cd'"), Stream("\x06\x04"
                                                 "abcd"s));
    std::string s255(255, 'x'), s256(256, 'x');
    EXPECT_EQ(Encode("'" + s255 + "'"), Stream("\x06\xFF" + s255));
    EXPECT_EQ(Encode("'" + s256 + "'"), Stream("\x0C\x00\x01\x00\x00"s + s256));
}

TEST(BinaryWriterTest, CharactersBeyondOneByte) {
    // Non-ASCII text is stored as UTF-8, whether written literally or as a character code.
    EXPECT_EQ(Encode("'ö'"), Stream("\x14\x02\x00\x00\x00\xC3\xB6"s));
    EXPECT_EQ(Encode("#246"), Stream("\x14\x02\x00\x00\x00\xC3\xB6"s));
    // A UTF-16 surrogate pair written as two codes is one character.
    EXPECT_EQ(Encode("#55357#56832"), Stream("\x14\x04\x00\x00\x00\xF0\x9F\x98\x80"s));
    // A lone surrogate cannot be UTF-8, so the string is stored as UTF-16.
    EXPECT_EQ(Encode("'a'#55357"), Stream("\x12\x02\x00\x00\x00"
                                          "a\x00\x3D\xD8"s));
}

TEST(BinaryWriterTest, IdentifiersAndConstants) {
    EXPECT_EQ(Encode("alClient"), Stream("\x07\x08"
                                         "alClient"s));
    EXPECT_EQ(Encode("DM.Table1"), Stream("\x07\x09"
                                          "DM.Table1"s));
    EXPECT_EQ(Encode("False"), Stream("\x08"s));
    EXPECT_EQ(Encode("TRUE"), Stream("\x09"s));
    EXPECT_EQ(Encode("nil"), Stream("\x0D"s));
    EXPECT_EQ(Encode("Null"), Stream("\x00"s));
}

TEST(BinaryWriterTest, StructuredValues) {
    EXPECT_EQ(Encode("{}"), Stream("\x0A\x00\x00\x00\x00"s));
    EXPECT_EQ(Encode("{\n  0a1B\n  FF}"), Stream("\x0A\x03\x00\x00\x00\x0A\x1B\xFF"s));
    EXPECT_EQ(Encode("[]"), Stream("\x0B\x00"s));
    EXPECT_EQ(Encode("[a, bc]"), Stream("\x0B\x01"
                                        "a\x02"
                                        "bc\x00"s));
    EXPECT_EQ(Encode("()"), Stream("\x01\x00"s));
    EXPECT_EQ(Encode("(\n 'a'\n 1\n (x))"), Stream("\x01\x06\x01"
                                                   "a\x02\x01\x01\x07\x01x\x00\x00"s));
    EXPECT_EQ(Encode("<>"), Stream("\x0E\x00"s));
    EXPECT_EQ(Encode("<\n item\n  W = 1\n end\n item [2]\n end>"),
              Stream("\x0E\x01\x01W\x02\x01\x00\x02\x02\x01\x00\x00"s));
}

TEST(BinaryWriterTest, ObjectHeadersAndNesting) {
    auto encode = [](const std::string& text) {
        std::string binary, error;
        EXPECT_TRUE(TextToBinary(text, ResourceHeader::kOmit, &binary, &error)) << error;
        return binary;
    };
    EXPECT_EQ(encode("object T end"), "TPF0\x01T\x00\x00\x00"s);
    EXPECT_EQ(encode("inherited A: T end"),
              "TPF0\xF1\x01T\x01"
              "A\x00\x00"s);
    EXPECT_EQ(encode("inline A: T [3] end"),
              "TPF0\xF6\x02\x03\x01T\x01"
              "A\x00\x00"s);
    EXPECT_EQ(encode("object A: T [-200] end"),
              "TPF0\xF2\x03\x38\xFF\x01T\x01"
              "A\x00\x00"s);
    EXPECT_EQ(encode("object A: T X = 1 object B: U end object C: V end end"),
              "TPF0\x01T\x01"
              "A\x01X\x02\x01\x00"
              "\x01U\x01"
              "B\x00\x00"
              "\x01V\x01"
              "C\x00\x00"
              "\x00"s);
    // A class name of 240 bytes or more gets the flags byte so that its length byte is not
    // taken for flags.
    std::string longClass(240, 'C');
    EXPECT_EQ(encode("object " + longClass + " end"), "TPF0\xF0\xF0" + longClass + "\x00\x00\x00"s);
}

TEST(BinaryWriterTest, ResourceHeaderForKnownClass) {
    std::string binary, error;
    ASSERT_TRUE(
        TextToBinary("object Form1: TForm1\nend\n", ResourceHeader::kInclude, &binary, &error));
    std::string stream =
        "TPF0\x06TForm1\x05"
        "Form1\x00\x00"s;
    std::string header =
        "\xFF\x0A\x00TFORM1\x00\x30\x10"s + static_cast<char>(stream.size()) + "\0\0\0"s;
    EXPECT_EQ(header.size(), 6u + 10u);
    EXPECT_EQ(binary, header + stream);
    EXPECT_EQ(MakeResourceHeader("TMy\xC3\xA4x", 0x01020304),
              "\xFF\x0A\x00TMY\xC3\xA4X\x00\x30\x10\x04\x03\x02\x01"s);
}

TEST(BinaryWriterTest, ModelValuesThatCannotBeStored) {
    FormObject o;
    o.className = "T";
    o.properties.push_back(
        {"P", Make(ValueKind::kIdent, [](Value& v) { v.bytes = std::string(256, 'i'); })});
    EXPECT_THROW(WriteBinary(o), FormError);
    o.properties[0].value = Make(ValueKind::kList, [](Value& v) { v.list.emplace_back(); });
    EXPECT_THROW(WriteBinary(o), FormError);  // a Null would end the list early
    o.properties.clear();
    o.className.clear();
    EXPECT_THROW(WriteBinary(o), FormError);
}

}  // namespace
}  // namespace morva::formfile

// Reading binary form files: encodings other writers use, the resource header, and damaged
// input of every kind.

#include "workbench/formfile/binary_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "workbench/formfile/characters.h"
#include "workbench/formfile/formfile.h"

namespace morva::formfile {
namespace {

using namespace std::string_literals;

// The text of the stream "object A: T" with P = the value `valueBytes`.
std::string TextOf(const std::string& valueBytes) {
    std::string text, error;
    std::string stream =
        "TPF0\x01T\x01"
        "A\x01P"s +
        valueBytes + "\0\0"s;
    EXPECT_TRUE(BinaryToText(stream, &text, &error)) << error;
    return text;
}

std::string Property(const std::string& value) {
    return "object A: T\n  P = " + value + "\nend\n";
}

std::string ErrorOf(const std::string& data) {
    std::string text, error;
    EXPECT_FALSE(BinaryToText(data, &text, &error));
    return error;
}

TEST(BinaryReaderTest, EncodingsOtherWritersUse) {
    EXPECT_EQ(TextOf("\x13\x05\x00\x00\x00\x00\x00\x00\x00"s), Property("5"));  // small Int64
    EXPECT_EQ(TextOf("\x04\xFF\xFF\xFF\xFF"s), Property("-1"));
    EXPECT_EQ(TextOf("\x0C\x02\x00\x00\x00"
                     "ab"s),
              Property("'ab'"));
    EXPECT_EQ(TextOf("\x12\x02\x00\x00\x00\x41\x00\x3A\x04"s), Property("'A\xD0\xBA'"));  // UTF-16
    EXPECT_EQ(TextOf("\x06\x02\xC3\xB6"s), Property("'\xC3\xB6'"));  // UTF-8 in a short string
    // A byte that is not UTF-8 reads as the Latin-1 character of that number.
    EXPECT_EQ(TextOf("\x06\x01\xF6"s), Property("'\xC3\xB6'"));
    EXPECT_EQ(TextOf("\x06\x02\x01\x7F"s), Property("#1#127"));
}

TEST(BinaryReaderTest, ResourceHeaderIsOptionalAndChecked) {
    std::string stream = "TPF0\x01T\x00\x00\x00"s;
    std::string text, error;
    ASSERT_TRUE(BinaryToText(stream, &text, &error)) << error;
    EXPECT_EQ(text, "object T\nend\n");
    ASSERT_TRUE(BinaryToText(MakeResourceHeader("T", 9) + stream, &text, &error)) << error;
    EXPECT_EQ(text, "object T\nend\n");
    // A numbered resource, and padding after the announced length.
    ASSERT_TRUE(BinaryToText(
        "\xFF\x0A\x00\xFF\x01\x00\x30\x10\x09\x00\x00\x00"s + stream + "\0\0\0"s, &text, &error))
        << error;
    EXPECT_EQ(text, "object T\nend\n");

    EXPECT_EQ(ErrorOf(MakeResourceHeader("T", 10) + stream),
              "Unexpected end of data: the header announces 10 bytes, 9 follow");
    // Offsets count from the start of the file, header included.
    EXPECT_EQ(ErrorOf(MakeResourceHeader("T", 8) + stream), "Unexpected end of data at offset 19");
    EXPECT_EQ(ErrorOf("\xFF\x0A\x00TFORM"s), "Resource header is truncated");
    EXPECT_EQ(ErrorOf("\xFF\x0E\x00T\x00\x30\x10\x09\x00\x00\x00"s + stream),
              "Resource type is not 10 (not a form resource)");
    EXPECT_EQ(ErrorOf("object T end"), "Not a binary form file (no TPF0 signature)");
    EXPECT_EQ(ErrorOf(""), "Not a binary form file (no TPF0 signature)");
}

TEST(BinaryReaderTest, MalformedStreamsNameTheOffset) {
    EXPECT_EQ(ErrorOf("TPF0\x01T\x01"
                      "A\x01P\x15\x00\x00"s),
              "Invalid value type 21 at offset 10");
    EXPECT_EQ(ErrorOf("TPF0\xF8\x01T\x00\x00\x00"s), "Invalid filer flags 8 at offset 4");
    EXPECT_EQ(ErrorOf("TPF0\xF5\x01T\x00\x00\x00"s), "Invalid filer flags 5 at offset 4");
    EXPECT_EQ(ErrorOf("TPF0\xF2\x06\x01T\x00\x00\x00"s), "Integer expected at offset 5");
    EXPECT_EQ(ErrorOf("TPF0\x00\x00\x00\x00"s), "Class name expected at offset 4");
    EXPECT_EQ(ErrorOf("TPF0\x01T\x01"
                      "A\x01P\x0E\x06\x00\x00\x00"s),
              "Collection item expected at offset 11");
    // Lengths far beyond the data are rejected before anything is allocated.
    EXPECT_EQ(ErrorOf("TPF0\x01T\x01"
                      "A\x01P\x0C\xFF\xFF\xFF\xFF"
                      "abc"s),
              "Unexpected end of data at offset 18");
    EXPECT_EQ(ErrorOf("TPF0\x01T\x01"
                      "A\x01P\x12\xFF\xFF\xFF\xFF"
                      "abc"s),
              "Unexpected end of data at offset 18");
}

TEST(BinaryReaderTest, DeepNestingIsAnErrorNotACrash) {
    std::string lists =
        "TPF0\x01T\x01"
        "A\x01P"s +
        std::string(100000, '\x01');
    EXPECT_EQ(ErrorOf(lists).rfind("Values nested too deeply", 0), 0u);
    std::string objects = "TPF0"s;
    for (int i = 0; i < 100000; ++i) objects += "\x01T\x00\x00"s;
    EXPECT_EQ(ErrorOf(objects).rfind("Objects nested too deeply", 0), 0u);
}

// A stream that holds every kind of value, as the writer produces it.
std::string RichStream() {
    std::string text =
        "object Form1: TForm1\n"
        "  Left = 192\n"
        "  Big = 5000000000\n"
        "  X = 0.1\n"
        "  Y = 2.5s\n"
        "  D = 36526.5d\n"
        "  M = 12345c\n"
        "  Caption = 'It''s'#13#10'\xC3\xB6'\n"
        "  Wide = 'a'#55357\n"
        "  Long = '" +
        std::string(300, 'L') +
        "'\n"
        "  Align = alClient\n"
        "  On = True\n"
        "  Off = False\n"
        "  Ref = nil\n"
        "  V = Null\n"
        "  Data = {0A1B2C3D}\n"
        "  Style = [fsBold, fsItalic]\n"
        "  Items.Strings = ('a' 1 (2 3) [x])\n"
        "  Columns = <item W = 1 end item [4] Title.Caption = 'c' end>\n"
        "  inherited Panel1: TPanel [2]\n"
        "    inline Frame1: TFrame1\n"
        "    end\n"
        "  end\n"
        "end\n";
    std::string binary, error;
    EXPECT_TRUE(TextToBinary(text, ResourceHeader::kInclude, &binary, &error)) << error;
    return binary;
}

TEST(BinaryReaderTest, BinaryToTextToBinaryKeepsTheBytes) {
    std::string binary = RichStream(), text, again, error;
    ASSERT_TRUE(BinaryToText(binary, &text, &error)) << error;
    ASSERT_TRUE(TextToBinary(text, ResourceHeader::kInclude, &again, &error)) << error;
    EXPECT_EQ(again, binary);
}

TEST(BinaryReaderTest, EveryTruncationIsAnError) {
    std::string full = RichStream();
    std::string text, error;
    ASSERT_TRUE(BinaryToText(full, &text, &error)) << error;
    // Without the header, cutting anywhere inside the stream must fail cleanly.
    std::string stream(StripResourceHeader(full));
    for (size_t n = 0; n < stream.size(); ++n)
        EXPECT_FALSE(BinaryToText(stream.substr(0, n), &text, &error)) << "length " << n;
    for (size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(BinaryToText(full.substr(0, n), &text, &error)) << "length " << n;
}

// Whatever the reader accepts, the text it gives converts back, and to the same text.
void ExpectStableText(const std::string& data) {
    std::string text, binary, again, error;
    if (!BinaryToText(data, &text, &error)) return;
    ASSERT_TRUE(TextToBinary(text, ResourceHeader::kOmit, &binary, &error)) << error << "\n"
                                                                            << text;
    ASSERT_TRUE(BinaryToText(binary, &again, &error)) << error;
    EXPECT_EQ(again, text);
}

TEST(BinaryReaderTest, RandomAndMutatedInputNeverCrashes) {
    std::mt19937 random(20261207);
    std::string seed(StripResourceHeader(RichStream()));
    auto byte = [&] { return static_cast<char>(random() & 0xFF); };
    for (int round = 0; round < 20000; ++round) {
        std::string data;
        switch (round % 3) {
            case 0:  // random bytes behind the signature, biased towards small value types
                data = "TPF0";
                for (size_t n = random() % 64; n > 0; --n)
                    data += random() % 2 ? static_cast<char>(random() % 22) : byte();
                break;
            case 1:  // a valid stream with a few bytes changed
                data = seed;
                for (int k = 1 + random() % 4; k > 0; --k)
                    data[4 + random() % (data.size() - 4)] = byte();
                break;
            default:  // a valid stream cut short or with bytes dropped
                data = seed.substr(0, random() % seed.size());
                if (data.size() > 8) data.erase(4 + random() % (data.size() - 4), 1 + random() % 3);
        }
        ExpectStableText(data);
        ExpectStableText(MakeResourceHeader("T", static_cast<uint32_t>(data.size())) + data);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace morva::formfile

// The layout of the text form and the values that cannot be written as text.

#include "workbench/formfile/text_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "workbench/formfile/characters.h"
#include "workbench/formfile/formfile.h"
#include "workbench/formfile/text_parser.h"

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

// Converts `text` to binary and back.
std::string Normalised(const std::string& text) {
    std::string binary, back, error;
    EXPECT_TRUE(TextToBinary(text, ResourceHeader::kOmit, &binary, &error)) << error;
    EXPECT_TRUE(BinaryToText(binary, &back, &error)) << error;
    return back;
}

TEST(TextWriterTest, IndentsNestedBlocksAndPutsItemsOnTheirOwnLines) {
    EXPECT_EQ(Normalised("object Form1:TForm1 Items.Strings=('a' 'b' ( 1 )()) C=<item[1]W=1 end"
                         " item end>E=<>B={0102}N={} object B:TB[0] end end"),
              "object Form1: TForm1\n"
              "  Items.Strings = (\n"
              "    'a'\n"
              "    'b'\n"
              "    (\n"
              "      1)\n"
              "    ())\n"
              "  C = <\n"
              "    item [1]\n"
              "      W = 1\n"
              "    end\n"
              "    item\n"
              "    end>\n"
              "  E = <>\n"
              "  B = {\n"
              "    0102}\n"
              "  N = {}\n"
              "  object B: TB [0]\n"
              "  end\n"
              "end\n");
}

TEST(TextWriterTest, WrapsLongStringsAndBinaryData) {
    std::string text = "object T\n  S = '" + std::string(63, 'x') + "'#10'" + std::string(6, 'x') +
                       "'\n  D = {" + std::string(66, 'F') + "}\nend\n";
    EXPECT_EQ(Normalised(text),
              "object T\n"
              "  S =\n"
              "    '" +
                  std::string(63, 'x') +
                  "'#10 +\n"
                  "    '" +
                  std::string(6, 'x') +
                  "'\n"
                  "  D = {\n"
                  "    " +
                  std::string(64, 'F') +
                  "\n"
                  "    FF}\n"
                  "end\n");
    // Exactly a line's worth stays on the property's line.
    std::string line(64, 'y');
    EXPECT_EQ(Normalised("object T S = '" + line + "' end"),
              "object T\n  S = '" + line + "'\nend\n");
}

TEST(TextWriterTest, NumbersReadBackExactly) {
    EXPECT_EQ(Normalised("object T A = 1.0 B = 100.0 C = 0.1 D = 1e20 E = -0.0 F = 0.1s G = 1.25d"
                         " H = -5c I = 1e-4940 end"),
              "object T\n  A = 1.0\n  B = 100.0\n  C = 0.1\n  D = 1e+20\n  E = -0.0\n  F = 0.1s\n"
              "  G = 1.25d\n  H = -5c\n  I = 1e-4940\nend\n");
    FormObject o;
    o.className = "T";
    o.properties.push_back({"X", Make(ValueKind::kExtended, [](Value& v) {
                                v.extended = std::numeric_limits<long double>::max();
                            })});
    EXPECT_EQ(ParseText(WriteText(o)).properties[0].value.extended, o.properties[0].value.extended);
    o.properties[0].value.extended = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_THROW(WriteText(o), FormError);
    o.properties[0].value = Make(ValueKind::kSingle, [](Value& v) { v.single = INFINITY; });
    EXPECT_THROW(WriteText(o), FormError);
}

TEST(TextWriterTest, CharactersThatNeedCodes) {
    FormObject o;
    o.className = "T";
    o.properties.push_back({"S", Make(ValueKind::kString, [](Value& v) {
                                v.text = U"a\r\n\u0085\uFEFF\u00E9'\U0001F600\xD800";
                            })});
    EXPECT_EQ(WriteText(o),
              "object T\n  S = 'a'#13#10#133#65279'\xC3\xA9''\xF0\x9F\x98\x80'#55296\nend\n");
}

TEST(TextWriterTest, NamesThatWouldNotReadBackAreRefused) {
    auto refused = [](FormObject o) {
        try {
            WriteText(o);
        } catch (const FormError& e) {
            return std::string(e.what());
        }
        return std::string("written");
    };
    FormObject o;
    o.className = "T";
    o.properties.push_back({"end", Make(ValueKind::kTrue, [](Value&) {})});
    EXPECT_EQ(refused(o), "Property name 'end' cannot be written as text");
    o.properties[0].name = "a b";
    EXPECT_EQ(refused(o), "Property name 'a b' is not an identifier");
    o.properties[0] = {"P", Make(ValueKind::kIdent, [](Value& v) { v.bytes = "1x"; })};
    EXPECT_EQ(refused(o), "Identifier '1x' is not an identifier");
    o.properties[0] = {"P", Make(ValueKind::kSet, [](Value& v) { v.set = {"a.b"}; })};
    EXPECT_EQ(refused(o), "Set element 'a.b' is not an identifier");
    o.properties.clear();
    o.name = "x:y";
    EXPECT_EQ(refused(o), "Object name 'x:y' is not an identifier");
}

}  // namespace
}  // namespace morva::formfile

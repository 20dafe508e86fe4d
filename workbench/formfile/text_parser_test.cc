// The text form parser: the syntax it accepts and the line-numbered errors it gives.

#include "workbench/formfile/text_parser.h"

#include <gtest/gtest.h>

#include "workbench/formfile/characters.h"

namespace morva::formfile {
namespace {

std::string ErrorOf(const std::string& text) {
    try {
        ParseText(text);
    } catch (const FormError& e) {
        return e.what();
    }
    return "no error";
}

TEST(TextParserTest, HeadersPropertiesAndChildren) {
    FormObject o = ParseText(
        "\xEF\xBB\xBFOBJECT Form1: TForm1\r\n"
        "  Font.Name = 'Arial'\r\n"
        "  Inherited Panel1: TPanel [2]\r\n"
        "    INLINE TFrame1\r\n"
        "    End\r\n"
        "  end\r\n"
        "END");
    EXPECT_EQ(o.kind, ObjectKind::kObject);
    EXPECT_EQ(o.name, "Form1");
    EXPECT_EQ(o.className, "TForm1");
    ASSERT_EQ(o.properties.size(), 1u);
    EXPECT_EQ(o.properties[0].name, "Font.Name");
    ASSERT_EQ(o.children.size(), 1u);
    const FormObject& panel = o.children[0];
    EXPECT_EQ(panel.kind, ObjectKind::kInherited);
    EXPECT_EQ(panel.childPos, 2);
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].kind, ObjectKind::kInline);
    EXPECT_EQ(panel.children[0].name, "");
    EXPECT_EQ(panel.children[0].className, "TFrame1");
}

TEST(TextParserTest, StringsJoinPartsAndLines) {
    FormObject o = ParseText("object T\n  S = 'a'#9'b''c' +\n   #$263A +\n\n 'd'\nend");
    EXPECT_EQ(o.properties[0].value.text, U"a\tb'c\u263Ad");
}

TEST(TextParserTest, ErrorsNameTheLineAndWhatWasExpected) {
    EXPECT_EQ(ErrorOf(""), "Line 1: 'object' expected but end of file found");
    EXPECT_EQ(ErrorOf("form Form1: TForm1\nend"), "Line 1: 'object' expected but 'form' found");
    EXPECT_EQ(ErrorOf("object Form1:\nend"), "Line 2: class name expected but 'end' found");
    EXPECT_EQ(ErrorOf("object A: T\n  Left 5\nend"), "Line 2: '=' expected but '5' found");
    EXPECT_EQ(ErrorOf("object A: T\n  Left =\nend"), "Line 3: value expected but 'end' found");
    EXPECT_EQ(ErrorOf("object A: T\n  Left = 1\n"), "Line 3: 'end' expected but end of file found");
    EXPECT_EQ(ErrorOf("object A: T\r\n\r\n  S = 'abc\r\nend"), "Line 3: unterminated string");
    EXPECT_EQ(ErrorOf("object A: T\n  S = 'a' + 5\nend"), "Line 2: string expected but '5' found");
    EXPECT_EQ(ErrorOf("object A: T\n  X = 12ab\nend"), "Line 2: invalid number '12a'");
    EXPECT_EQ(ErrorOf("object A: T\n  X = 9223372036854775808\nend"),
              "Line 2: number out of range");
    EXPECT_EQ(ErrorOf("object A: T\n  X = 1e99999\nend"), "Line 2: number 1e99999 out of range");
    EXPECT_EQ(ErrorOf("object A: T\n  X = $10000000000000000\nend"), "Line 2: number out of range");
    EXPECT_EQ(ErrorOf("object A: T\n  S = #1114112\nend"), "Line 2: number out of range");
    EXPECT_EQ(ErrorOf("object A: T\n  D = {\n  0A1\n  }\nend"),
              "Line 4: binary data has an odd number of hexadecimal digits");
    EXPECT_EQ(ErrorOf("object A: T\n  D = {0G}\nend"),
              "Line 2: hexadecimal digit expected in binary data");
    EXPECT_EQ(ErrorOf("object A: T\n  S = [a b]\nend"), "Line 2: ',' expected but 'b' found");
    EXPECT_EQ(ErrorOf("object A: T\n  C = <\n    W = 1\n  >\nend"),
              "Line 3: 'item' expected but 'W' found");
    EXPECT_EQ(ErrorOf("object A: T\n  object B: U\n  end\n  Left = 1\nend"),
              "Line 4: 'end' expected but 'Left' found");
    EXPECT_EQ(ErrorOf("object A: T\nend\nobject B: U\nend"),
              "Line 3: end of file expected but 'object' found");
    EXPECT_EQ(ErrorOf("object A: T [2147483648]\nend"), "Line 1: index out of range");
    EXPECT_EQ(ErrorOf("object A: T\n  X = 1 ~\nend"), "Line 2: 'end' expected but '~' found");
    EXPECT_EQ(ErrorOf("object A: T\n  " + std::string(256, 'n') + " = 1\nend"),
              "Line 2: property name longer than 255 bytes");
}

TEST(TextParserTest, NullCannotEndAListEarly) {
    EXPECT_EQ(ErrorOf("object A: T\n  L = (\n    1\n    null\n    2)\nend"),
              "Line 4: Null cannot be a list element");
}

TEST(TextParserTest, DeepNestingIsAnErrorNotACrash) {
    std::string lists = "object A: T\n  L = " + std::string(100000, '(');
    EXPECT_EQ(ErrorOf(lists), "Line 2: nesting too deep");
    std::string objects;
    for (int i = 0; i < 100000; ++i) objects += "object T\n";
    EXPECT_EQ(ErrorOf(objects), "Line 202: nesting too deep");
}

}  // namespace
}  // namespace morva::formfile

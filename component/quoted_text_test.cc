#include "component/quoted_text.h"

#include <gtest/gtest.h>

namespace morva::com {
namespace {

TEST(QuotedTextTest, EscapesWhatWouldEndTheTextOrTheLine) {
    EXPECT_EQ(Quoted("Note \"x\""), R"("Note \"x\"")");
    EXPECT_EQ(Quoted(R"(C:\dir\)"), R"("C:\\dir\\")");
    EXPECT_EQ(Quoted("a\tb\nc\rd"), R"("a\tb\nc\rd")");
    EXPECT_EQ(Quoted(std::string_view("\x01\x7f\0", 3)), R"("\x01\x7F\x00")");
}

TEST(QuotedTextTest, KeepsPlainTextAndUtf8) {
    EXPECT_EQ(Quoted(""), "\"\"");
    EXPECT_EQ(Quoted("Gr\xC3\xB6\xC3\x9F"
                     "e 'ok'"),
              "\"Gr\xC3\xB6\xC3\x9F"
              "e 'ok'\"");
    std::string out = "label=";
    AppendQuoted(out, "A");
    EXPECT_EQ(out, "label=\"A\"");
}

}  // namespace
}  // namespace morva::com

// Whole conversions: text to binary to text, files, the target name and error messages.

#include "workbench/formfile/formfile.h"

#include <gtest/gtest.h>

namespace morva::formfile {
namespace {

constexpr const char* kForm =
    "object Form1: TForm1\n"
    "  Left = 192\n"
    "  Caption = 'Form1'\n"
    "  object Button1: TButton\n"
    "    Left = 8\n"
    "  end\n"
    "end\n";

TEST(FormFileTest, TextRoundTrip) {
    std::string binary, text, error;
    ASSERT_TRUE(TextToBinary(kForm, ResourceHeader::kInclude, &binary, &error)) << error;
    ASSERT_TRUE(BinaryToText(binary, &text, &error)) << error;
    EXPECT_EQ(text, kForm);
}

}  // namespace
}  // namespace morva::formfile

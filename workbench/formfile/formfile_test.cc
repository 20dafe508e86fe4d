// Whole conversions: round trips, form files on disk, the target name and the messages.

#include "workbench/formfile/formfile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "workbench/formfile/testing/form_signature.h"

namespace morva::formfile {
namespace {

namespace fs = std::filesystem;
using testing::LooksLikeBinaryFormFile;

constexpr const char* kForm =
    "object Form1: TForm1\n"
    "  Left = 192\n"
    "  Width = 70000\n"
    "  Caption = 'Form1 '#39'\xC3\xA9'\n"
    "  Font.Style = [fsBold]\n"
    "  Scale = 1.25\n"
    "  Price = 19990c\n"
    "  OnShow = FormShow\n"
    "  Items.Strings = (\n"
    "    'a'\n"
    "    'b')\n"
    "  Columns = <\n"
    "    item [1]\n"
    "      Width = 64\n"
    "    end>\n"
    "  Picture.Data = {\n"
    "    0A1B}\n"
    "  object Button1: TButton\n"
    "    Left = 8\n"
    "  end\n"
    "  inherited Panel1: TPanel [1]\n"
    "  end\n"
    "end\n";

TEST(FormFileTest, TextToBinaryToTextToBinaryKeepsTheBytes) {
    std::string binary, text, again, error;
    ASSERT_TRUE(TextToBinary(kForm, ResourceHeader::kInclude, &binary, &error)) << error;
    ASSERT_TRUE(BinaryToText(binary, &text, &error)) << error;
    // The text comes back as written, except that a quote is written doubled.
    std::string expected = kForm;
    const std::string quoted = "'Form1 '#39'\xC3\xA9'";
    expected.replace(expected.find(quoted), quoted.size(), "'Form1 ''\xC3\xA9'");
    EXPECT_EQ(text, expected);
    ASSERT_TRUE(TextToBinary(text, ResourceHeader::kInclude, &again, &error)) << error;
    EXPECT_EQ(again, binary);
}

TEST(FormFileTest, WithAndWithoutHeaderReadTheSame) {
    std::string with, without, a, b, error;
    ASSERT_TRUE(TextToBinary(kForm, ResourceHeader::kInclude, &with, &error));
    ASSERT_TRUE(TextToBinary(kForm, ResourceHeader::kOmit, &without, &error));
    EXPECT_EQ(with.substr(with.size() - without.size()), without);
    EXPECT_TRUE(LooksLikeBinaryFormFile(with));
    EXPECT_TRUE(LooksLikeBinaryFormFile(without));
    EXPECT_FALSE(LooksLikeBinaryFormFile(kForm));
    ASSERT_TRUE(BinaryToText(with, &a, &error));
    ASSERT_TRUE(BinaryToText(without, &b, &error));
    EXPECT_EQ(a, b);
}

// A resource name starting with 0xFF would read back as a resource number and leave a file
// that cannot be opened; without the header the same form converts.
TEST(FormFileTest, ClassNameThatCannotNameAResourceIsAnError) {
    const std::string form = "object F: \xFF\xFFTForm\n  Left = 1\nend\n";
    std::string binary, text, error;
    EXPECT_FALSE(TextToBinary(form, ResourceHeader::kInclude, &binary, &error));
    EXPECT_EQ(error, "Class name '\xFF\xFFTForm' cannot name a form resource");
    ASSERT_TRUE(TextToBinary(form, ResourceHeader::kOmit, &binary, &error)) << error;
    EXPECT_TRUE(BinaryToText(binary, &text, &error)) << error;
}

// Damaged text is an error or a form that converts back and forth to the same bytes.
TEST(FormFileTest, MutatedTextNeverCrashesAndConvertsStably) {
    std::mt19937 random(9);
    static constexpr char kSyntax[] = "'#$()[]<>{}=:+-.,0123456789 \nabcdefsE\xC3\xA9";
    for (int round = 0; round < 5000; ++round) {
        std::string text = kForm;
        for (int k = 1 + random() % 4; k > 0; --k) {
            size_t at = random() % text.size();
            switch (random() % 3) {
                case 0:
                    text[at] = kSyntax[random() % (sizeof kSyntax - 1)];
                    break;
                case 1:
                    text.erase(at, 1 + random() % 8);
                    break;
                default:
                    text.insert(at, 1, static_cast<char>(random() & 0xFF));
            }
            if (text.empty()) text = "x";
        }
        std::string binary, back, again, error;
        if (!TextToBinary(text, ResourceHeader::kInclude, &binary, &error)) {
            EXPECT_EQ(error.rfind("Line ", 0), 0u) << error;
            continue;
        }
        ASSERT_TRUE(BinaryToText(binary, &back, &error)) << error << "\n" << text;
        ASSERT_TRUE(TextToBinary(back, ResourceHeader::kInclude, &again, &error)) << error;
        ASSERT_EQ(again, binary) << text;
    }
}

TEST(FormFileTest, TargetNameDropsDirectoryAndExtension) {
    EXPECT_EQ(FormFileTargetName("Form1.txt"), "Form1.DFM");
    EXPECT_EQ(FormFileTargetName("out/sub/Form1.txt"), "Form1.DFM");
    EXPECT_EQ(FormFileTargetName("C:\\any\\Form1.txt"), "Form1.DFM");
    EXPECT_EQ(FormFileTargetName("Main.Form.pas"), "Main.Form.DFM");
    EXPECT_EQ(FormFileTargetName("Form1"), "Form1.DFM");
    EXPECT_EQ(FormFileTargetName("dir.d/Form1"), "Form1.DFM");
}

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("formfile_test_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static void Write(const std::string& path, const std::string& data) {
        std::ofstream(path, std::ios::binary) << data;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_, previous_;
};

TEST_F(ConvertTest, WritesTheDerivedTargetInTheCurrentDirectory) {
    fs::create_directories("gen");
    Write("gen/Form1.txt", kForm);
    std::string error, expected;
    ASSERT_TRUE(ConvertToFormFile("gen/Form1.txt", "", &error)) << error;
    ASSERT_TRUE(TextToBinary(kForm, ResourceHeader::kInclude, &expected, &error));
    EXPECT_EQ(Read("Form1.DFM"), expected);
    EXPECT_EQ(Read("gen/Form1.txt"), kForm);
    ASSERT_TRUE(ConvertToFormFile("gen/Form1.txt", "gen/Other.dfm", &error)) << error;
    EXPECT_EQ(Read("gen/Other.dfm"), expected);

    std::string text;
    ASSERT_TRUE(ReadFormFileAsText("Form1.DFM", &text, &error)) << error;
    EXPECT_EQ(text.substr(0, 21), "object Form1: TForm1\n");
}

TEST_F(ConvertTest, ErrorsKeepSourceAndExistingTarget) {
    Write("Form1.txt", "object Form1: TForm1\n  Left = \nend\n");
    Write("Form1.DFM", "previous");
    std::string error;
    EXPECT_FALSE(ConvertToFormFile("Form1.txt", "", &error));
    EXPECT_EQ(error,
              "Form1.txt: Error on Converting to .DFM: Line 3: value expected but 'end' found");
    EXPECT_EQ(Read("Form1.DFM"), "previous");
    EXPECT_EQ(Read("Form1.txt"), "object Form1: TForm1\n  Left = \nend\n");

    EXPECT_FALSE(ConvertToFormFile("Missing.txt", "", &error));
    EXPECT_EQ(error, "Missing.txt: Error on Converting to .DFM: No such file or directory");
    EXPECT_FALSE(fs::exists("Missing.DFM"));

    fs::create_directories("Dir.txt");
    EXPECT_FALSE(ConvertToFormFile("Dir.txt", "", &error));
    EXPECT_EQ(error, "Dir.txt: Error on Converting to .DFM: Is a directory");
}

TEST_F(ConvertTest, NeverWritesOverTheSource) {
    Write("Form1.DFM", kForm);
    std::string error;
    EXPECT_FALSE(ConvertToFormFile("Form1.DFM", "", &error));
    EXPECT_EQ(error, "Form1.DFM: Error on Converting to .DFM: Form1.DFM is the source file");
    EXPECT_EQ(Read("Form1.DFM"), kForm);
    EXPECT_FALSE(ConvertToFormFile("Form1.DFM", "./Form1.DFM", &error));
    EXPECT_EQ(Read("Form1.DFM"), kForm);
}

TEST_F(ConvertTest, ReadingATextFormAsBinaryNamesTheFile) {
    Write("Text.DFM", kForm);
    std::string text, error;
    EXPECT_FALSE(ReadFormFileAsText("Text.DFM", &text, &error));
    EXPECT_EQ(error, "Text.DFM: Not a binary form file (no TPF0 signature)");
}

}  // namespace
}  // namespace morva::formfile

#include "workbench/app/keyword_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

namespace morva::app {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

class KeywordFileTest : public testing::Test {
  protected:
    std::string PathOf(const char* name) { return (dir_.path() + "/" + name).toStdString(); }
    void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    QTemporaryDir dir_;
};

TEST_F(KeywordFileTest, EncodesTheDocumentedLayout) {
    const std::vector<KeywordLanguage> languages = {{"C", {"int", "for"}}, {"SQL", {}}};
    const std::string expected = Bytes({2, 0, 0, 0, 1}) + "C" + Bytes({2, 0, 0, 0, 3}) + "int" +
                                 Bytes({3}) + "for" + Bytes({3}) + "SQL" + Bytes({0, 0, 0, 0});
    EXPECT_EQ(EncodeKeywordFile(languages), expected);

    const std::string path = PathOf("Keywords.CDF");
    std::string error;
    ASSERT_TRUE(WriteKeywordFile(path, languages, &error)) << error;
    std::vector<KeywordLanguage> read;
    ASSERT_TRUE(ReadKeywordFile(path, &read, &error)) << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "C");
    EXPECT_EQ(read[0].keywords, (std::vector<std::string>{"int", "for"}));
    EXPECT_TRUE(read[1].keywords.empty());
    EXPECT_EQ(EncodeKeywordFile(read), expected);  // byte-exact round trip
}

TEST_F(KeywordFileTest, RejectsEveryTruncationAndNegativeCounts) {
    const std::string whole = EncodeKeywordFile({{"Pascal", {"begin", "end"}}});
    const std::string path = PathOf("Keywords.CDF");
    for (size_t length = 0; length < whole.size(); ++length) {
        Write(path, whole.substr(0, length));
        std::vector<KeywordLanguage> read = {{"kept", {}}};
        std::string error;
        EXPECT_FALSE(ReadKeywordFile(path, &read, &error)) << length;
        EXPECT_EQ(error, "Invalid file format(" + path + ")");
        EXPECT_EQ(read.size(), 1u);  // nothing replaced on failure
    }
    Write(path, Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    std::vector<KeywordLanguage> read;
    std::string error;
    EXPECT_FALSE(ReadKeywordFile(path, &read, &error));
    EXPECT_FALSE(ReadKeywordFile(PathOf("missing.CDF"), &read, &error));
    EXPECT_NE(error.find("missing.CDF"), std::string::npos);
}

TEST_F(KeywordFileTest, LongTextsAreCutWithoutSplittingCharacters) {
    const std::string ascii(300, 'k');
    std::string utf8(254, 'x');
    utf8 += "é";  // bytes 254 and 255: cutting at 255 would split it
    const std::string encoded = EncodeKeywordFile({{ascii, {utf8}}});
    EXPECT_EQ(static_cast<unsigned char>(encoded[4]), 255);
    EXPECT_EQ(static_cast<unsigned char>(encoded[4 + 1 + 255 + 4]), 254);
}

TEST_F(KeywordFileTest, FailedSaveKeepsThePreviousFile) {
    const std::string path = PathOf("sub");
    std::string error;
    ASSERT_TRUE(WriteKeywordFile(path + "/Keywords.CDF", {{"A", {"x"}}}, &error));
    // A folder in the way of the new file: the write fails with a reason naming the file.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path + "/blocked.CDF")));
    EXPECT_FALSE(WriteKeywordFile(path + "/blocked.CDF", {{"B", {}}}, &error));
    EXPECT_NE(error.find("blocked.CDF"), std::string::npos);
    std::vector<KeywordLanguage> read;
    ASSERT_TRUE(ReadKeywordFile(path + "/Keywords.CDF", &read, &error));
    EXPECT_EQ(read[0].name, "A");
}

}  // namespace
}  // namespace morva::app

// Output files of a run: line ends and sizes beyond the writer's buffer.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/host/cmorva.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

class RunOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = fs::temp_directory_path() / ("tpx_run_output_" + std::to_string(getpid()));
        fs::create_directories(work_);
        home_ = fs::current_path();
        fs::current_path(work_);
        morva_->CreateDatabase(std::string("D"), 0);
        morva_->InitDatabase();
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(work_);
    }
    std::string Run(const std::string& body, bool lineFeedOnly) {
        AsCMorva(morva_.get())->SetLineFeedOnly(lineFeedOnly);
        morva_->SetScript(std::string("big.tpx"),
                          "<TEXT><CREATE>big.txt</CREATE>\n" + body + "<CLOSE>\n</TEXT>\n");
        EXPECT_TRUE(AsCMorva(morva_.get())->compiled());
        morva_->RunScript();
        std::ifstream in(work_ / "big.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    com::ComPtr<IMorva> morva_ = NewMorva();
    fs::path work_, home_;
};

// Many short lines, then one line longer than the write buffer, then a last line.
std::string LongText(const char* lineEnd) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += "line " + std::to_string(i) + lineEnd;
    return text + std::string(100000, 'x') + lineEnd + "end" + lineEnd;
}

TEST_F(RunOutputTest, LongOutputKeepsEveryLineEnd) {
    EXPECT_EQ(Run(LongText("\n"), false), LongText("\r\n"));
    EXPECT_EQ(Run(LongText("\n"), true), LongText("\n"));
}

}  // namespace
}  // namespace morva::tpx

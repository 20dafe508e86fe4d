#include "engine/script/output_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

class OutputFilesTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("morva_output_" + std::to_string(::getpid()) + "_" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string Read(const std::string& name) const {
        std::string text;
        EXPECT_TRUE(ReadWholeFile(Path(name), &text)) << name;
        return text;
    }
    void Put(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    static int Generate(OutputFiles& files, const std::string& name, const std::string& text) {
        if (int error = files.Open(name)) return error;
        files.Write(text);
        return files.Close();
    }
    OutputPolicy Disk() const { return {OutputTarget::Disk, folder_.string()}; }
    OutputPolicy Memory() const { return {OutputTarget::Memory, folder_.string()}; }

    fs::path folder_;
};

// Changed-only writing: same text keeps the file (and its time stamp), other text replaces it
// keeping its permissions; folders in the name are made; a new file counts as created.
TEST_F(OutputFilesTest, WritesOnlyWhatChanged) {
    Put("same.txt", "same\n");
    Put("other.txt", "old\n");
    ::chmod(Path("other.txt").c_str(), 0640);
    auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(Path("same.txt"), old);
    OutputFiles files(Disk());
    EXPECT_EQ(Generate(files, "same.txt", "same\n"), 0);
    EXPECT_EQ(Generate(files, "other.txt", "new\n"), 0);
    EXPECT_EQ(Generate(files, "sub/dir/new.txt", "made\n"), 0);
    EXPECT_EQ(Generate(files, "empty.txt", ""), 0);
    EXPECT_EQ(fs::last_write_time(Path("same.txt")), old);
    EXPECT_EQ(Read("other.txt"), "new\n");
    EXPECT_EQ(fs::status(Path("other.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Read("sub/dir/new.txt"), "made\n");
    EXPECT_TRUE(fs::exists(Path("empty.txt")));
    ASSERT_EQ(files.files().size(), 4u);
    EXPECT_EQ(files.files()[0].outcome, FileOutcome::Unchanged);
    EXPECT_EQ(files.files()[1].outcome, FileOutcome::Changed);
    EXPECT_EQ(files.files()[2].outcome, FileOutcome::Created);
    EXPECT_EQ(files.files()[3].outcome, FileOutcome::Created);
    EXPECT_EQ(files.failures(), 0);
    // No temporary file is left behind.
    for (const auto& entry : fs::directory_iterator(folder_))
        EXPECT_EQ(entry.path().filename().string().rfind(".morva-", 0), std::string::npos);
}

// A file abandoned by a failed run keeps its previous text; a new one stays empty.
TEST_F(OutputFilesTest, AbandonedFileKeepsItsText) {
    Put("good.txt", "good\n");
    OutputFiles files(Disk());
    ASSERT_EQ(files.Open("good.txt"), 0);
    files.Write("half");
    files.Abandon();
    ASSERT_EQ(files.Open("fresh.txt"), 0);
    files.Write("half");
    files.Abandon();
    EXPECT_EQ(Read("good.txt"), "good\n");
    EXPECT_EQ(Read("fresh.txt"), "");
    EXPECT_EQ(files.files()[0].outcome, FileOutcome::Abandoned);
}

// Replacing a symbolic link replaces its target and keeps the link.
TEST_F(OutputFilesTest, FollowsSymbolicLinks) {
    Put("target.txt", "old\n");
    fs::create_symlink("target.txt", Path("link.txt"));
    OutputFiles files(Disk());
    EXPECT_EQ(Generate(files, "link.txt", "new\n"), 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
    EXPECT_EQ(Read("target.txt"), "new\n");
}

// A new file exists, empty, from its opening on, gets the permissions a new file gets, and a
// second opening in the same run finds it as an existing file. A dangling link is followed:
// its target is made and the link stays.
TEST_F(OutputFilesTest, NewFilesAreMadeOnOpening) {
    mode_t mask = ::umask(027);
    OutputFiles files(Disk());
    ASSERT_EQ(files.Open("deep/er/new.txt"), 0);
    EXPECT_EQ(Read("deep/er/new.txt"), "");
    files.Write("text\n");
    EXPECT_EQ(files.Close(), 0);
    EXPECT_EQ(Read("deep/er/new.txt"), "text\n");
    EXPECT_EQ(fs::status(Path("deep/er/new.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ::umask(mask);
    ASSERT_NE(files.LastClosedText("deep/er/new.txt"), nullptr);
    EXPECT_EQ(*files.LastClosedText("deep/er/new.txt"), "text\n");
    EXPECT_EQ(Generate(files, "deep/er/new.txt", "text\n"), 0);
    EXPECT_EQ(Generate(files, "deep/er/new.txt", "more\n"), 0);

    fs::create_symlink("made.txt", Path("dangling.txt"));
    EXPECT_EQ(Generate(files, "dangling.txt", "via link\n"), 0);
    EXPECT_TRUE(fs::is_symlink(Path("dangling.txt")));
    EXPECT_EQ(Read("made.txt"), "via link\n");

    ASSERT_EQ(files.files().size(), 4u);
    EXPECT_EQ(files.files()[0].outcome, FileOutcome::Created);
    EXPECT_EQ(files.files()[1].outcome, FileOutcome::Unchanged);
    EXPECT_EQ(files.files()[2].outcome, FileOutcome::Changed);
    EXPECT_EQ(files.files()[3].outcome, FileOutcome::Created);
    EXPECT_EQ(Read("deep/er/new.txt"), "more\n");
}

// Names that cannot be files are refused when opened, with the reason.
TEST_F(OutputFilesTest, RefusesWhatCannotBeWritten) {
    fs::create_directories(Path("dir"));
    Put("plain", "x");
    OutputFiles files(Disk());
    EXPECT_EQ(files.Open("dir"), EISDIR);
    EXPECT_EQ(files.Open("plain/below.txt"), ENOTDIR);
    EXPECT_EQ(files.Open("plain/deeper/below.txt"), ENOTDIR);
    EXPECT_FALSE(files.IsOpen());
}

// Into memory nothing is written; the outcomes and both texts are there for a check or diff,
// and kept regions count: a file that differs only inside regions is up to date.
TEST_F(OutputFilesTest, MemoryTellsWhatWouldChange) {
    Put("same.txt", "a\n// MORVA-KEEP-BEGIN r\nmine\n// MORVA-KEEP-END r\n");
    Put("other.txt", "old\n");
    OutputFiles files(Memory());
    EXPECT_EQ(Generate(files, "same.txt", "a\n// MORVA-KEEP-BEGIN r\n// MORVA-KEEP-END r\n"), 0);
    EXPECT_EQ(Generate(files, "other.txt", "new\n"), 0);
    EXPECT_EQ(Generate(files, "sub/new.txt", "n\n"), 0);
    EXPECT_EQ(files.files()[0].outcome, FileOutcome::Unchanged);
    EXPECT_EQ(files.files()[1].outcome, FileOutcome::Changed);
    EXPECT_EQ(files.files()[1].before, "old\n");
    EXPECT_EQ(files.files()[1].after, "new\n");
    EXPECT_EQ(files.files()[2].outcome, FileOutcome::Created);
    EXPECT_EQ(Read("other.txt"), "old\n");
    EXPECT_FALSE(fs::exists(Path("sub")));
}

// A region dropped from the template is kept under .morva/regions and reported.
TEST_F(OutputFilesTest, LostRegionIsSaved) {
    Put("x.h", "MORVA-KEEP-BEGIN gone\nhand written\nMORVA-KEEP-END gone\n");
    OutputFiles files(Disk());
    EXPECT_EQ(Generate(files, "x.h", "no regions\n"), 0);
    ASSERT_EQ(files.lostRegions().size(), 1u);
    EXPECT_EQ(files.lostRegions()[0].savedAs, ".morva/regions/x.h.gone");
    EXPECT_EQ(Read(".morva/regions/x.h.gone"), "hand written\n");
    EXPECT_EQ(Read("x.h"), "no regions\n");
}

}  // namespace
}  // namespace morva::tpx

#include "component/atomic_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace morva::com {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "morva-atomic-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir_ + "/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir_;
};

TEST_F(AtomicFileTest, BatchReplacesNothingBeforeCommitAndEverythingAfter) {
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir_ + "/A", "old", &error)) << error;
    {
        AtomicFileBatch batch(dir_);
        ASSERT_TRUE(batch.Add("A", "new a", &error)) << error;
        ASSERT_TRUE(batch.Add("B", std::string("b\0b", 3), &error)) << error;
        EXPECT_EQ(Read("A"), "old");
        EXPECT_EQ(Names().size(), 3u);  // A and two temporaries
        ASSERT_TRUE(batch.Commit(&error)) << error;
    }
    EXPECT_EQ(Read("A"), "new a");
    EXPECT_EQ(Read("B"), std::string("b\0b", 3));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(fs::status(dir_ + "/B").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);

    {
        AtomicFileBatch abandoned(dir_);
        ASSERT_TRUE(abandoned.Add("A", "never", &error));
    }
    EXPECT_EQ(Read("A"), "new a");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));

    AtomicFileBatch missing(dir_ + "/nowhere");
    EXPECT_FALSE(missing.Add("C", "c", &error));
    EXPECT_EQ(error, dir_ + "/nowhere/C: No such file or directory");
}

TEST_F(AtomicFileTest, StaleTemporariesGoUnlessABatchHasTheFolderOpen) {
    EXPECT_TRUE(IsTemporaryFileName(".morva-a1B2c3"));
    EXPECT_TRUE(IsTemporaryFileName(".table-ZZZZZZ"));
    for (const char* name : {".table-abc", ".table-abcdefg", "table-abcdef", ".table-ab.def"})
        EXPECT_FALSE(IsTemporaryFileName(name)) << name;

    std::ofstream(dir_ + "/.table-AbC123") << "left by a crash";
    std::string error;
    {
        AtomicFileBatch batch(dir_);
        ASSERT_TRUE(batch.Add("T", "t", &error)) << error;
        std::vector<std::string> temporaries;
        for (const std::string& name : Names())
            if (IsTemporaryFileName(name)) temporaries.push_back(name);
        ASSERT_EQ(temporaries.size(), 2u);
        RemoveStaleTemporaryFiles(dir_, temporaries);
        EXPECT_EQ(Names().size(), 2u);  // the batch is still writing: both may be in use
        ASSERT_TRUE(batch.Commit(&error)) << error;
    }
    RemoveStaleTemporaryFiles(dir_, {".table-AbC123"});
    EXPECT_EQ(Names(), std::vector<std::string>{"T"});
}

}  // namespace
}  // namespace morva::com

#include "engine/script/output_record.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

// The record reads back what was written, keyed by the script's own file name; stale files
// are the recorded ones no longer generated that are still there.
TEST(OutputRecordTest, RoundTripAndStaleFiles) {
    fs::path folder = fs::temp_directory_path() / ("morva_record_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "sub");
    EXPECT_EQ(OutputRecordName("templates/app.tpx"), ".morva/app.tpx.files");
    std::string record = (folder / OutputRecordName("app.tpx")).string();
    EXPECT_TRUE(ReadOutputRecord(record).empty());
    ASSERT_EQ(WriteOutputRecord(record, {"b.txt", "sub/a.txt", "b.txt", "gone.txt"}), 0);
    std::vector<std::string> names = ReadOutputRecord(record);
    EXPECT_EQ(names, (std::vector<std::string>{"b.txt", "gone.txt", "sub/a.txt"}));
    // An unchanged record is not rewritten.
    auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(record, old);
    ASSERT_EQ(WriteOutputRecord(record, {"sub/a.txt", "gone.txt", "b.txt"}), 0);
    EXPECT_EQ(fs::last_write_time(record), old);

    std::ofstream(folder / "b.txt") << "x";
    std::ofstream(folder / "sub/a.txt") << "x";
    EXPECT_EQ(StaleOutputFiles(names, {"b.txt"}, folder.string()),
              std::vector<std::string>{"sub/a.txt"});
    fs::remove_all(folder);
}

}  // namespace
}  // namespace morva::tpx

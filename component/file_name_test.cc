#include "component/file_name.h"

#include <gtest/gtest.h>

namespace morva::com {
namespace {

TEST(FileNameTest, NamesThatWouldLeaveTheFolderSayWhy) {
    EXPECT_EQ(UnsafeFileNameReason(""), "the name is empty");
    EXPECT_EQ(UnsafeFileNameReason("."), "\".\" names the folder itself");
    EXPECT_EQ(UnsafeFileNameReason(".."), "\"..\" names the parent folder");
    EXPECT_EQ(UnsafeFileNameReason("a/../.."), "the name contains \"/\"");
    EXPECT_EQ(UnsafeFileNameReason(std::string("a\0b", 3)), "the name contains a NUL byte");
    for (const char* name : {"..a", "a..", "...", ".hidden", "SHOP"})
        EXPECT_TRUE(IsSafeFileName(name)) << name;
}

}  // namespace
}  // namespace morva::com

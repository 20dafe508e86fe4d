#include "cli/unified_diff.h"

#include <gtest/gtest.h>

namespace morva::cli {
namespace {

// Hunks as `diff -u` makes them: changes within six lines share a hunk, removed lines come
// before added ones, a count of one is left out, a missing last line feed is marked.
TEST(UnifiedDiffTest, HunksAsDiffMakesThem) {
    EXPECT_EQ(UnifiedDiff("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n", "a\nb\nC\nd\ne\nf\ng\nh\ni\nJ\nk",
                          "a/x", "b/x"),
              "--- a/x\n+++ b/x\n@@ -1,10 +1,11 @@\n a\n b\n-c\n+C\n d\n e\n f\n g\n h\n i\n-j\n"
              "+J\n+k\n\\ No newline at end of file\n");
    EXPECT_EQ(
        UnifiedDiff("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\n", "b\nc\nd\ne\nf\ng\nh\ni\nj\nk\nK\n", "a/x",
                    "b/x"),
        "--- a/x\n+++ b/x\n@@ -1,4 +1,3 @@\n-a\n b\n c\n d\n@@ -9,3 +8,4 @@\n i\n j\n k\n+K\n");
}

// A new file and a deleted one: the empty side names line 0; equal texts give nothing.
TEST(UnifiedDiffTest, EmptySidesAndEqualTexts) {
    EXPECT_EQ(UnifiedDiff("", "x\ny\n", "/dev/null", "b/x"),
              "--- /dev/null\n+++ b/x\n@@ -0,0 +1,2 @@\n+x\n+y\n");
    EXPECT_EQ(UnifiedDiff("x\n", "", "a/x", "/dev/null"),
              "--- a/x\n+++ /dev/null\n@@ -1 +0,0 @@\n-x\n");
    EXPECT_EQ(UnifiedDiff("same\r\n", "same\r\n", "a/x", "b/x"), "");
}

}  // namespace
}  // namespace morva::cli

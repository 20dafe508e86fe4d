#include "engine/script/kept_regions.h"

#include <gtest/gtest.h>

namespace morva::tpx {
namespace {

// Hand-written lines inside a region survive regeneration; everything outside follows the new
// text, and the marker lines themselves come from the new text.
TEST(KeptRegionsTest, BodiesComeFromTheFileOnDisk) {
    std::string generated =
        "head v2\r\n// MORVA-KEEP-BEGIN user\r\n// add code here\r\n// MORVA-KEEP-END user\r\n"
        "tail v2\r\n";
    std::string onDisk =
        "head v1\r\n# MORVA-KEEP-BEGIN user\r\nmine();\r\nmore();\r\n# MORVA-KEEP-END user\r\n"
        "tail v1\r\n";
    std::vector<KeptRegion> lost;
    EXPECT_EQ(MergeKeptRegions(generated, onDisk, &lost),
              "head v2\r\n// MORVA-KEEP-BEGIN user\r\nmine();\r\nmore();\r\n"
              "// MORVA-KEEP-END user\r\ntail v2\r\n");
    EXPECT_TRUE(lost.empty());
    // Applying the merge again changes nothing: a regenerated file is then up to date.
    std::string merged = MergeKeptRegions(generated, onDisk, nullptr);
    EXPECT_EQ(MergeKeptRegions(generated, merged, nullptr), merged);
}

// Regions are matched by name, not by position; a region the new text lacks is reported.
TEST(KeptRegionsTest, MatchedByNameAndLostOnesReported) {
    std::string generated =
        "MORVA-KEEP-BEGIN b\nnew b\nMORVA-KEEP-END b\nMORVA-KEEP-BEGIN c\nnew c\n"
        "MORVA-KEEP-END c\n";
    std::string onDisk =
        "MORVA-KEEP-BEGIN a\nold a\nMORVA-KEEP-END a\nMORVA-KEEP-BEGIN b\nold b\n"
        "MORVA-KEEP-END b\n";
    std::vector<KeptRegion> lost;
    EXPECT_EQ(MergeKeptRegions(generated, onDisk, &lost),
              "MORVA-KEEP-BEGIN b\nold b\nMORVA-KEEP-END b\nMORVA-KEEP-BEGIN c\nnew c\n"
              "MORVA-KEEP-END c\n");
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].name, "a");
    EXPECT_EQ(lost[0].body, "old a\n");
}

// Broken markers never swallow text: an unclosed region, a mismatched end, a marker glued to
// other letters and a repeated name are not regions.
TEST(KeptRegionsTest, MalformedMarkersAreNotRegions) {
    EXPECT_TRUE(FindKeptRegions("MORVA-KEEP-BEGIN a\nx\n").empty());
    EXPECT_TRUE(FindKeptRegions("MORVA-KEEP-BEGINa\nx\nMORVA-KEEP-END a\n").empty());
    auto regions = FindKeptRegions(
        "MORVA-KEEP-BEGIN a\nx\nMORVA-KEEP-END b\nMORVA-KEEP-END a\n"
        "MORVA-KEEP-BEGIN a\ny\nMORVA-KEEP-END a\nMORVA-KEEP-BEGIN e\nMORVA-KEEP-END e");
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].body, "x\nMORVA-KEEP-END b\n");
    EXPECT_EQ(regions[1].name, "e");
    EXPECT_EQ(regions[1].body, "");
    EXPECT_EQ(MergeKeptRegions("MORVA-KEEP-BEGIN a\nnew\n",
                               "MORVA-KEEP-BEGIN a\nold\n"
                               "MORVA-KEEP-END a\n",
                               nullptr),
              "MORVA-KEEP-BEGIN a\nnew\n");
}

}  // namespace
}  // namespace morva::tpx

#include "component/guid.h"

#include <gtest/gtest.h>

#include "component/testing/parse_guid.h"

namespace morva::com {
namespace {

using testing::ParseGuid;

TEST(GuidTest, TextFormRoundTripsAndRejectsMalformedText) {
    Guid g{0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(ToString(g), "{0123ABCD-4567-89EF-0123-456789ABCDEF}");
    EXPECT_EQ(ParseGuid("{0123abcd-4567-89ef-0123-456789abcdef}"), g);
    EXPECT_EQ(ParseGuid("0123ABCD-4567-89EF-0123-456789ABCDEF"), g);
    EXPECT_FALSE(ParseGuid("{0123ABCD-4567-89EF-0123-456789ABCDEG}"));
    EXPECT_FALSE(ParseGuid("{0123ABCD+4567-89EF-0123-456789ABCDEF}"));
    EXPECT_FALSE(ParseGuid("{0123ABCD-4567-89EF-0123-456789ABCDE}"));
    EXPECT_FALSE(ParseGuid(""));
}

}  // namespace
}  // namespace morva::com

#include <gtest/gtest.h>

#include "saver/host/cascade.h"

namespace {

TEST(Cascade, StepsTenRightWithYTenBelowX)
{
    int lastX = 0;
    CascadePosition first = NextCascadePosition(&lastX, 800, 600, 152, 114);
    EXPECT_EQ(10, first.x);
    EXPECT_EQ(20, first.y);
    CascadePosition second = NextCascadePosition(&lastX, 800, 600, 152, 114);
    EXPECT_EQ(20, second.x);
    EXPECT_EQ(30, second.y);
    EXPECT_EQ(20, lastX);
}

TEST(Cascade, SixtyFifthPopupWrapsOnAnSvgaScreen)
{
    int lastX = 0;
    CascadePosition at = {0, 0};
    for (int i = 0; i < 65; ++i)
        at = NextCascadePosition(&lastX, 800, 600, 152, 114);
    EXPECT_EQ(2, at.x);   // 650 mod 648
    EXPECT_EQ(12, at.y);  // (2 + 10) mod 486
}

TEST(Cascade, YWrapsWithinTheFreeHeight)
{
    int lastX = 490;
    CascadePosition at = NextCascadePosition(&lastX, 800, 600, 152, 114);
    EXPECT_EQ(500, at.x);
    EXPECT_EQ(24, at.y);  // 510 mod 486
}

TEST(Cascade, ScreenNoLargerThanThePopupGivesZeroInThatDimension)
{
    int lastX = 0;
    CascadePosition narrow = NextCascadePosition(&lastX, 152, 600, 152, 114);
    EXPECT_EQ(0, narrow.x);
    EXPECT_EQ(10, narrow.y);
    CascadePosition low = NextCascadePosition(&lastX, 800, 100, 152, 114);
    EXPECT_EQ(10, low.x);
    EXPECT_EQ(0, low.y);
    CascadePosition none = NextCascadePosition(&lastX, 0, 0, 152, 114);
    EXPECT_EQ(0, none.x);
    EXPECT_EQ(0, none.y);
}

}  // namespace

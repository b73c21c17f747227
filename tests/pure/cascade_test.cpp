#include <gtest/gtest.h>

#include "saver/session/session_area.h"
#include "saver/windows/cascade.h"

namespace {

void ExpectArea(const ScreenArea& expected, const ScreenArea& got)
{
    EXPECT_EQ(expected.x, got.x);
    EXPECT_EQ(expected.y, got.y);
    EXPECT_EQ(expected.width, got.width);
    EXPECT_EQ(expected.height, got.height);
}

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

TEST(SessionArea, EveryMonitorWhereTheSystemKnowsThemElseTheDesktop)
{
    struct Case {
        ScreenArea virtualScreen, desktop, expected;
    } cases[] = {
        {{-1280, 0, 2560, 1024}, {0, 0, 1280, 1024}, {-1280, 0, 2560, 1024}},  // left of primary
        {{0, -768, 1024, 1536}, {0, 0, 1024, 768}, {0, -768, 1024, 1536}},     // above it
        {{0, 0, 800, 600}, {0, 0, 800, 600}, {0, 0, 800, 600}},                // one monitor
        {{0, 0, 0, 0}, {0, 0, 640, 480}, {0, 0, 640, 480}},                    // Windows 95, NT 4.0
        {{0, 0, 1024, 0}, {0, 0, 640, 480}, {0, 0, 640, 480}},
        // A 150 % laptop (2880 by 1800) with a 100 % monitor right of it, in
        // the real pixels a program aware of each monitor's scale is given.
        {{0, 0, 4800, 1800}, {0, 0, 2880, 1800}, {0, 0, 4800, 1800}},
    };
    for (const Case& c : cases) {
        ExpectArea(c.expected, ChooseSessionArea(c.virtualScreen, c.desktop));
    }
}

// Each monitor's pane in the session window's own coordinates, left to right.
TEST(PaneAreas, EachMonitorInsideTheSessionAreaLeftToRight)
{
    const ScreenArea session = {-800, 0, 1824, 768};  // one monitor left of the primary
    std::vector<ScreenArea> panes = PaneAreas(
        {{0, 0, 1024, 768}, {-800, 100, 800, 600}, {5000, 0, 640, 480}, {-900, 0, 200, 100}},
        session);
    // The one far off is left out, the one half outside cut to the area.
    ASSERT_EQ(3u, panes.size());
    ExpectArea({0, 0, 100, 100}, panes[0]);
    ExpectArea({0, 100, 800, 600}, panes[1]);
    ExpectArea({800, 0, 1024, 768}, panes[2]);
    EXPECT_TRUE(PaneAreas({{0, 0, 0, 0}}, session).empty());

    // Monitors of different scales, in real pixels: each pane is its
    // monitor's whole size, the smaller one where it lies beside the other.
    std::vector<ScreenArea> mixed =
        PaneAreas({{2880, 720, 1920, 1080}, {0, 0, 2880, 1800}}, {0, 0, 4800, 1800});
    ASSERT_EQ(2u, mixed.size());
    ExpectArea({0, 0, 2880, 1800}, mixed[0]);
    ExpectArea({2880, 720, 1920, 1080}, mixed[1]);
}

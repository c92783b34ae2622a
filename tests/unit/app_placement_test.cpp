// The main window's stored place: its text in the settings and its way back onto a screen.
#include "core/session/placement.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace brevio;

namespace {

std::tuple<int, int, int, int> parts(const Placement& p)
{
    return {p.left, p.top, p.width, p.height};
}

} // namespace

TEST(AppPlacement, TextKeepsTheLastColumnAndRowInclusive)
{
    EXPECT_EQ(placementText({100, 121, 708, 470}), "100,121,807,590");
    EXPECT_EQ(placementFromText("100,121,807,590"), (Placement{100, 121, 708, 470}));
    EXPECT_EQ(placementFromText("-1200,-5, -1,  94 "), (Placement{-1200, -5, 1200, 100}));
    EXPECT_EQ(placementFromText("7,7,7,7"), (Placement{7, 7, 1, 1}));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "a,b,c,d", "1;2;3;4", "10,10,5,20", "10,10,20,9",
                            "1,2,3,4x", "0,0,99999999,10", "-2147483648,0,10,10"})
        EXPECT_FALSE(placementFromText(bad).has_value()) << bad;
}

TEST(AppPlacement, TheFrameIsFourMarginsOfAtMostAThousandPixels)
{
    EXPECT_EQ(frameText({4, 30, 5, 6}), "4,30,5,6");
    EXPECT_EQ(frameFromText("4,30,5,6"), (FrameMargins{4, 30, 5, 6}));
    EXPECT_EQ(frameFromText("0,0,0,1000"), (FrameMargins{0, 0, 0, 1000}));
    for (const char* bad : {"", "1,2,3", "-1,0,0,0", "0,0,1001,0", "a,b,c,d"})
        EXPECT_FALSE(frameFromText(bad).has_value()) << bad;
}

TEST(AppPlacement, AWindowMostlyOnAScreenStaysAnyOtherComesWholeOntoOneTitleBarAndAll)
{
    const std::vector<Placement> one = {{0, 0, 1280, 1024}};
    const std::vector<Placement> two = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const std::vector<Placement> underAPanel = {{0, 27, 1280, 997}};
    const std::vector<Placement> tiny = {{0, 0, 300, 200}};
    const FrameMargins frame{4, 30, 4, 4};
    struct Case
    {
        const char* what;
        std::vector<Placement> screens;
        Placement window;
        Placement expected;
    };
    const Case cases[] = {
        {"inside", one, {100, 121, 708, 470}, {100, 121, 708, 470}},
        {"its frame filling the screen", one, {4, 30, 1272, 990}, {4, 30, 1272, 990}},
        {"its title bar above the screen", one, {100, 10, 600, 400}, {100, 30, 600, 400}},
        {"a third past the right edge", one, {880, 100, 600, 400}, {880, 100, 600, 400}},
        {"two thirds past the right edge", one, {1080, 100, 600, 400}, {676, 100, 600, 400}},
        {"only its top-left corner on the screen", one, {1240, 1004, 700, 500}, {576, 520, 700, 500}},
        {"larger than the screen", one, {-50, -50, 2000, 1500}, {4, 30, 1272, 990}},
        {"under the desktop's panel", underAPanel, {100, 40, 600, 400}, {100, 57, 600, 400}},
        {"a screen smaller than the frame allows", tiny, {10, 10, 600, 400}, {4, 30, 292, 166}},
        {"on the second screen", two, {2000, 500, 600, 400}, {2000, 500, 600, 400}},
        {"mostly on the second screen", two, {1200, 100, 600, 400}, {1200, 100, 600, 400}},
        {"across two screens, more on the second", two, {1000, 100, 600, 400}, {1000, 100, 600, 400}},
        {"below the first screen", two, {100, 1500, 600, 400}, {100, 620, 600, 400}},
        {"no screen known", {}, {5000, 5000, 600, 400}, {5000, 5000, 600, 400}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parts(placeOnScreens(c.window, frame, c.screens)), parts(c.expected)) << c.what;
}

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

TEST(AppPlacement, AReachableWindowStaysAndALostOneComesToTheNearestScreen)
{
    const std::vector<Placement> one = {{0, 0, 1280, 1024}};
    const std::vector<Placement> two = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    struct Case
    {
        const char* what;
        std::vector<Placement> screens;
        Placement window;
        Placement expected;
    };
    const Case cases[] = {
        {"inside", one, {100, 121, 708, 470}, {100, 121, 708, 470}},
        {"its top-left corner still to grab", one, {1240, 1004, 700, 500}, {1240, 1004, 700, 500}},
        {"too little of its top on the screen", one, {1250, 100, 600, 400}, {680, 100, 600, 400}},
        {"right of every screen", one, {3000, 100, 600, 400}, {680, 100, 600, 400}},
        {"top above the screen", one, {100, -300, 600, 400}, {100, 0, 600, 400}},
        {"larger than the screen", one, {-50, -50, 2000, 1500}, {0, 0, 1280, 1024}},
        {"on the second screen", two, {2000, 500, 600, 400}, {2000, 500, 600, 400}},
        {"past the second screen", two, {4000, 200, 600, 400}, {2600, 200, 600, 400}},
        {"below the first screen", two, {100, 1500, 600, 400}, {100, 624, 600, 400}},
        {"no screen known", {}, {5000, 5000, 600, 400}, {5000, 5000, 600, 400}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parts(placeOnScreens(c.window, c.screens)), parts(c.expected)) << c.what;
}

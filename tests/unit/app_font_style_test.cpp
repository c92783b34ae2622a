// Which installed style of a typeface the font dialog opens on for a font's weight and slant.
#include "core/session/font_style.h"

#include <gtest/gtest.h>

using namespace brevio;

TEST(AppFontStyle, TheSameSlantThenTheNearestWeightThenTheNormalWidth)
{
    // As the font database lists a serif family: the condensed faces first.
    const std::vector<FaceStyle> serif = {
        {"Condensed Italic", 400, true}, {"Bold", 700, false},           {"Condensed Bold Italic", 700, true},
        {"Condensed", 400, false},       {"Condensed Bold", 700, false}, {"Italic", 400, true},
        {"Bold Italic", 700, true},      {"Book", 400, false},
    };
    const std::vector<FaceStyle> noRegular
        = {{"Medium", 500, false}, {"Light", 300, false}, {"Black", 900, false}};
    const std::vector<FaceStyle> thinOrLight = {{"Light", 300, false}, {"Thin", 100, false}};
    const std::vector<FaceStyle> uprightOnly = {{"Bold", 700, false}, {"Regular", 400, false}};
    const std::vector<FaceStyle> boldOrItalic = {{"Bold", 700, false}, {"Italic", 400, true}};
    struct Case
    {
        const char* what;
        const std::vector<FaceStyle>& styles;
        int weight;
        bool slanted;
        const char* expected;
    };
    const Case cases[] = {
        {"regular", serif, 400, false, "Book"},
        {"italic", serif, 400, true, "Italic"},
        {"bold", serif, 700, false, "Bold"},
        {"semibold takes the nearer bold", serif, 600, false, "Bold"},
        {"of two as near, the heavier for a regular font", noRegular, 400, false, "Medium"},
        {"and the lighter for a light one", thinOrLight, 200, false, "Thin"},
        {"no slanted face", uprightOnly, 400, true, "Regular"},
        {"the slant before the weight", boldOrItalic, 700, true, "Italic"},
    };
    for (const Case& c : cases) {
        const std::size_t chosen = nearestStyle(c.styles, c.weight, c.slanted);
        ASSERT_LT(chosen, c.styles.size()) << c.what;
        EXPECT_EQ(c.styles[chosen].name, c.expected) << c.what;
    }
    EXPECT_EQ(nearestStyle({}, 400, false), 0u);
}

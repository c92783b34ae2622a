#include "core/store/errors.h"
#include "core/store/links_file.h"
#include "core/store/time_shifts.h"

#include <gtest/gtest.h>

namespace brevio::store {

namespace {

void expectShift(std::string_view timesDat, std::string_view channel, int hours, int minutes)
{
    const TimeShift shift = TimeShiftTable(timesDat).shiftOf(channel);
    EXPECT_EQ(shift.hours, hours) << channel;
    EXPECT_EQ(shift.minutes, minutes) << channel;
}

} // namespace

TEST(TimeShifts, ReadsSignedHoursAndMinutes)
{
    expectShift("Kanal|-1|30\r\n", "Kanal", -1, 30);
    expectShift("A|2|0\nKanal|+1|-45", "Kanal", 1, -45);
    expectShift("Kanal| 3|  5\r\n", "Kanal", 3, 5);
}

TEST(TimeShifts, LastMatchingLineCounts)
{
    expectShift("Kanal|1|0\r\nOther|5|5\r\nKanal|2|15\r\n", "Kanal", 2, 15);
    // A broken old line does not block a corrected later one.
    expectShift("Kanal|x|0\r\nKanal|1|0\r\n", "Kanal", 1, 0);
}

TEST(TimeShifts, ChannelMustMatchExactly)
{
    const std::string_view file = "kanal|5|0\r\nSport 2|3|0\r\nSport|1|0\r\n";
    expectShift(file, "Kanal", 0, 0);
    expectShift(file, "Sport", 1, 0);
    expectShift(file, "Sport 2", 3, 0);
    expectShift(file, "Sport ", 0, 0);
    EXPECT_TRUE(TimeShiftTable("").shiftOf("Kanal").isZero());
    EXPECT_TRUE(TimeShiftTable("Kanal|0|0").shiftOf("Kanal").isZero());
    EXPECT_FALSE(TimeShiftTable("Kanal|0|1").shiftOf("Kanal").isZero());
}

TEST(TimeShifts, BadNumbersOfTheMatchingLineAreConversionErrors)
{
    EXPECT_NO_THROW(TimeShiftTable("Other|x|y\r\n").shiftOf("Kanal"));
    try {
        TimeShiftTable("Kanal|1|30 \r\n").shiftOf("Kanal");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'30 ' is not a valid integer value");
    }
    EXPECT_THROW(TimeShiftTable("Kanal|1|3|0").shiftOf("Kanal"), ConvertError); // minutes "3|0"
    EXPECT_THROW(TimeShiftTable("Kanal|1").shiftOf("Kanal"), ConvertError);
    EXPECT_THROW(TimeShiftTable("Kanal").shiftOf("Kanal"), ConvertError);
    EXPECT_THROW(TimeShiftTable("Kanal||0").shiftOf("Kanal"), ConvertError);
}

TEST(TimeShiftRewrite, AppendsANewChannel)
{
    EXPECT_EQ(withTimeShift("", "Kanal", {1, 30}), "Kanal|1|30\r\n");
    EXPECT_EQ(withTimeShift("A|1|1\r\n", "Kanal", {0, 0}), "A|1|1\r\nKanal|0|0\r\n");
}

TEST(TimeShiftRewrite, ReplacesEveryMatchInPlaceAndKeepsTheRest)
{
    const std::string_view old = "Sport 2|1|0\nKanal|1|0\r\nkanal|9|9\r\nKanal|bad\r\nZ|x\r\n";
    EXPECT_EQ(withTimeShift(old, "Kanal", {-2, -5}),
              "Sport 2|1|0\r\nKanal|-2|-5\r\nkanal|9|9\r\nKanal|-2|-5\r\nZ|x\r\n");
    const std::string once = withTimeShift("", "Kanal", {1, 0});
    EXPECT_EQ(withTimeShift(once, "Kanal", {2, 0}), "Kanal|2|0\r\n");
    expectShift(withTimeShift(old, "Kanal", {-2, -5}), "Kanal", -2, -5);
}

TEST(Links, HeadingsEntriesAndFields)
{
    const LinksMenu menu = parseLinks("i|News|Daily\r\n"
                                      "s|Agency|http://x/?a=1|b \r\n"
                                      "t|Label\r\n"
                                      "\r\n"
                                      "plain\r\n"
                                      "i\r\n"
                                      "s|Second|y\r\n");
    EXPECT_TRUE(menu.beforeFirstHeading.empty());
    ASSERT_EQ(menu.headings.size(), 2u);
    EXPECT_EQ(menu.headings[0].caption, "News|Daily");
    const auto& entries = menu.headings[0].entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].tag, "s");
    EXPECT_EQ(entries[0].caption, "Agency");
    EXPECT_EQ(entries[0].target, "http://x/?a=1|b "); // kept as it stands
    EXPECT_EQ(entries[1].tag, "t");
    EXPECT_EQ(entries[1].caption, "Label");
    EXPECT_EQ(entries[1].target, "");
    EXPECT_EQ(entries[2].tag, ""); // an empty line is an entry too
    EXPECT_EQ(entries[3].tag, "plain");
    EXPECT_EQ(entries[3].caption, "");
    EXPECT_EQ(menu.headings[1].caption, "");
    ASSERT_EQ(menu.headings[1].entries.size(), 1u);
    EXPECT_EQ(menu.headings[1].entries[0].caption, "Second");
}

TEST(Links, EntriesBeforeAnyHeadingAreKept)
{
    const LinksMenu menu = parseLinks("s|Top|t\r\ni|H\r\n");
    ASSERT_EQ(menu.beforeFirstHeading.size(), 1u);
    EXPECT_EQ(menu.beforeFirstHeading[0].caption, "Top");
    ASSERT_EQ(menu.headings.size(), 1u);
    EXPECT_TRUE(menu.headings[0].entries.empty());
    EXPECT_TRUE(parseLinks("").headings.empty());
}

TEST(Links, TargetOnlyForTagSAndTheFirstMatch)
{
    const std::string_view file = "i|Agency|x\r\n"
                                  "S|Agency|upper\r\n"
                                  "t|Agency|other tag\r\n"
                                  "s|Agency|first\r\n"
                                  "s|Agency|second\r\n"
                                  "s|Empty\r\n";
    EXPECT_EQ(findLinkTarget(file, "Agency"), "first");
    EXPECT_EQ(findLinkTarget(file, "Empty"), "");
    EXPECT_EQ(findLinkTarget(file, "agency"), std::nullopt);
    EXPECT_EQ(findLinkTarget(file, "Agency|x"), std::nullopt);
}

} // namespace brevio::store

#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/view/time_text.h"

#include <gtest/gtest.h>

namespace brevio::view {
namespace {

TEST(TimePrefixTest, TakesFourOrFiveCharactersByTheFirstSeparator)
{
    EXPECT_EQ(timePrefix("19.45 Film"), "19.45");
    EXPECT_EQ(timePrefix("7:30 News"), "7:30");
    EXPECT_EQ(timePrefix("7.3"), "7.3"); // shorter than four: what there is
    // A separator as 3rd character wins over one as 2nd.
    EXPECT_EQ(timePrefix("1.:45 x"), "1.:45");
    EXPECT_EQ(timePrefix("Kanal: 7.30"), "");
    EXPECT_EQ(timePrefix(""), "");
}

TEST(TimePrefixTest, InitialsAreNoTime)
{
    const std::string author = utf8ToCp1251("А.Б. Автор");
    EXPECT_EQ(timePrefix(author), author.substr(0, 4));
    EXPECT_FALSE(isTimedLine(author));
}

TEST(TimeTextTest, AcceptsOnlyTheFourShapesWithoutCheckingValues)
{
    for (const char* good : {"7.30", "7:30", "19.45", "19:45", "99.99", "00:00"})
        EXPECT_TRUE(isTimeText(good)) << good;
    for (const char* bad : {"7.3", "123.45", "7-30", "a.30", " 7.30", "19.4x", "1945", "19.45 "})
        EXPECT_FALSE(isTimeText(bad)) << bad;
    EXPECT_TRUE(isTimedLine("19.45 Film"));
    EXPECT_FALSE(isTimedLine("1945 Film"));
}

TEST(TimeOfDayTest, ReadsEitherSeparatorAndRefusesImpossibleTimes)
{
    EXPECT_EQ(timeOfDay("19.45"), 19 * 60 + 45);
    EXPECT_EQ(timeOfDay("7:05"), 7 * 60 + 5);
    EXPECT_EQ(timeOfDay("23:59"), 23 * 60 + 59);
    EXPECT_THROW(timeOfDay("24.00"), InvalidTimeError);
    EXPECT_THROW(timeOfDay("12.60"), InvalidTimeError);
    try {
        timeOfDay("25:10");
        FAIL();
    } catch (const InvalidTimeError& e) {
        EXPECT_STREQ(e.what(), "'25:10' is not a valid time");
    }
}

TEST(FormatTimeTest, WrapsIntoTheDay)
{
    EXPECT_EQ(formatTime(0), "00:00");
    EXPECT_EQ(formatTime(9 * 60 + 5), "09:05");
    EXPECT_EQ(formatTime(-30), "23:30");
    EXPECT_EQ(formatTime(24 * 60 + 30), "00:30");
    EXPECT_EQ(formatTime(-3 * 24 * 60 - 1), "23:59");
}

TEST(ShiftedTimeTest, PrefixesTimedLinesWithTheShiftedTime)
{
    EXPECT_EQ(withShiftedTime("23.30 Film", {1, 0}), "00:30 23.30 Film");
    EXPECT_EQ(withShiftedTime("0:15 News", {0, -30}), "23:45 0:15 News");
    EXPECT_EQ(withShiftedTime("19:00 Show", {-1, 30}), "18:30 19:00 Show");
    EXPECT_EQ(withShiftedTime("7.05 Cartoons", {25, 0}), "08:05 7.05 Cartoons");
}

TEST(ShiftedTimeTest, LeavesOtherLinesAndUnshiftedChannelsAlone)
{
    EXPECT_EQ(withShiftedTime("A film about cats", {1, 0}), "A film about cats");
    const std::string author = utf8ToCp1251("А.Б. Автор");
    EXPECT_EQ(withShiftedTime(author, {2, 0}), author);
    EXPECT_EQ(withShiftedTime("23.30 Film", {0, 0}), "23.30 Film");
    // Without a shift the time is never read, so an impossible one passes unnoticed.
    EXPECT_EQ(withShiftedTime("25.00 Film", {0, 0}), "25.00 Film");
    EXPECT_THROW(withShiftedTime("25.00 Film", {1, 0}), InvalidTimeError);
}

} // namespace
} // namespace brevio::view

#include "core/store/errors.h"
#include "core/view/now_view.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

namespace brevio::view {
namespace {

using namespace std::chrono;
using Lines = std::vector<std::string>;

// 12.01.2004 is a Monday.
constexpr year_month_day kMonday = 2004y / January / 12;

local_seconds at(int dayOfWeek, int hour, int minute, int second = 0)
{
    return local_days(kMonday) + days(dayOfWeek) + hours(hour) + minutes(minute) + seconds(second);
}

// A channel file of these lines.
std::string fileOf(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

Lines nowLines(local_seconds now, int lookAhead, const Lines& file, store::TimeShift shift = {})
{
    NowViewBuilder builder(now, lookAhead);
    builder.addChannel("Ch", fileOf(file), shift);
    return builder.lines();
}

TEST(NowWeekTest, TheWeekStartsOnTheMondayBeforeToday)
{
    EXPECT_EQ(weekMonday(at(6, 23, 59)), local_days(kMonday));
    EXPECT_EQ(weekMonday(at(0, 0, 0)), local_days(kMonday));
    EXPECT_EQ(weekMonday(at(7, 0, 0)), local_days(kMonday) + days(7));
    EXPECT_EQ(currentWeekFolder(at(2, 12, 0)), "12012004/");
    EXPECT_EQ(currentWeekFolder(local_days(2004y / March / 1) - seconds(1)), "23022004/");
}

TEST(NowWeekTest, ShiftHoursWrapKeepingTheirSign)
{
    EXPECT_EQ(nowShiftMinutes({25, -30}), 30);
    EXPECT_EQ(nowShiftMinutes({-26, 15}), -105);
}

TEST(NowViewTest, ListsTheShowOnAirOnlyWhenItBeganLessThanTwoHoursAgo)
{
    const Lines file{"Header", "", "18.00 Early", "Its description", "21.00 Later"};
    EXPECT_EQ(nowLines(at(0, 19, 59, 59), 0, file), (Lines{"18:00 18.00 Early - Ch"}));
    EXPECT_TRUE(nowLines(at(0, 20, 0), 0, file).empty());
    // A show starting exactly now is listed even without look-ahead.
    EXPECT_EQ(nowLines(at(0, 21, 0), 0, file), (Lines{"21:00 21.00 Later - Ch"}));
}

TEST(NowViewTest, OrdersByTimeOfDayAloneNearMidnight)
{
    const Lines file{"", "22.00 Evening", "23.30 Late", "00.30 Night", "06.00 Morning"};
    EXPECT_EQ(nowLines(at(0, 23, 0), 3, file),
              (Lines{"00:30 00.30 Night - Ch", "22:00 22.00 Evening - Ch", "23:30 23.30 Late - Ch"}));
}

TEST(NowViewTest, ThePreviousDayStaysUntilTimesFallBack)
{
    const Lines file{"", "06.00 A", "23.30 B", "01.00 C", " ", "06.00 D", "12.00 E"};
    EXPECT_EQ(nowLines(at(1, 7, 0), 0, file), (Lines{"06:00 06.00 D - Ch"}));
    EXPECT_EQ(nowLines(at(1, 0, 45), 1, file), (Lines{"01:00 01.00 C - Ch", "23:30 23.30 B - Ch"}));
}

TEST(NowViewTest, ShiftsMoveShowsAcrossMidnight)
{
    const Lines file{"", "20.00 Film", "23.30 Late", "00.30 Night", "06.00 Morning"};
    // +2 h: 23.30 airs at 01:30 on the next date.
    EXPECT_EQ(nowLines(at(1, 1, 0), 1, file, {2, 0}), (Lines{"01:30 23.30 Late - Ch"}));
    // -2 h: 00.30 airs at 22:30 on the date before it.
    EXPECT_EQ(nowLines(at(0, 22, 0), 1, file, {-2, 0}),
              (Lines{"21:30 23.30 Late - Ch", "22:30 00.30 Night - Ch"}));
}

TEST(NowViewTest, AFirstShowShiftedBeforeMidnightKeepsTheWeekInPlace)
{
    const Lines file{"", "00.30 Night", "06.00 Morning", "09.00 Later"};
    EXPECT_EQ(nowLines(at(0, 5, 0), 0, file, {-2, 0}), (Lines{"04:00 06.00 Morning - Ch"}));
}

TEST(NowViewTest, ForEqualTimesTheLaterChannelStandsHigher)
{
    NowViewBuilder builder(at(0, 20, 0), 0);
    builder.addChannel("One", fileOf({"", "19.30 Quiz", "20.00 Film"}), {});
    builder.addChannel("Two", fileOf({"", "18.45 Talk", "20:00 News", "20.15 Sport"}), {});
    builder.addChannel("Three", fileOf({"", "19.50 Ad", "20.10 More"}), {});
    EXPECT_EQ(builder.lines(),
              (Lines{"19:50 19.50 Ad - Three", "20:00 20:00 News - Two", "20:00 20.00 Film - One"}));
}

TEST(NowViewTest, AnImpossibleTimeStopsButKeepsWhatWasCollected)
{
    NowViewBuilder builder(at(0, 20, 0), 0);
    builder.addChannel("One", fileOf({"", "20.00 Film"}), {});
    EXPECT_THROW(builder.addChannel("Two", fileOf({"", "19.00 Fine", "24.30 Broken", "20.00 Never"}), {}),
                 InvalidTimeError);
    EXPECT_EQ(builder.lines(), (Lines{"20:00 20.00 Film - One"}));
}

// Starts never fall, so a channel is read only up to its first show past the look-ahead: what
// stands after it, even a time that is no time of day, is never needed.
TEST(NowViewTest, StopsReadingAChannelAtItsFirstShowPastTheLookAhead)
{
    const Lines file{"", "19.30 A", "20.30 B", "22.00 C", "24.99 Never read", "00.30 D"};
    EXPECT_EQ(nowLines(at(0, 20, 0), 1, file), (Lines{"19:30 19.30 A - Ch", "20:30 20.30 B - Ch"}));
    EXPECT_THROW(nowLines(at(0, 20, 0), 3, file), InvalidTimeError);
}

// Only the day blocks hold shows: not the header, however its text begins, nor what follows an
// eighth separator.
TEST(NowViewTest, TheHeaderAndWhatFollowsSundayAreNoShows)
{
    const Lines file{
        "19.00 TV, 12.01.2004 - 18.01.2004", "", "20.00 A", "", "", "", "", "", "", "", "21.00 B"};
    EXPECT_EQ(nowLines(at(0, 19, 30), 2, file), (Lines{"20:00 20.00 A - Ch"}));
}

class BuildNowViewTest : public ::testing::Test
{
protected:
    BuildNowViewTest()
        : m_cwd(m_dir.path())
    {
    }

    test::TempDir m_dir;
    test::ScopedCurrentDir m_cwd;
    Lines m_lines{"stale"};
};

TEST_F(BuildNowViewTest, WithoutTheWeeksChannelListTheViewIsEmpty)
{
    m_dir.write("05012004/aplp.dat", "Ch:ch.txt\r\n");
    m_dir.write("05012004/ch.txt", "\r\n20.00 Film\r\n");
    EXPECT_FALSE(buildNowView(at(0, 20, 0), 5, m_lines));
    EXPECT_TRUE(m_lines.empty());
}

TEST_F(BuildNowViewTest, AtMondayMidnightOnlyTheNewWeekIsRead)
{
    std::string lastWeek;
    for (int day = 0; day < 7; ++day)
        lastWeek += "\r\n20.00 Day\r\n23.30 Late\r\n00.30 Night " + std::to_string(day) + "\r\n";
    m_dir.write("05012004/aplp.dat", "Ch:ch.txt\r\n");
    m_dir.write("05012004/ch.txt", lastWeek);
    m_dir.write("12012004/aplp.dat", "Ch:ch.txt\r\n");
    m_dir.write("12012004/ch.txt", "Header\r\n\r\n01.00 First\r\n06.00 Morning\r\n");
    EXPECT_TRUE(buildNowView(at(0, 0, 10), 1, m_lines));
    EXPECT_EQ(m_lines, (Lines{"01:00 01.00 First - Ch"}));
}

TEST_F(BuildNowViewTest, SkipsMissingFilesAndStopsAtABadShiftKeepingEarlierLines)
{
    m_dir.write("12012004/aplp.dat", "One:one.txt\r\nGone:gone.txt\r\nTwo:two.txt\r\nThree:three.txt\r\n");
    m_dir.write("12012004/one.txt", "\r\n20.00 A\r\n");
    m_dir.write("12012004/two.txt", "\r\n19.30 B\r\n22.00 C\r\n");
    m_dir.write("12012004/three.txt", "\r\n20.00 D\r\n");
    m_dir.write("times.dat", "Two|1|0\r\nThree|one|0\r\n");
    try {
        buildNowView(at(0, 20, 0), 1, m_lines);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'one' is not a valid integer value");
    }
    EXPECT_EQ(m_lines, (Lines{"20:00 20.00 A - One", "20:30 19.30 B - Two"}));
}

// The files are read raw up to each LF; a CR still ends the line, and one among the first
// characters still makes the line untimed.
TEST_F(BuildNowViewTest, ReadsLinesFromFilesAsTheLineRuleCutsThem)
{
    const std::string file = "\r\n19.30\rlost\n20.30 B\rx\r\n1\r.30 C\n20:45 D";
    m_dir.write("12012004/aplp.dat", "Ch:ch.txt\r\n");
    m_dir.write("12012004/ch.txt", file);
    EXPECT_TRUE(buildNowView(at(0, 20, 0), 1, m_lines));
    EXPECT_EQ(m_lines, (Lines{"19:30 19.30 - Ch", "20:30 20.30 B - Ch", "20:45 20:45 D - Ch"}));
    NowViewBuilder fromText(at(0, 20, 0), 1);
    fromText.addChannel("Ch", file, {});
    EXPECT_EQ(fromText.lines(), m_lines);
}

TEST_F(BuildNowViewTest, OnlyTheLastTimesLineOfTheChannelCounts)
{
    m_dir.write("12012004/aplp.dat", "Ch:ch.txt\r\n");
    m_dir.write("12012004/ch.txt", "\r\n19.00 A\r\n21.00 B\r\n");
    m_dir.write("times.dat", "Ch|bad|0\r\nCh|1|0\r\nch|3|0\r\nOther|x|y\r\nCh 2|5|0");
    EXPECT_TRUE(buildNowView(at(0, 20, 0), 0, m_lines));
    EXPECT_EQ(m_lines, (Lines{"20:00 19.00 A - Ch"}));
}

} // namespace
} // namespace brevio::view

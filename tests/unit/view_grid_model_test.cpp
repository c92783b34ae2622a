// The programme grid's model: its boxes are the day view's shows, cut and shifted the same way,
// each running until the next; the shows in the selected lists are marked as the lists find
// them; and the look-ups the grid's keys and painting rely on.
#include "core/store/errors.h"
#include "core/store/file_names.h"
#include "core/view/day_view.h"
#include "core/view/grid_model.h"
#include "core/view/selected_shows.h"
#include "core/view/time_text.h"
#include "support/core/week_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace brevio::view {
namespace {

using test::cp;
using namespace std::chrono;

constexpr const char* kWeekDate = "07.12.2026";
constexpr const char* kWeekFolder = "07122026/";

// A time on the grid's clock: before the day's midnight with a minus, past 24:00 as it counts.
std::string clockText(long long minutes)
{
    char text[48];
    const long long m = minutes < 0 ? -minutes : minutes;
    std::snprintf(text, sizeof text, "%s%02lld:%02lld", minutes < 0 ? "-" : "", m / 60, m % 60);
    return text;
}

// "start-end title", "+" after an open end, "*" after a listed show; boxes joined by " | ".
std::string rowText(const GridDay& grid, int row)
{
    std::string text;
    for (const GridBox& box : grid.row(row)) {
        if (!text.empty())
            text += " | ";
        text += clockText(box.start) + "-" + clockText(box.end) + (box.openEnded ? "+ " : " ")
            + cp1251ToUtf8(grid.title(row, box)) + (box.listed ? "*" : "");
    }
    return text;
}

class GridModelTest : public ::testing::Test
{
protected:
    GridModelTest()
        : m_cd(m_work.path())
    {
        test::writeTrickyWeek(m_work);
        writeList(
            0,
            "12:00 ЁЛКИ-ПАЛКИ - первый\r\n23.30 - 1.10 23.30 Фильм\r\nФильм про ёжика, фильм о друзьях - "
            "Первый\r\n09:00 07.00 Утро - Вперёд\r\n");
        // A show after midnight stands in the next day's list; one before midnight does not.
        writeList(1, "06.00 НОВОСТИ - Первый\r\n1.10 Ночные новости - Первый\r\n");
        writeList(7, "0.30 Ночь - Первый\r\n");
        loadSelectedLists(kWeekFolder, m_lists);
    }

    void writeList(int list, const std::string& utf8)
    {
        m_work.write(std::string(kWeekFolder) + std::string(store::selectedListFile(list)), cp(utf8));
    }

    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
    SelectedLists m_lists;
};

TEST_F(GridModelTest, BoxesRunFromShowToShowAsTheDayViewCutsAndShiftsThem)
{
    const LoadedWeek week(kWeekFolder);
    const struct
    {
        int day;
        std::vector<std::string> rows;
        long long firstMinute, lastMinute;
    } cases[] = {
        {0,
         {// The last show of the evening runs until the channel's next morning.
          "06:00-12:00 НОВОСТИ | 12:00-23:30 Ёлки-палки* | 23:30-25:10 Фильм* | 25:10-30:00 Ночные новости*",
          // Two hours ahead: the late news airs after midnight; no Tuesday, so its end is open.
          "09:00-25:00 Утро* | 25:00-26:00+ Поздние новости", "",
          // Two hours behind: the first show airs on the Sunday before, its box starts there.
          "-00:30-04:00 Ночное кино | 04:00-27:00 Новости",
          // Hours and minutes of opposite signs: half an hour behind.
          "-00:15-18:30 News | 18:30-19:30+ Show", "",
          // Shows from an impossible time on are no boxes.
          "10:00-11:00+ Day",
          // A show followed by one at the same minute runs for no time at all.
          "19:00-19:00 A | 19:00-20:00 B | 20:00-21:00+ <C & D>", ""},
         -60,
         30 * 60},
        {1,
         {"06:00-07:00+ Новости дня", "", "", "03:00-04:00+ Утро", "", "08:00-09:00+ Tuesday", "", "", ""},
         0,
         24 * 60},
        // Sunday has no next day in the week: its last show is open-ended, and one after
        // midnight stands in the list of the Monday after.
        {6, {"20:00-24:30 Воскресенье | 24:30-25:30+ Ночь*", "", "", "", "", "", "", "", ""}, 0, 26 * 60},
    };
    for (const auto& c : cases) {
        const GridDay grid(week, kWeekDate, c.day, m_lists);
        ASSERT_EQ(grid.rowCount(), 9);
        std::vector<std::string> rows;
        for (int row = 0; row < grid.rowCount(); ++row)
            rows.push_back(rowText(grid, row));
        EXPECT_EQ(rows, c.rows) << "day " << c.day;
        EXPECT_EQ(grid.firstMinute(), c.firstMinute) << "day " << c.day;
        EXPECT_EQ(grid.lastMinute(), c.lastMinute) << "day " << c.day;
    }
    ASSERT_EQ(week.problems().size(), 3u);
    EXPECT_TRUE(week.problems()[0].starts_with("Нет файла: ")) << week.problems()[0];

    // A list changed: the marks follow it.
    GridDay grid(week, kWeekDate, 0, m_lists);
    grid.markListed({});
    EXPECT_EQ(rowText(grid, 1), "09:00-25:00 Утро | 25:00-26:00+ Поздние новости");
}

// Every box against the day view's own panes (read channel by channel, as a click on the
// channel reads them) and the selected lists' own duplicate rule: the same shows at the times
// the panes show, and marked exactly when adding them would say they are there already.
TEST_F(GridModelTest, EveryBoxIsAShowOfTheDayPaneAndMarkedAsAddingItWouldFindIt)
{
    const LoadedWeek week(kWeekFolder);
    int listed = 0;
    for (int day = 0; day < kWeekDays; ++day) {
        const GridDay grid(week, kWeekDate, day, m_lists);
        for (int row = 0; row < grid.rowCount(); ++row) {
            ChannelDays days;
            try {
                loadChannelDays(kWeekFolder, row, days);
            } catch (const Error&) {
                EXPECT_TRUE(grid.row(row).empty());
                continue;
            }
            const auto& pane = days.panes[static_cast<std::size_t>(day)];
            std::vector<int> timedLines;
            for (std::size_t i = 1; i < pane.size(); ++i)
                if (isTimedLine(pane[i]))
                    timedLines.push_back(static_cast<int>(i));
            std::vector<int> boxLines;
            for (const GridBox& box : grid.row(row)) {
                boxLines.push_back(box.line);
                const std::string& line = pane[static_cast<std::size_t>(box.line)];
                SCOPED_TRACE(cp1251ToUtf8(line));
                EXPECT_EQ(wrapToDay(box.start), timeOfDay(timePrefix(line)));
                EXPECT_TRUE(line.ends_with(grid.title(row, box)));
                AddShowResult added;
                const auto block = showBlockAt(pane, lineStart(pane, box.line));
                ASSERT_TRUE(block);
                addShowToList({pane, *block, days.channelName, false, m_lists[day], m_lists[day + 1]}, added);
                EXPECT_EQ(box.listed, added.outcome == AddOutcome::Duplicate);
                listed += box.listed ? 1 : 0;
            }
            std::sort(boxLines.begin(), boxLines.end());
            // Only a channel cut short by an impossible time has lines without boxes, the last.
            const bool whole = week.channels()[static_cast<std::size_t>(row)].problem.empty();
            timedLines.resize(whole ? timedLines.size() : boxLines.size());
            EXPECT_EQ(boxLines, timedLines) << "day " << day << ", row " << row;
        }
    }
    EXPECT_EQ(listed, 5);
}

TEST_F(GridModelTest, FindsBoxesByTimeAndRowsWithShows)
{
    const LoadedWeek week(kWeekFolder);
    const GridDay grid(week, kWeekDate, 0, m_lists);
    // Row 0: 06:00-12:00, 12:00-23:30, 23:30-25:10, 25:10-30:00.
    const struct
    {
        long long from, to;
        std::pair<int, int> boxes;
        int at, near;
    } cases[] = {
        {0, 6 * 60, {0, 0}, -1, 0}, // before the first show
        {6 * 60, 6 * 60 + 1, {0, 1}, 0, 0},   {11 * 60, 13 * 60, {0, 2}, 0, 0},
        {12 * 60, 12 * 60 + 1, {1, 2}, 1, 1}, // a show owns its start, not its end
        {25 * 60, 31 * 60, {2, 4}, 2, 2},     {30 * 60, 31 * 60, {4, 4}, -1, 3}, // after the last show
    };
    for (const auto& c : cases) {
        EXPECT_EQ(grid.boxesIn(0, c.from, c.to), c.boxes) << c.from;
        EXPECT_EQ(grid.boxAt(0, c.from), c.at) << c.from;
        EXPECT_EQ(grid.boxNear(0, c.from), c.near) << c.from;
    }
    EXPECT_EQ(grid.boxNear(2, 600), -1); // a row without shows
    EXPECT_EQ(grid.boxAt(7, 19 * 60), 1); // never the box that runs for no time

    // Rows 2, 5 and 8 have no shows.
    EXPECT_EQ(grid.rowWithShows(1, 1), 3);
    EXPECT_EQ(grid.rowWithShows(3, -1), 1);
    EXPECT_EQ(grid.rowWithShows(4, 1), 6);
    EXPECT_EQ(grid.rowWithShows(7, 1), -1);
    EXPECT_EQ(grid.rowWithShows(0, -1), -1);
}

TEST_F(GridModelTest, NowIsCountedOnTheShownDaysClock)
{
    const LoadedWeek week(kWeekFolder);
    const auto lateMonday = local_days(2026y / December / 8) + hours(1);
    const GridDay monday(week, kWeekDate, 0, m_lists);
    const GridDay tuesday(week, "07-12-2026", 1, m_lists);
    EXPECT_EQ(monday.minuteOf(lateMonday), 25 * 60);
    EXPECT_EQ(tuesday.minuteOf(lateMonday), 60);
    EXPECT_EQ(monday.minuteOf(local_days(2026y / December / 6) + hours(23) + minutes(59) + seconds(59)), -1);
    EXPECT_EQ(monday.boxAt(0, *monday.minuteOf(lateMonday)), 2); // the film is on
    EXPECT_FALSE(GridDay(week, "", 0, m_lists).minuteOf(lateMonday));
}

} // namespace
} // namespace brevio::view

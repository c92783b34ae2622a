// Reminders: the file's grammar, when each reminder comes (shifts, shows after midnight, a
// daylight-saving change), and the due check on a fixed clock: shown once, snoozed, missed while
// closed, shows that left the store, the selected lists.
#include "core/reminders/reminder_book.h"
#include "core/reminders/reminder_console.h"
#include "core/store/cp1251.h"
#include "core/view/week_search.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

namespace brevio::reminders {
namespace {

using namespace std::chrono;
using Lines = std::vector<std::string>;

// Central European time: its clock skipped 02:00-03:00 on Sunday 31.03.2024.
constexpr const char* kZoneWithChange = "CET-1CEST,M3.5.0,M10.5.0/3";

local_seconds at(year_month_day day, int hour, int minute)
{
    return local_days(day) + hours(hour) + minutes(minute);
}

std::string text(local_seconds moment)
{
    const local_days day = floor<days>(moment);
    const year_month_day date(day);
    const auto inDay = duration_cast<minutes>(moment - day).count();
    char out[24];
    std::snprintf(out, sizeof out, "%02u.%02u %02d:%02d", unsigned(date.day()), unsigned(date.month()),
                  int(inDay / 60), int(inDay % 60));
    return out;
}

ShowKey key(const char* week, const char* channel, int day, int hour, int minute, const char* title)
{
    return {week, channel, day, hour * 60 + minute, title};
}

// Two weeks: 12.01.2004 (Monday) with a channel as its file says and one two hours ahead, and
// 25.03.2024, whose Sunday the clock skips an hour.
class RemindersTest : public ::testing::Test
{
protected:
    RemindersTest()
        : m_cd(m_work.path())
    {
        m_work.write("dats.dat", "12.01.2004\r\n25.03.2024\r\n");
        m_work.write("times.dat", "Plus|2|0\r\n");
        m_work.write("12012004/aplp.dat", "One:one.txt\r\nPlus:plus.txt\r\n");
        m_work.write("12012004/one.txt",
                     "Header\r\n\r\n19.45 Film\r\nAbout it\r\n21.00 News\r\n23.30 Late\r\n"
                     "00.30 Night\r\n\r\n06.00 Morning\r\n");
        m_work.write("12012004/plus.txt", "\r\n22.30 Shifted\r\n23.30 Next\r\n");
        m_work.write("25032024/aplp.dat", "One:one.txt\r\n");
        m_work.write("25032024/one.txt", "\r\n\r\n\r\n\r\n\r\n\r\n\r\n01.00 Early\r\n03.30 Spring\r\n");
    }

    ReminderBook::Check checkAt(ReminderBook& book, local_seconds now, ReminderOptions options = {})
    {
        m_clock.set(now);
        return book.check(options);
    }

    static Lines titles(const std::vector<ScheduledReminder>& reminders)
    {
        Lines out;
        for (const ScheduledReminder& r : reminders)
            out.push_back(r.reminder.show.title);
        return out;
    }

    test::ScopedTimeZone m_zone{kZoneWithChange};
    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
    FixedClock m_clock{at(2004y / January / 12, 12, 0)};
};

TEST(ReminderLineTest, ReadsItsGrammarAndRefusesTheRest)
{
    const Reminder snoozed{key("12.01.2004", "One", 6, 0, 30, "A\ttabbed title"), ReminderState::Snoozed,
                           at(2004y / January / 19, 0, 27) + seconds(9)};
    EXPECT_EQ(reminderLine(snoozed),
              "12.01.2004\tOne\t7\t00:30\tA\ttabbed title\tsnoozed 2004-01-19 00:27:09");
    const auto back = parseReminderLine(reminderLine(snoozed));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->show, snoozed.show);
    EXPECT_EQ(back->snoozedUntil, snoozed.snoozedUntil);
    EXPECT_EQ(parseReminderLine("12.01.2004\tOne\t1\t9.05\t\tshown")->show.fileMinutes, 9 * 60 + 5);
    for (const char* bad : {
             "32.01.2004\tOne\t1\t19:45\tFilm\tpending", // no day of the calendar
             "12.01.2004\tOne\t8\t19:45\tFilm\tpending", // no weekday
             "12.01.2004\tOne\t1\t24:00\tFilm\tpending", // no time of day
             "12.01.2004\tOne\t1\t19:45\tFilm\tlater", // no state
             "12.01.2004\tOne\t1\t19:45\tFilm\tsnoozed 2004-02-30 10:00:00",
             "12.01.2004\t\t1\t19:45\tFilm\tpending", // no channel
             "12.01.2004\tOne\t1\t19:45\tpending", // no title
         })
        EXPECT_FALSE(parseReminderLine(bad)) << bad;
}

// The search window keys the shows it found as the day view keys its own: shifted channels and
// shows after midnight included.
TEST_F(RemindersTest, AFoundShowHasTheKeyOfTheDayViewsShow)
{
    std::set<ShowKey> dayView;
    view::readWeekChannels("12012004/", {}, [&](view::ChannelWeek& channel) {
        for (const view::PaneShow& show : channel.shows)
            dayView.insert(showKey("12.01.2004", channel, show));
    });
    const view::WeekSearch week("12012004/");
    std::set<ShowKey> found;
    for (std::uint32_t i = 0; i < week.showCount(); ++i) {
        const view::FoundShow& show = week.show(i);
        found.insert(showKey("12.01.2004", week.channelName(show.channel), week.shiftMinutes(show.channel),
                             show.day, show.airMinutes, week.title(i)));
    }
    EXPECT_EQ(found, dayView);
    EXPECT_TRUE(found.contains(key("12.01.2004", "Plus", 0, 22, 30, "Shifted")));
    EXPECT_TRUE(found.contains(key("12.01.2004", "One", 0, 0, 30, "Night")));
}

TEST_F(RemindersTest, TheFileKeepsRemindersAndGivesBackLinesItCannotRead)
{
    const std::string cyrillic = utf8ToCp1251("Фильм");
    ReminderFile file{{{key("12.01.2004", "One", 0, 19, 45, cyrillic.c_str()), ReminderState::Shown, {}}},
                      {"a line of a later version"}};
    writeReminderFile(file);
    m_work.write("reminders.dat", m_work.read("reminders.dat") + "\r\n\r\n");
    const ReminderFile back = readReminderFile();
    ASSERT_EQ(back.reminders.size(), 1u);
    EXPECT_EQ(back.reminders[0].show, file.reminders[0].show);
    EXPECT_EQ(back.reminders[0].state, ReminderState::Shown);
    EXPECT_EQ(back.unreadable, file.unreadable);
    std::filesystem::remove(m_work / "reminders.dat");
    EXPECT_TRUE(readReminderFile().reminders.empty());
}

TEST_F(RemindersTest, ComesBeforeTheStartTheDayViewShows)
{
    const struct
    {
        ShowKey show;
        int minutesBefore;
        const char* start;
        const char* end; // the next show, or half an hour when none follows
        const char* comes;
    } cases[] = {
        {key("12.01.2004", "One", 0, 19, 45, "Film"), 5, "12.01 19:45", "12.01 21:00", "12.01 19:40"},
        // After midnight in Monday's pane: Tuesday; the day before when the reminder is early.
        {key("12.01.2004", "One", 0, 0, 30, "Night"), 5, "13.01 00:30", "13.01 06:00", "13.01 00:25"},
        {key("12.01.2004", "One", 0, 0, 30, "Night"), 120, "13.01 00:30", "13.01 06:00", "12.01 22:30"},
        {key("12.01.2004", "One", 1, 6, 0, "Morning"), 0, "13.01 06:00", "13.01 06:30", "13.01 06:00"},
        // Shifted two hours past midnight.
        {key("12.01.2004", "Plus", 0, 22, 30, "Shifted"), 5, "13.01 00:30", "13.01 01:30", "13.01 00:25"},
        // An hour before 03:30 on the day the clock skips 02:00-03:00 is 01:30, not 02:30.
        {key("25.03.2024", "One", 6, 3, 30, "Spring"), 60, "31.03 03:30", "31.03 04:00", "31.03 01:30"},
        {key("25.03.2024", "One", 6, 1, 0, "Early"), 30, "31.03 01:00", "31.03 03:30", "31.03 00:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.show.title + " " + std::to_string(c.minutesBefore));
        const Schedule schedule = buildSchedule({Reminder{c.show}}, {c.minutesBefore, false}, m_clock.now());
        ASSERT_EQ(schedule.reminders.size(), 1u);
        const ScheduledReminder& r = schedule.reminders[0];
        EXPECT_EQ(text(r.start), c.start);
        EXPECT_EQ(text(r.end), c.end);
        EXPECT_EQ(text(r.comes), c.comes);
        EXPECT_TRUE(schedule.gone.empty());
    }
}

TEST_F(RemindersTest, ComesOnceAndAgainWhenSnoozedAndLeavesWithItsShow)
{
    const ShowKey film = key("12.01.2004", "One", 0, 19, 45, "Film");
    const auto monday = 2004y / January / 12;
    {
        ReminderBook book(m_clock);
        book.add(film);
        const auto before = checkAt(book, at(monday, 19, 39) + seconds(59));
        EXPECT_TRUE(before.due.empty());
        EXPECT_EQ(titles(before.upcoming), Lines{"Film"});
        const auto check = checkAt(book, at(monday, 19, 40));
        EXPECT_EQ(titles(check.due), Lines{"Film"});
        EXPECT_TRUE(check.upcoming.empty()); // shown: nothing more to come
        EXPECT_EQ(check.due[0].line, 2); // under the channel name and the day's separator
        EXPECT_TRUE(checkAt(book, at(monday, 19, 41)).due.empty());
    }
    ReminderBook restarted(m_clock); // shown: not again after a restart
    EXPECT_TRUE(checkAt(restarted, at(monday, 19, 42)).due.empty());
    restarted.snooze(film);
    const auto snoozed = checkAt(restarted, at(monday, 19, 46) + seconds(59));
    EXPECT_TRUE(snoozed.due.empty());
    EXPECT_EQ(titles(snoozed.upcoming), Lines{"Film"});
    EXPECT_EQ(titles(checkAt(restarted, at(monday, 19, 47)).due), Lines{"Film"});
    EXPECT_EQ(restarted.reminders().size(), 1u);
    const auto over = checkAt(restarted, at(monday, 21, 0));
    EXPECT_TRUE(over.due.empty() && over.notes.empty());
    EXPECT_TRUE(readReminderFile().reminders.empty());
}

TEST_F(RemindersTest, MissedWhileClosedComesWhileTheShowIsOnAndIsDroppedQuietlyAfter)
{
    const struct
    {
        ShowKey show;
        local_seconds start; // of the program
        bool shown;
    } cases[] = {
        {key("12.01.2004", "One", 0, 19, 45, "Film"), at(2004y / January / 12, 20, 59), true},
        {key("12.01.2004", "One", 0, 19, 45, "Film"), at(2004y / January / 12, 21, 0), false},
        {key("12.01.2004", "One", 1, 6, 0, "Morning"), at(2004y / January / 13, 6, 29), true},
        {key("12.01.2004", "One", 1, 6, 0, "Morning"), at(2004y / January / 13, 6, 30), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.show.title + " at " + text(c.start));
        writeReminderFile({{Reminder{c.show}}, {}});
        ReminderBook book(m_clock);
        const auto check = checkAt(book, c.start);
        EXPECT_EQ(check.due.size(), c.shown ? 1u : 0u);
        EXPECT_TRUE(check.notes.empty());
        EXPECT_EQ(readReminderFile().reminders.size(), c.shown ? 1u : 0u);
    }
}

TEST_F(RemindersTest, ShowsThatLeftTheStoreAreDroppedWithANoteUnreadableChannelsKeepTheirs)
{
    m_work.write("12012004/aplp.dat", "One:one.txt\r\nPlus:plus.txt\r\nLost:lost.txt\r\n");
    writeReminderFile({{Reminder{key("19.01.2004", "One", 0, 19, 45, "Film")},
                        Reminder{key("12.01.2004", "Gone", 0, 19, 45, "Film")},
                        Reminder{key("12.01.2004", "One", 0, 19, 45, "Film, changed")},
                        Reminder{key("12.01.2004", "Lost", 0, 19, 45, "Film")},
                        Reminder{key("12.01.2004", "One", 0, 19, 45, "Film")}},
                       {}});
    ReminderBook book(m_clock);
    const auto check = checkAt(book, at(2004y / January / 12, 12, 0));
    EXPECT_EQ(
        check.notes,
        (Lines{"the reminder of \"Film\" on Gone (week 12.01.2004) was dropped: its channel is no longer "
               "in the week",
               "the reminder of \"Film, changed\" on One (week 12.01.2004) was dropped: the show is no "
               "longer in the listing",
               "the reminder of \"Film\" on One (week 19.01.2004) was dropped: its week was deleted",
               "reminders not checked: 12.01.2004, Lost: File not found\n12012004/lost.txt"}));
    const auto kept = readReminderFile().reminders;
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].show.channel, "Lost");
    EXPECT_EQ(kept[1].show.channel, "One");
}

TEST_F(RemindersTest, EverySelectedShowWhenAskedUnlessDismissed)
{
    m_work.write("12012004/selpn", "19.45 Film - One\r\n21.00 News - One\r\n");
    m_work.write("12012004/selvt", "A note of my own\r\n00:30 22.30 Shifted - Plus\r\n");
    const ReminderOptions every{5, true};
    const auto monday = 2004y / January / 12;
    EXPECT_TRUE(buildSchedule({}, {}, at(monday, 12, 0)).reminders.empty());
    EXPECT_EQ(titles(buildSchedule({}, every, at(monday, 12, 0)).reminders),
              (Lines{"Film", "News", "Shifted"}));
    // Not a week still to come: its lists are not read.
    EXPECT_TRUE(buildSchedule({}, every, at(2004y / January / 21, 0, 0)).reminders.empty());

    ReminderBook book(m_clock);
    book.remove(key("12.01.2004", "One", 0, 21, 0, "News"));
    EXPECT_EQ(titles(checkAt(book, at(monday, 19, 40), every).due), Lines{"Film"});
    EXPECT_TRUE(checkAt(book, at(monday, 20, 56), every).due.empty());
    EXPECT_EQ(titles(checkAt(book, at(2004y / January / 13, 0, 25), every).due), Lines{"Shifted"});
    EXPECT_TRUE(checkAt(book, at(2004y / January / 13, 0, 26), every).due.empty());
}

TEST_F(RemindersTest, TheConsoleListsWhatIsToComeAndSaysWhatItCannotRead)
{
    writeReminderFile({{Reminder{key("12.01.2004", "Plus", 0, 22, 30, "Shifted")},
                        Reminder{key("12.01.2004", "One", 0, 19, 45, "Film"), ReminderState::Shown}},
                       {"garbage"}});
    std::ostringstream out, err;
    EXPECT_EQ(printReminders(at(2004y / January / 12, 12, 0), {}, out, err), 1);
    EXPECT_EQ(out.str(), "2004-01-13 00:25\t2004-01-13 00:30\tPlus\tShifted\n");
    EXPECT_EQ(err.str(), "brevio: reminders.dat: not a reminder: garbage\n");
}

} // namespace
} // namespace brevio::reminders

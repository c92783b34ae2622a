// One table of listings as grabbers write them, imported into a store and read back by every
// reader of a week: the search (what `--search` prints), the XMLTV, iCalendar and JTV exports
// and the "now" view. Each must find every show on the day it airs.
#include "core/exchange/jtv_writer.h"
#include "core/exchange/selected_calendar.h"
#include "core/exchange/store_import.h"
#include "core/exchange/week_listing.h"
#include "core/exchange/xmltv_export.h"
#include "core/exchange/xmltv_writer.h"
#include "core/session/clock.h"
#include "core/store/cp1251.h"
#include "core/view/console_commands.h"
#include "core/view/day_view.h"
#include "core/view/selected_shows.h"
#include "core/view/time_text.h"
#include "core/view/week_search.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"
#include "support/core/zip_entries.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace brevio::exchange {
namespace {

using namespace std::chrono;
using Lines = std::vector<std::string>;
using AirTimes = std::map<std::string, long long>; // title (UTF-8): minutes after the Monday 00:00

constexpr sys_days kMonday = 2026y / December / 7;

struct Dated
{
    const char* channel;
    std::string title;
    int day, hour, minute; // when it airs (day from the Monday; 7 the Monday after)
};

std::vector<Dated> datedShows()
{
    std::vector<Dated> shows = {
        {"Среда", "Полночь", 2, 0, 0}, // a listing from Wednesday 00:00, as grabbers write "from today"
        {"Среда", "Ночь среды", 2, 0, 30},
        {"Среда", "Утро среды", 2, 6, 0},
        {"Вторник", "Утро вторника", 1, 7, 0}, // off air on Monday
        {"Вторник", "Полдень вторника", 1, 12, 0},
        {"Вторник", "Вечер вторника", 1, 19, 0},
        {"Вечер", "Вечер четверга", 3, 21, 0}, // 00:30 after an evening
        {"Вечер", "После полуночи", 4, 0, 30},
        {"Вечер", "Утро пятницы", 4, 7, 0},
        {"Понедельник", "Ночь понедельника", 0, 0, 30}, // nothing on the Sunday before
        {"Понедельник", "Утро понедельника", 0, 8, 0},
    };
    for (int day = 0; day < 7; ++day) { // a full week, each night after its evening
        const std::string n = std::to_string(day + 1);
        shows.insert(shows.end(),
                     {{"Полная", "День " + n, day, 9, 0},
                      {"Полная", "Поздно " + n, day, 23, 30},
                      {"Полная", "Ночь " + n, day + 1, 1, 0}});
    }
    return shows;
}

class ShowDatingTest : public ::testing::Test
{
protected:
    ShowDatingTest()
        : m_cd(m_work.path())
    {
        std::ostringstream xml;
        XmltvWriter writer(xml, "test");
        std::map<std::string, std::string> ids;
        for (const Dated& show : m_shows) {
            if (ids.emplace(show.channel, "c" + std::to_string(ids.size()) + ".example").second)
                writer.channel({ids.at(show.channel), {{"ru", show.channel}}, 0});
            m_expected[show.title] = show.day * 1440 + show.hour * 60 + show.minute;
        }
        for (auto show = m_shows.rbegin(); show != m_shows.rend(); ++show) { // in no helpful order
            XmltvProgramme programme;
            programme.channel = ids.at(show->channel);
            programme.start = {sys_seconds(kMonday) + minutes(m_expected[show->title]) - hours(3), 180};
            programme.titles = {{"ru", show->title}};
            writer.programme(programme);
        }
        writer.finish();
        m_work.write("listing.xml", xml.str());
        EXPECT_EQ(importListings({m_work / "listing.xml"}, ListingOptions{}).addedWeeks, Lines{"07.12.2026"});
    }

    // Moscow is three hours ahead of UTC all year.
    static long long airMinutes(sys_seconds moment)
    {
        return (moment + hours(3) - sys_seconds(kMonday)) / 1min;
    }

    test::ScopedTimeZone m_zone{"Europe/Moscow"};
    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
    const std::vector<Dated> m_shows = datedShows();
    AirTimes m_expected;
};

TEST_F(ShowDatingTest, AFullWeekIsLaidOutAsEver)
{
    std::string file = utf8ToCp1251("Полная, 07.12.2026 - 13.12.2026\r\n");
    for (int day = 1; day <= 7; ++day) {
        const std::string n = std::to_string(day);
        file
            += utf8ToCp1251("\r\n09:00 День " + n + "\r\n23:30 Поздно " + n + "\r\n01:00 Ночь " + n + "\r\n");
    }
    EXPECT_EQ(m_work.read("07122026/c4.example.txt"), file);
}

TEST_F(ShowDatingTest, TheSearchAndTheExportsGiveEveryShowItsDay)
{
    AirTimes search;
    const view::WeekSearch week("07122026/");
    for (std::uint32_t i = 0; i < week.showCount(); ++i)
        search[cp1251ToUtf8(week.title(i))] = week.show(i).airMinutes;
    EXPECT_EQ(search, m_expected);

    const WeekListing listing = readWeekListing("07.12.2026");
    struct : XmltvSink
    {
        void channel(XmltvChannel&&) override { }
        void programme(XmltvProgramme&& p) override { times[p.titles.at(0).text] = airMinutes(p.start.utc); }
        AirTimes times;
    } xmltv;
    ExportCount count;
    m_work.write("export.xml", weekToXmltv(listing, count));
    readXmltvFile(m_work / "export.xml", xmltv);
    EXPECT_EQ(xmltv.times, m_expected);

    // JTV: each index entry's wall-clock start and the title it points at.
    const auto number = [](const std::string& bytes, std::size_t at, int size) {
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
        return value;
    };
    AirTimes jtv;
    const auto files = test::unzipped(weekToJtv(listing).archive);
    for (const auto& [name, ndx] : files) {
        if (!name.ends_with(".ndx"))
            continue;
        const std::string& pdt = files.at(name.substr(0, name.size() - 4) + ".pdt");
        for (std::size_t at = 2; at + 12 <= ndx.size(); at += 12) {
            const std::size_t title = number(ndx, at + 10, 2);
            jtv[cp1251ToUtf8(pdt.substr(title + 2, number(pdt, title, 2)))]
                = static_cast<long long>((number(ndx, at + 2, 8) - jtvFileTime(kMonday, 0)) / 600'000'000);
        }
    }
    EXPECT_EQ(jtv, m_expected);
}

TEST_F(ShowDatingTest, TheCalendarStartsEverySelectedShowOnItsDay)
{
    // Every show picked from its day pane, as a click puts it into a selected list.
    view::SelectedLists lists;
    view::ChannelDays days;
    for (int index = 0; (view::loadChannelDays("07122026/", index, days), days.found); ++index) {
        for (std::size_t day = 0; day < 7; ++day) {
            const Lines& pane = days.panes[day];
            for (int line = 2; line < int(pane.size()); ++line) {
                view::AddShowResult added;
                view::addShowToList({pane,
                                     {view::lineStart(pane, line), int(pane[std::size_t(line)].size())},
                                     days.channelName,
                                     false,
                                     lists[day],
                                     lists[day + 1]},
                                    added);
                ASSERT_EQ(added.outcome, view::AddOutcome::Added) << pane[std::size_t(line)];
                lists[std::size_t(view::targetListIndex(int(day), added.target))] = added.targetLines;
            }
        }
    }
    AirTimes calendar;
    for (const CalendarEvent& event : selectedEvents(readWeekListing("07.12.2026"), lists))
        calendar[event.summary] = airMinutes(event.start);
    EXPECT_EQ(calendar, m_expected);
}

TEST_F(ShowDatingTest, TheNowViewListsWhatIsOnAtEachClock)
{
    const struct
    {
        int day, hour, minute, lookAhead;
        const char* lines;
    } clocks[] = {
        {0, 0, 40, 0, "00:30 00:30 Ночь понедельника - Понедельник\n"},
        {1, 12, 10, 1, "12:00 12:00 Полдень вторника - Вторник\n"},
        {2, 0, 10, 1,
         "00:00 00:00 Полночь - Среда\n00:30 00:30 Ночь среды - Среда\n01:00 01:00 Ночь 2 - Полная\n"
         "23:30 23:30 Поздно 2 - Полная\n"},
        {4, 0, 40, 0, "00:30 00:30 После полуночи - Вечер\n23:30 23:30 Поздно 4 - Полная\n"},
        {6, 23, 50, 2, "01:00 01:00 Ночь 7 - Полная\n23:30 23:30 Поздно 7 - Полная\n"},
    };
    for (const auto& c : clocks) {
        const FixedClock clock(local_days(kMonday.time_since_epoch()) + days(c.day) + hours(c.hour)
                               + minutes(c.minute));
        std::ostringstream out, err;
        EXPECT_EQ(printNowView(clock.now(), c.lookAhead, out, err), 0);
        EXPECT_EQ(out.str(), c.lines) << c.day << " " << c.hour << ":" << c.minute;
    }
}

} // namespace
} // namespace brevio::exchange

// One table of listings as grabbers write them, imported into a store and read back by every
// reader of a week: the search (`--search`, over the week's shows), the XMLTV, iCalendar and
// JTV exports and the "now" view. Each must find every show on the day it airs.
#include "app/clock.h"
#include "app/console_commands.h"
#include "app/string_table.h"
#include "exchange/jtv_writer.h"
#include "exchange/selected_calendar.h"
#include "exchange/store_import.h"
#include "exchange/week_listing.h"
#include "exchange/xmltv_export.h"
#include "exchange/xmltv_reader.h"
#include "exchange/xmltv_writer.h"
#include "store/channel_list.h"
#include "store/cp1251.h"
#include "store/file_io.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"
#include "support/core/zip_entries.h"
#include "view/day_view.h"
#include "view/selected_shows.h"
#include "view/time_text.h"
#include "view/week_lists.h"
#include "view/week_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace brevio::exchange {
namespace {

using namespace std::chrono;
using Lines = std::vector<std::string>;

constexpr sys_days kMonday = 2026y / December / 7;

struct DatedShow
{
    const char* channel; // its name, also the XMLTV id's stem
    std::string title;
    int day; // on which it airs, from the Monday (7: the Monday after)
    int hour, minute;

    int airMinutes() const { return day * view::kMinutesPerDay + hour * 60 + minute; }
    // Moscow is three hours ahead of UTC all year.
    sys_seconds moment() const { return sys_seconds(kMonday) + minutes(airMinutes()) - hours(3); }
};

std::vector<DatedShow> datedShows()
{
    std::vector<DatedShow> shows = {
        // A listing from Wednesday 00:00, as most grabbers write "from today".
        {"Среда", "Полночь", 2, 0, 0},
        {"Среда", "Ночь среды", 2, 0, 30},
        {"Среда", "Утро среды", 2, 6, 0},
        // A channel off air on Monday.
        {"Вторник", "Утро вторника", 1, 7, 0},
        {"Вторник", "Полдень вторника", 1, 12, 0},
        {"Вторник", "Вечер вторника", 1, 19, 0},
        // A show at 00:30 after an evening.
        {"Вечер", "Вечер четверга", 3, 21, 0},
        {"Вечер", "После полуночи", 4, 0, 30},
        {"Вечер", "Утро пятницы", 4, 7, 0},
        // A Monday 00:30 with nothing on the Sunday before.
        {"Понедельник", "Ночь понедельника", 0, 0, 30},
        {"Понедельник", "Утро понедельника", 0, 8, 0},
    };
    // A full week, its nights after its evenings (Sunday's on the Monday after).
    for (int day = 0; day < 7; ++day) {
        const std::string n = std::to_string(day + 1);
        shows.push_back({"Полная", "День " + n, day, 9, 0});
        shows.push_back({"Полная", "Поздно " + n, day, 23, 30});
        shows.push_back({"Полная", "Ночь " + n, day + 1, 1, 0});
    }
    return shows;
}

std::string cp(std::string_view utf8)
{
    return utf8ToCp1251(utf8);
}

class ShowDatingTest : public ::testing::Test
{
protected:
    ShowDatingTest()
        : m_cd(m_work.path())
    {
        // Shows without a stop, in no particular order, each with a line to search for.
        std::ostringstream xml;
        XmltvWriter writer(xml, "test");
        std::map<std::string, std::string> ids;
        for (const DatedShow& show : m_shows)
            ids.emplace(show.channel, "c" + std::to_string(ids.size()) + ".example");
        for (const auto& [name, id] : ids)
            writer.channel({id, {{"ru", name}}, 0});
        for (auto show = m_shows.rbegin(); show != m_shows.rend(); ++show) {
            XmltvProgramme programme;
            programme.channel = ids.at(show->channel);
            programme.start = {show->moment(), 180};
            programme.titles = {{"ru", show->title}};
            programme.descriptions = {{"ru", "эфир"}};
            writer.programme(programme);
        }
        writer.finish();
        m_work.write("listing.xml", xml.str());
        const ImportSummary summary = importListings({m_work / "listing.xml"}, ListingOptions{});
        EXPECT_EQ(summary.addedWeeks, Lines{"07.12.2026"});
    }

    const DatedShow& show(std::string_view title) const
    {
        const auto found = std::find_if(m_shows.begin(), m_shows.end(),
                                        [&](const DatedShow& s) { return s.title == title; });
        EXPECT_NE(found, m_shows.end()) << title;
        return found != m_shows.end() ? *found : m_shows.front();
    }

    test::ScopedTimeZone m_zone{"Europe/Moscow"};
    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
    const std::vector<DatedShow> m_shows = datedShows();
};

TEST_F(ShowDatingTest, AFullWeekIsLaidOutAsEver)
{
    std::string fileName;
    for (const std::string& line : store::readLines("07122026/aplp.dat"))
        if (const auto entry = store::splitChannelLine(line); entry.name == cp("Полная"))
            fileName = entry.fileName;
    std::string expected = cp("Полная, 07.12.2026 - 13.12.2026\r\n");
    for (int day = 1; day <= 7; ++day) {
        const std::string n = std::to_string(day);
        expected += cp("\r\n09:00 День " + n + "\r\nэфир\r\n23:30 Поздно " + n + "\r\nэфир\r\n01:00 Ночь " + n
                       + "\r\nэфир\r\n");
    }
    EXPECT_EQ(m_work.read("07122026/" + fileName), expected);
}

TEST_F(ShowDatingTest, TheSearchFindsEveryShowOnItsDay)
{
    std::ostringstream out, err;
    EXPECT_EQ(printSearch("эфир", kEnglishOffset, out, err), 0);
    EXPECT_EQ(err.str(), "");
    std::size_t rows = 0;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line); ++rows) {
        const std::string title = line.substr(line.rfind('\t') + 1);
        const DatedShow& expected = show(title);
        EXPECT_EQ(line,
                  view::airDayText(expected.day, "07.12.2026", kEnglishOffset) + "\t"
                      + view::formatTime(expected.airMinutes()) + "\t" + expected.channel + "\t" + title);
    }
    EXPECT_EQ(rows, m_shows.size());
}

// Keeps what an XMLTV file holds.
struct Programmes : XmltvSink
{
    void channel(XmltvChannel&&) override { }
    void programme(XmltvProgramme&& programme) override { all.push_back(std::move(programme)); }
    std::vector<XmltvProgramme> all;
};

TEST_F(ShowDatingTest, TheXmltvExportGivesEveryShowItsMoment)
{
    ExportCount count;
    m_work.write("export.xml", weekToXmltv(readWeekListing("07.12.2026"), count));
    Programmes read;
    readXmltvFile(m_work / "export.xml", read);
    ASSERT_EQ(read.all.size(), m_shows.size());
    for (const XmltvProgramme& programme : read.all) {
        const DatedShow& expected = show(programme.titles.at(0).text);
        EXPECT_EQ(programme.start.utc, expected.moment()) << expected.title;
        EXPECT_EQ(programme.start.offsetMinutes, 180);
    }
}

TEST_F(ShowDatingTest, TheCalendarStartsEverySelectedShowOnItsDay)
{
    // Every show picked from its day pane, as a click puts it in a selected list.
    view::SelectedLists lists;
    const auto names = view::loadChannelNames("07122026/");
    for (int index = 0; index < int(names.size()); ++index) {
        view::ChannelDays days;
        view::loadChannelDays("07122026/", index, days);
        for (int day = 0; day < 7; ++day) {
            const Lines& pane = days.panes[std::size_t(day)];
            for (int line = 2; line < int(pane.size()); ++line) {
                if (!view::isTimedLine(pane[std::size_t(line)]))
                    continue;
                const view::Selection highlight{view::lineStart(pane, line),
                                                int(pane[std::size_t(line)].size())};
                view::AddShowResult result;
                view::addShowToList({pane, highlight, days.channelName, false, lists[std::size_t(day)],
                                     lists[std::size_t(day) + 1]},
                                    result);
                ASSERT_EQ(result.outcome, view::AddOutcome::Added) << pane[std::size_t(line)];
                lists[std::size_t(view::targetListIndex(day, result.target))] = result.targetLines;
            }
        }
    }
    const auto events = selectedEvents(readWeekListing("07.12.2026"), lists);
    ASSERT_EQ(events.size(), m_shows.size());
    for (const CalendarEvent& event : events)
        EXPECT_EQ(event.start, show(event.summary).moment()) << event.summary;
}

TEST_F(ShowDatingTest, TheJtvIndexGivesEveryShowItsStart)
{
    const auto files = test::unzipped(weekToJtv(readWeekListing("07.12.2026")).archive);
    std::map<std::string, std::vector<std::uint64_t>> expected, written;
    for (const DatedShow& s : m_shows)
        expected[s.channel].push_back(jtvFileTime(kMonday, s.airMinutes()));
    for (auto& [channel, starts] : expected) {
        std::sort(starts.begin(), starts.end());
        const std::string ndx = files.at(cp(channel) + ".ndx");
        for (std::size_t at = 2 + 2; at + 8 <= ndx.size(); at += 12) {
            std::uint64_t start = 0;
            for (int i = 7; i >= 0; --i)
                start = start << 8 | std::uint8_t(ndx[at + std::size_t(i)]);
            written[channel].push_back(start);
        }
    }
    EXPECT_EQ(written, expected);
}

TEST_F(ShowDatingTest, TheNowViewListsWhatIsOnAtEachClock)
{
    const struct
    {
        int day, hour, minute, lookAhead;
        Lines lines;
    } clocks[] = {
        {0, 0, 40, 0, {"00:30 00:30 Ночь понедельника - Понедельник"}},
        {1, 12, 10, 1, {"12:00 12:00 Полдень вторника - Вторник"}},
        {2,
         0,
         10,
         1,
         {"00:00 00:00 Полночь - Среда", "00:30 00:30 Ночь среды - Среда", "01:00 01:00 Ночь 2 - Полная",
          "23:30 23:30 Поздно 2 - Полная"}},
        {4, 0, 40, 0, {"00:30 00:30 После полуночи - Вечер", "23:30 23:30 Поздно 4 - Полная"}},
        {6, 23, 50, 2, {"01:00 01:00 Ночь 7 - Полная", "23:30 23:30 Поздно 7 - Полная"}},
    };
    for (const auto& c : clocks) {
        const FixedClock clock(local_days(kMonday.time_since_epoch()) + days(c.day) + hours(c.hour)
                               + minutes(c.minute));
        std::ostringstream out, err;
        EXPECT_EQ(printNowView(clock.now(), c.lookAhead, out, err), 0);
        Lines lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << "day " << c.day << " " << c.hour << ":" << c.minute;
    }
}

} // namespace
} // namespace brevio::exchange

// A week of the store written for other programs, each file checked by an outside reader:
// XMLTV by the format's validator and by our own import, iCalendar by python3-icalendar, JTV
// byte by byte and through libzip.
#include "core/exchange/jtv_writer.h"
#include "core/exchange/selected_calendar.h"
#include "core/exchange/store_import.h"
#include "core/exchange/week_listing.h"
#include "core/exchange/xmltv_export.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/view/week_lists.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"
#include "support/core/zip_entries.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <tuple>

namespace brevio::exchange {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

std::string cp(const char* utf8)
{
    return utf8ToCp1251(utf8);
}

// A channel file written with LF line ends: each becomes CR LF, and the text CP1251. A header,
// then a block per day, each opened by an empty line.
std::string channelFile(const char* utf8)
{
    std::string text;
    for (const char c : cp(utf8))
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

struct CommandResult
{
    int status = -1;
    std::string output;
};

CommandResult run(const std::string& command)
{
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The week of 07.12.2026: a channel with after-midnight shows, descriptions and text that XML
// and calendars must escape, and a channel an hour ahead (times.dat) whose late shows move
// past midnight. Its times follow the listings' own day (05:00 to 05:00), so an import gives
// every show the same day back.
class WeekExportTest : public ::testing::Test
{
protected:
    WeekExportTest()
        : m_cd(m_work.path())
    {
        m_work.write("dats.dat", "07.12.2026\r\n");
        m_work.write("times.dat", cp("НТВ|1|0\r\n"));
        m_work.write("07122026/aplp.dat", cp("Первый канал:perviy.txt\r\nНТВ:ntv.txt\r\n"));
        m_work.write(
            "07122026/perviy.txt",
            channelFile("Программа\n"
                        "\n06.00 Доброе утро\n09.00 Новости\nВыпуск, в котором; всё \"важное\"\n"
                        "Второй абзац & <прочее>\n23.30 Фильм «Ёлки»\n00.30 Ночные новости\n"
                        "\n6:00 Утро\n21.00 Концерт «Песни, которые мы любим; и те, что поём» — часть "
                        "вторая, с оркестром \\ хором\n23.00 Ночной эфир\n"
                        "\n\n\n\n"
                        "\n10.00 Воскресенье\n00.15 Последний\n"));
        m_work.write(
            "07122026/ntv.txt",
            channelFile("Программа\n\n07.00 Сегодня\n23.30 Поздний эфир\n01.00 Ночь\n\n\n08.00 Сериал\n"
                        "Серия 5\n"));
    }

    test::ScopedTimeZone m_zone{"Europe/Moscow"};
    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
};

// A channel's shows as a comparable value: start, end, title, description lines.
using ShowRow = std::tuple<long long, std::optional<long long>, std::string, std::vector<std::string>>;
std::map<std::string, std::vector<ShowRow>> byChannel(const WeekListing& week)
{
    std::map<std::string, std::vector<ShowRow>> channels;
    for (const ListedChannel& channel : week.channels)
        for (const ListedShow& show : channel.shows)
            channels[channel.name].emplace_back(show.airMinutes, show.endMinutes, show.title,
                                                show.description);
    return channels;
}

TEST_F(WeekExportTest, XmltvPassesTheValidatorAndImportsBackToTheSameWeek)
{
    const WeekListing week = readWeekListing("07.12.2026");
    ExportCount count;
    const std::string xml = weekToXmltv(week, count);
    EXPECT_EQ(count.channels, 2u);
    EXPECT_EQ(count.shows, 13u);
    // The local offset, and a stop where the next show is known and near.
    EXPECT_NE(xml.find("start=\"20261207060000 +0300\" stop=\"20261207090000 +0300\""), std::string::npos);
    EXPECT_NE(xml.find("start=\"20261207090000 +0300\" channel="), std::string::npos);
    // The shifted channel airs an hour later than its file says.
    EXPECT_NE(xml.find("start=\"20261208003000 +0300\""), std::string::npos);

    test::TempDir other;
    other.write("listing.xml", xml);
    const CommandResult verdict
        = run("XMLTV_SUPPLEMENT=/usr/share/xmltv tv_validate_file " + (other / "listing.xml").string());
    EXPECT_EQ(verdict.status, 0) << verdict.output << xml;

    // Imported into an empty working folder, the listing gives the same shows on the same days.
    const auto original = byChannel(week);
    {
        const test::ScopedCurrentDir cd(other.path());
        const ImportSummary summary = importListings({other / "listing.xml"}, ListingOptions{});
        EXPECT_EQ(summary.addedWeeks, std::vector<std::string>{"07.12.2026"});
        EXPECT_EQ(summary.loss.count, 0u);
        EXPECT_EQ(byChannel(readWeekListing("07.12.2026")), original);
    }
}

TEST(ShowEndTest, AShowEndsAtTheNextShowUnlessAGapLiesBetween)
{
    const long long six = kLongestKnownEnd.count();
    const struct
    {
        long long air, next;
        std::optional<long long> end;
    } cases[] = {
        {600, 660, 660},
        {600, 600 + six, 600 + six},
        {600, 601 + six, std::nullopt}, // a sparse listing: Wednesday's show ran until Sunday
        {600, 600, std::nullopt},
        {600, 500, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(showEnd(c.air, c.next), c.end) << c.air << " " << c.next;
}

TEST_F(WeekExportTest, OnlyTheChosenChannelsAndNeverAPartialWeek)
{
    ExportCount count;
    const std::string xml
        = weekToXmltv(readWeekListing("07.12.2026", [](int index) { return index == 1; }), count);
    EXPECT_EQ(count.channels, 1u);
    EXPECT_EQ(count.shows, 4u);
    EXPECT_EQ(xml.find("perviy"), std::string::npos);

    // A channel whose file is gone: the export says which, rather than leave its shows out.
    fs::remove(m_work / "07122026/perviy.txt");
    try {
        readWeekListing("07.12.2026");
        FAIL() << "a channel without its file was exported";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Первый канал"), std::string::npos) << e.what();
    }
    EXPECT_NO_THROW(readWeekListing("07.12.2026", [](int index) { return index == 1; }));
}

// Prints each event of a calendar file as python3-icalendar reads it, one a line.
constexpr const char* kCalendarReader = R"(import sys, datetime, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
utc = datetime.timezone.utc
for ev in cal.walk('VEVENT'):
    end = ev.decoded('DTEND').astimezone(utc).strftime('%d %H:%M') if 'DTEND' in ev else '-'
    alarms = ev.walk('VALARM')
    remind = str(int(alarms[0].decoded('TRIGGER').total_seconds() // 60)) if alarms else '-'
    print('\t'.join([ev.decoded('DTSTART').astimezone(utc).strftime('%d %H:%M'), end, str(ev['SUMMARY']),
                     str(ev['DESCRIPTION']).replace('\n', '|'), remind, str(ev['UID'])]))
)";

TEST_F(WeekExportTest, CalendarReadsBackWithEveryStartEndAndSummary)
{
    m_work.write("07122026/selpn",
                 cp("09.00 Новости\r\nВыпуск, в котором; всё \"важное\" - Первый канал\r\n"
                    "23.30 - 00.30 23.30 Фильм «Ёлки» - Первый канал\r\n"));
    m_work.write(
        "07122026/selvt",
        cp("00:30 23.30 Поздний эфир - НТВ\r\n"
           "21.00 Концерт «Песни, которые мы любим; и те, что поём» — часть вторая, с оркестром \\ хором"
           " - Первый канал\r\n"));
    m_work.write("07122026/selsr", cp("не передача, а строка без времени\r\n"));
    m_work.write("07122026/selsledpn", cp("00.15 Последний - Первый канал\r\n"));
    const WeekListing week = readWeekListing("07.12.2026");
    view::SelectedLists lists;
    view::loadSelectedLists("07122026/", lists);
    const auto events = selectedEvents(week, lists);
    const std::string text = calendarText(events, 15, sys_days(2026y / December / 9) + hours(10));

    // Every line ends with CR LF within 75 octets, and a fold never cuts a character.
    std::size_t folds = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string_view line(text.data() + at, end - at);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), line.npos) << line;
        if (line.starts_with(' ')) {
            ++folds;
            EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << line;
        }
        at = end + 2;
    }
    EXPECT_GE(folds, 2u);
    // Text values escaped as the format says (readers are lenient about a bare comma).
    std::string unfolded = text;
    for (std::size_t at; (at = unfolded.find("\r\n ")) != std::string::npos;)
        unfolded.erase(at, 3);
    EXPECT_NE(
        unfolded.find("SUMMARY:Концерт «Песни\\, которые мы любим\\; и те\\, что поём» — часть вторая\\, с "
                      "оркестром \\\\ хором\r\n"),
        std::string::npos)
        << unfolded;

    test::TempDir other;
    other.write("read.py", kCalendarReader);
    other.write("week.ics", text);
    const CommandResult read
        = run("/usr/bin/python3 " + (other / "read.py").string() + " " + (other / "week.ics").string());
    ASSERT_EQ(read.status, 0) << read.output;
    std::vector<std::string> lines;
    std::set<std::string> uids;
    std::istringstream out(read.output);
    for (std::string line; std::getline(out, line);) {
        const std::size_t uid = line.rfind('\t');
        uids.insert(line.substr(uid + 1));
        lines.push_back(line.substr(0, uid));
    }
    // Moscow is three hours ahead of UTC. Ends: carried by the entry, else the channel's next
    // show when it is near; the week's last show has none.
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "07 06:00\t-\tНовости\tПервый канал|Выпуск, в котором; всё \"важное\"\t-15",
                  "07 20:30\t07 21:30\tФильм «Ёлки»\tПервый канал\t-15",
                  "07 21:30\t07 23:00\tПоздний эфир\tНТВ\t-15",
                  "08 18:00\t08 20:00\tКонцерт «Песни, которые мы любим; и те, что поём» — часть вторая, с "
                  "оркестром \\ хором\tПервый канал\t-15",
                  "13 21:15\t-\tПоследний\tПервый канал\t-15",
              }))
        << read.output << text;
    EXPECT_EQ(uids.size(), 5u);
    // A show keeps its identity when the lists change around it, so a calendar that imports the
    // file again updates the event instead of doubling it.
    lists[0].insert(lists[0].begin(), cp("06.00 Доброе утро - Первый канал"));
    const auto again = selectedEvents(week, lists);
    ASSERT_EQ(again.size(), 6u);
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(again[i + 1].uid, events[i].uid) << i;

    // An entry whose time is no time of day stops the export with a message, not a wrong day.
    lists[2] = {cp("25.10 Ошибка - НТВ")};
    EXPECT_THROW(selectedEvents(week, lists), Error);
}

std::string le16(unsigned value)
{
    return {char(value & 0xFF), char(value >> 8)};
}

std::string le64(std::uint64_t value)
{
    std::string bytes;
    for (int i = 0; i < 8; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

TEST(JtvTest, FilesHoldHeaderLengthsStartsAndOffsets)
{
    const std::string header = std::string("JTV 3.x TV Program Data") + "\n\n\n";
    // 07.12.2026 09:00 as it stands on the wall clock, in 100 ns steps since 1601.
    const std::uint64_t nine = jtvFileTime(sys_days(2026y / December / 7), 9 * 60);
    EXPECT_EQ(nine, 134411076000000000ull);
    EXPECT_EQ(jtvFileTime(sys_days(2026y / December / 6), 24 * 60 + 9 * 60), nine);

    const auto files = jtvChannelFiles({{nine, "A"}, {nine + 1, cp("Вести")}, {nine + 2, "A"}});
    ASSERT_TRUE(files);
    EXPECT_EQ(files->pdt, header + le16(1) + "A" + le16(5) + cp("Вести"));
    // A repeated title points at its first copy: 26 is "A", 29 is "Вести".
    EXPECT_EQ(files->ndx,
              le16(3) + le16(0) + le64(nine) + le16(26) + le16(0) + le64(nine + 1) + le16(29) + le16(0)
                  + le64(nine + 2) + le16(26));
    EXPECT_EQ(jtvChannelFiles({})->ndx, le16(0));
}

TEST(JtvTest, OffsetsThatWouldPass64KiBAreRefusedNeverWrapped)
{
    const std::size_t room = 0xFFFF - 26 - 2; // the first title's bytes that put the next at 0xFFFF
    struct Case
    {
        const char* what;
        std::vector<std::string> titles;
        bool fits;
    };
    const Case cases[] = {
        {"the last title's length at offset 0xFFFF", {std::string(room, 'x'), "y"}, true},
        {"one byte more", {std::string(room + 1, 'x'), "y"}, false},
        {"a title of 64 KiB", {std::string(0x10000, 'x')}, false},
        {"a title of 65535 bytes", {std::string(0xFFFF, 'x')}, true},
        {"many shows, few titles", std::vector<std::string>(30000, std::string(1000, 'x')), true},
        {"many different titles",
         [] {
             std::vector<std::string> titles;
             for (int i = 0; i < 70; ++i)
                 titles.push_back(std::to_string(i) + std::string(1000, 'x'));
             return titles;
         }(),
         false},
        {"more shows than a count holds", std::vector<std::string>(0x10000, "x"), false},
    };
    for (const Case& c : cases) {
        std::vector<JtvShow> shows;
        for (const std::string& title : c.titles)
            shows.push_back({1, title});
        const auto files = jtvChannelFiles(shows);
        EXPECT_EQ(files.has_value(), c.fits) << c.what;
        if (!files)
            continue;
        // Every offset points at a length field whose title is the show's.
        const std::string& pdt = files->pdt;
        for (std::size_t i = 0; i < shows.size(); i += 997) {
            const std::size_t record = 2 + i * 12;
            const auto offset = std::size_t(std::uint8_t(files->ndx[record + 10]))
                | std::size_t(std::uint8_t(files->ndx[record + 11])) << 8;
            const auto length
                = std::size_t(std::uint8_t(pdt[offset])) | std::size_t(std::uint8_t(pdt[offset + 1])) << 8;
            ASSERT_EQ(pdt.substr(offset + 2, length), shows[i].title) << c.what << " show " << i;
        }
    }
}

TEST_F(WeekExportTest, JtvArchiveHoldsAPairPerChannelAndNamesWhatItLeftOut)
{
    // A third channel whose titles cannot all be pointed at, and a name no file system takes.
    std::string file = cp("Программа") + "\r\n\r\n";
    for (int i = 0; i < 70; ++i)
        file += "10.00 " + std::to_string(i) + std::string(1000, 'x') + "\r\n";
    m_work.write("07122026/big.txt", file);
    m_work.write("07122026/aplp.dat",
                 cp("Первый канал:perviy.txt\r\nНТВ:ntv.txt\r\nБольшой/канал:big.txt\r\n"));

    const JtvExport jtv = weekToJtv(readWeekListing("07.12.2026"));
    EXPECT_EQ(jtv.channels, 2u);
    EXPECT_EQ(jtv.shows, 13u);
    EXPECT_EQ(jtv.refused, std::vector<std::string>{cp("Большой/канал")});
    const auto files = test::unzipped(jtv.archive);
    ASSERT_EQ(files.size(), 4u);
    const std::string ntv = files.at(cp("НТВ.ndx"));
    ASSERT_EQ(ntv.size(), 2u + 4 * 12);
    EXPECT_EQ(ntv.substr(0, 2), le16(4));
    // The shifted channel's late show: Monday 23.30 in its file, Tuesday 00:30 on the wall clock.
    EXPECT_EQ(ntv.substr(2 + 12 + 2, 8), le64(jtvFileTime(sys_days(2026y / December / 8), 30)));
    EXPECT_TRUE(files.at(cp("Первый канал.pdt")).starts_with("JTV 3.x TV Program Data\n\n\n"));

    // Two names that differ only in letter case, or in a character files cannot hold, stay apart.
    std::vector<std::string> taken;
    EXPECT_EQ(jtvFileStem(cp("Кино: Премьера"), taken), cp("Кино_ Премьера"));
    EXPECT_EQ(jtvFileStem(cp("КИНО_ премьера"), taken), cp("КИНО_ премьера (2)"));
    EXPECT_EQ(jtvFileStem("..", taken), "_");
}

} // namespace
} // namespace brevio::exchange

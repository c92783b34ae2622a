#include "core/exchange/day_layout.h"
#include "core/exchange/exchange_errors.h"
#include "core/exchange/show_lines.h"
#include "core/exchange/week_builder.h"
#include "core/exchange/xmltv_reader.h"
#include "core/exchange/xmltv_time.h"
#include "core/store/cp1251.h"
#include "core/store/file_io.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/block_dating.h"
#include "core/view/day_view.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <tuple>

namespace brevio::exchange {
namespace {

using namespace std::chrono;
using Lines = std::vector<std::string>;
using test::xmltvSample;

sys_days date(int y, unsigned m, unsigned d)
{
    return sys_days(year(y) / month(m) / day(d));
}

// One week as the program shows it: per channel name, its seven day panes after the name and
// the separator line, in UTF-8.
using ShownWeek = std::map<std::string, std::array<Lines, 7>>;

// Writes the week's channel files and channel list into a week folder and reads every channel
// back through the day view of the program itself.
ShownWeek roundTrip(WeekBuilder& builder, sys_days monday)
{
    test::TempDir work;
    test::ScopedCurrentDir cd(work.path());
    const std::string folder = store::checkedWeekFolder(weekDateText(monday), store::FolderUse::Write);
    store::createFolder(folder);
    std::string channelList;
    builder.buildWeek(monday, [&](const ChannelWeekFile& file) {
        store::replaceFile(folder + file.label.fileName, file.bytes);
        channelList += file.label.name + ":" + file.label.fileName + "\r\n";
    });
    store::replaceFile(folder + "aplp.dat", channelList);

    ShownWeek week;
    for (int index = 0;; ++index) {
        view::ChannelDays days;
        view::loadChannelDays(folder, index, days);
        if (!days.found)
            break;
        auto& shown = week[cp1251ToUtf8(days.channelName)];
        for (int d = 0; d < 7; ++d) {
            const Lines& pane = days.panes[std::size_t(d)];
            EXPECT_GE(pane.size(), 2u);
            EXPECT_EQ(pane[1], "") << "day " << d << " opens with its separator";
            for (std::size_t i = 2; i < pane.size(); ++i)
                shown[std::size_t(d)].push_back(cp1251ToUtf8(pane[i]));
        }
    }
    return week;
}

// The grammar every file must keep: CR LF after every line, a header, exactly seven day
// separators and no other empty or one-blank line.
void expectChannelFileGrammar(const std::string& bytes)
{
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_EQ(bytes.find_first_of(std::string_view("\x1A\0", 2)), std::string::npos);
    std::size_t lineEnds = 0;
    for (std::size_t at = bytes.find('\n'); at != bytes.npos; at = bytes.find('\n', at + 1)) {
        ++lineEnds;
        EXPECT_EQ(bytes[at - 1], '\r');
    }
    const Lines lines = store::splitLines(bytes);
    ASSERT_EQ(lines.size(), lineEnds);
    EXPECT_FALSE(lines[0].empty());
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.empty() || l == " "; }),
        7);
}

std::unique_ptr<WeekBuilder> readSample(const char* name, ListingOptions options = {})
{
    auto builder = std::make_unique<WeekBuilder>(std::move(options));
    readXmltvFile(xmltvSample(name), *builder);
    return builder;
}

TEST(WeekBuilderTest, ChannelFilesReadBackIntoTheSameShowsTimesAndDays)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    const auto owner = readSample("week.xml");
    auto& builder = *owner;
    ASSERT_EQ(builder.weeks(), (std::vector<sys_days>{date(2026, 12, 7), date(2026, 12, 14)}));
    EXPECT_EQ(builder.channelFileCount(builder.weeks()), 6u);

    const ShownWeek first = roundTrip(builder, date(2026, 12, 7));
    const std::array<Lines, 7> firstChannel = {
        Lines{"06:00 Утро", "Новости и погода.", " 12.30 — прямой эфир", "Ведущий: Иван",
              "09:00 Сериал. Серия первая (S01E01)", "09:30 Фильм", "10:00 Новости", "23:30 Ночное кино",
              "01:30 После полуночи", "04:59 До пяти"},
        Lines{"05:00 Ровно пять"},
        Lines{"06:00 Без зоны", "10:00 По Гринвичу"},
        Lines{"07:00 Утренний эфир. Live", "По-русски."},
        Lines{"20:00 «Амели» – фильм \"режиссёрская\" версия", "Amelie Poulain, Strasse, AEro… Казакстан ??"},
        Lines{"10:00 Tom & Jerry (S2 E5)"},
        Lines{"22:00 Итоги", "02:30 Ночной эфир"},
    };
    EXPECT_EQ(first.at("Первый канал"), firstChannel);
    EXPECT_EQ(first.at("Кино. классика")[0], Lines{"20:00 Вечерний фильм"});
    EXPECT_EQ(first.at("Кино. классика (kino2.example.ru)")[1], Lines{"20:00 Ещё фильм"});
    EXPECT_EQ(first.at("Спорт/Плюс")[0], Lines{"18:00 Хоккей"});
    EXPECT_EQ(first.size(), 4u);

    const ShownWeek second = roundTrip(builder, date(2026, 12, 14));
    EXPECT_EQ(second.at("Первый канал")[0], Lines{"06:00 Утро второй недели"});
    EXPECT_EQ(second.at("Спорт/Плюс")[0], Lines{"18:00 Футбол"});
    EXPECT_EQ(second.size(), 2u);

    EXPECT_EQ(builder.loss().count, 2u);
    EXPECT_EQ(builder.loss().first, U'中');
    EXPECT_EQ(builder.lossLine(), 69);
}

TEST(WeekBuilderTest, EveryFileKeepsTheChannelFileGrammar)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    for (const char* sample : {"week.xml", "dst.xml", "extra.xml", "enc-utf8.xml"}) {
        const auto builder = readSample(sample);
        for (const auto monday : builder->weeks())
            builder->buildWeek(monday, [&](const ChannelWeekFile& file) {
                SCOPED_TRACE(std::string(sample) + " " + file.label.fileName);
                expectChannelFileGrammar(file.bytes);
                EXPECT_EQ(file.bytes.rfind(file.label.name + ", " + weekDateText(monday) + " - ", 0), 0u);
            });
    }
}

// Keeps the programmes of a file so that they can be handed on in any order.
class Keeper : public XmltvSink
{
public:
    void channel(XmltvChannel&& channel) override { channels.push_back(std::move(channel)); }
    void programme(XmltvProgramme&& programme) override { programmes.push_back(std::move(programme)); }
    std::vector<XmltvChannel> channels;
    std::vector<XmltvProgramme> programmes;
};

std::vector<std::string> allFiles(const Keeper& kept, const std::vector<std::size_t>& order)
{
    WeekBuilder builder;
    for (XmltvChannel channel : kept.channels)
        builder.channel(std::move(channel));
    for (const std::size_t i : order)
        builder.programme(XmltvProgramme(kept.programmes[i]));
    std::vector<std::string> files;
    for (const auto monday : builder.weeks())
        builder.buildWeek(monday, [&](const ChannelWeekFile& file) { files.push_back(file.bytes); });
    return files;
}

TEST(WeekBuilderTest, TheOrderOfProgrammesNeverChangesTheFiles)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    Keeper kept;
    readXmltvFile(xmltvSample("week.xml"), kept);
    // A duplicate with a description: which of the two starts is listed must not depend on order.
    XmltvProgramme richer = kept.programmes[0];
    richer.descriptions = {{"ru", "Подробнее"}};
    kept.programmes.push_back(richer);

    std::vector<std::size_t> order(kept.programmes.size());
    std::iota(order.begin(), order.end(), 0);
    const auto expected = allFiles(kept, order);
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(allFiles(kept, order), expected);
    std::rotate(order.begin(), order.begin() + 7, order.end());
    EXPECT_EQ(allFiles(kept, order), expected);

    const auto first = std::find_if(expected.begin(), expected.end(), [](const std::string& file) {
        return file.starts_with(utf8ToCp1251("Первый"));
    });
    ASSERT_NE(first, expected.end());
    const std::string monday = cp1251ToUtf8(*first);
    EXPECT_EQ(monday.find("09:00 Сериал"), monday.rfind("09:00 Сериал")) << "the duplicate is listed once";
    EXPECT_NE(monday.find("09:00 Сериал. Серия первая (S01E01)\r\nПодробнее\r\n09:30"), std::string::npos)
        << "the copy that says more is kept";
}

TEST(WeekBuilderTest, DaylightSavingChangesKeepLocalTimesAndDays)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    const auto builder = readSample("dst.xml");
    ASSERT_EQ(builder->weeks(), (std::vector<sys_days>{date(2026, 3, 23), date(2026, 10, 19)}));
    // The Sunday nights open Sunday: the channel has nothing on the Saturday before.
    const ShownWeek spring = roundTrip(*builder, date(2026, 3, 23));
    EXPECT_EQ(spring.at("Berlin")[6],
              (Lines{"01:30 Vor der Umstellung", "03:30 Nach der Umstellung", "06:00 Sonntagmorgen"}));
    const ShownWeek autumn = roundTrip(*builder, date(2026, 10, 19));
    EXPECT_EQ(autumn.at("Berlin")[6], (Lines{"02:30 Sommerzeit", "02:30 Winterzeit", "06:00 Sonntagmorgen"}));
    EXPECT_TRUE(autumn.at("Berlin")[5].empty());
}

TEST(WeekBuilderTest, OptionsChooseTheDayStartAndTheLanguage)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    const ShownWeek week = roundTrip(*readSample("week.xml", ListingOptions{0, {"en", "ru"}, std::nullopt}),
                                     date(2026, 12, 7));
    const auto& first = week.at("First");
    EXPECT_EQ(first[0].back(), "23:30 Ночное кино");
    EXPECT_EQ(first[1], (Lines{"01:30 После полуночи", "04:59 До пяти", "05:00 Ровно пять"}));
    EXPECT_EQ(first[3], (Lines{"07:00 Morning Show. Live", "In English."}));
    EXPECT_EQ(first[6], Lines{"22:00 Итоги"});
}

// Sorted or merged copies may list programmes without their channels' <channel> elements, or
// put those elements after the programmes: the programmes are kept under their channel ids, or
// under the names the late elements give, and only the first are counted for a warning.
TEST(WeekBuilderTest, ProgrammesOfChannelsWithoutAnElementAreKeptUnderTheirIds)
{
    test::ScopedTimeZone zone("UTC");
    WeekBuilder builder;
    const auto add = [&](const char* channel, int hour) {
        XmltvProgramme programme;
        programme.channel = channel;
        programme.start = {sys_days(date(2026, 12, 7)) + hours(hour), 0};
        programme.titles = {{"", "Show " + std::to_string(hour)}};
        builder.programme(std::move(programme));
    };
    builder.channel({"named.example", {{"", "Named"}}, 1});
    add("named.example", 10);
    add("bare.example", 10);
    add("bare.example", 11);
    add("other.example", 12);
    add("late.example", 13);
    builder.channel({"late.example", {{"", "Late"}}, 9});
    builder.channel({"late.example", {{"", "Later still"}}, 10}); // the first element counts

    EXPECT_EQ(builder.undeclaredChannels().programmes, 3u);
    EXPECT_EQ(builder.undeclaredChannels().channels, 2u);
    const ShownWeek week = roundTrip(builder, date(2026, 12, 7));
    EXPECT_EQ(week.at("bare.example")[0], (Lines{"10:00 Show 10", "11:00 Show 11"}));
    EXPECT_EQ(week.at("other.example")[0], Lines{"12:00 Show 12"});
    EXPECT_EQ(week.at("Late")[0], Lines{"13:00 Show 13"});
    EXPECT_EQ(week.at("Named")[0], Lines{"10:00 Show 10"});
    EXPECT_EQ(week.size(), 4u);
}

// A moment of Moscow's wall clock (UTC+3 all year).
sys_seconds moscow(sys_days day, int hour, int minute)
{
    return sys_seconds(day) + hours(hour - 3) + minutes(minute);
}

// Whatever the gaps, the times and the day start, every show laid out reads back on its own
// date by the readers' rule.
TEST(DayLayoutTest, EveryShowReadsBackOnItsOwnDate)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    std::mt19937 rng(17);
    for (int round = 0; round < 200; ++round) {
        const int dayStart = std::uniform_int_distribution(0, 8)(rng) * 60;
        std::vector<sys_seconds> starts;
        sys_seconds at
            = moscow(date(2026, 12, 7), 0, 0) + minutes(std::uniform_int_distribution(0, 2000)(rng));
        for (int n = std::uniform_int_distribution(1, 40)(rng); n > 0; --n) {
            starts.push_back(at);
            // Mostly a programme's length, at times a gap of hours or days.
            at += minutes(rng() % 4 == 0 ? std::uniform_int_distribution(1, 3000)(rng)
                                         : std::uniform_int_distribution(0, 150)(rng));
        }
        DayLayout layout(dayStart);
        std::map<sys_days, std::vector<std::pair<int, sys_days>>> blocks; // time, and the date it airs
        for (const sys_seconds start : starts) {
            const BlockPlace place = layout.place(start);
            const sys_days airDate = floor<days>(start + hours(3));
            blocks[place.monday + days(place.weekday)].emplace_back(place.minutes, airDate);
        }
        for (const auto& [block, shows] : blocks) {
            view::BlockDating dating;
            dating.startBlock(0);
            for (const auto& [time, airDate] : shows)
                ASSERT_EQ(block + days(dating.dayOf(time)), airDate)
                    << "round " << round << ", time " << time;
        }
    }
}

TEST(BroadcastDayTest, KnowsWhichTimeZonesTheSystemHonours)
{
    for (const char* zone : {"Europe/Moscow", "UTC", ":Asia/Almaty", "MSK-3", "EST5EDT", "<+03>-3"})
        EXPECT_TRUE(isKnownTimeZone(zone)) << zone;
    for (const char* zone :
         {"Europe/Atlantis", "Moscow", "../../etc/passwd", "Europe/../../../etc/passwd", "3"})
        EXPECT_FALSE(isKnownTimeZone(zone)) << zone;
    // Those offered to choose from are known, and in order.
    const auto zones = systemTimeZones();
    EXPECT_TRUE(std::is_sorted(zones.begin(), zones.end()));
    EXPECT_TRUE(std::binary_search(zones.begin(), zones.end(), "Europe/Moscow"));
    EXPECT_TRUE(
        std::all_of(zones.begin(), zones.end(), [](const std::string& z) { return isKnownTimeZone(z); }));
}

TEST(BroadcastDayTest, TheWallClockOfThisMachineAsAMoment)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    const auto wall = local_days(year(2026) / 12 / 9) + hours(12) + minutes(5) + seconds(30);
    EXPECT_EQ(utcMoment(wall), sys_days(year(2026) / 12 / 9) + hours(9) + minutes(5) + seconds(30));
}

XmltvProgramme show(std::string title, std::string description = {}, std::vector<XmltvEpisode> episodes = {},
                    std::string subTitle = {})
{
    XmltvProgramme programme;
    programme.titles = {{"", std::move(title)}};
    if (!description.empty())
        programme.descriptions = {{"", std::move(description)}};
    if (!subTitle.empty())
        programme.subTitles = {{"", std::move(subTitle)}};
    programme.episodes = std::move(episodes);
    return programme;
}

TEST(ShowLinesTest, TitlesDescriptionsAndEpisodesBecomeSafeLines)
{
    const struct
    {
        XmltvProgramme programme;
        const char* lines;
    } cases[] = {
        {show("Новости"), "07:05 Новости\r\n"},
        {show("  Два\n  слова\t "), "07:05 Два слова\r\n"},
        {show("Ура!", {}, {}, "Снова"), "07:05 Ура! Снова\r\n"},
        {show("Одно", {}, {}, "Одно"), "07:05 Одно\r\n"},
        // Lines that would start a show or end the day are defused or left out.
        {show("Т", "7.30 утра\n\n \n12:00\n1.5 часа\r\nконец"),
         "07:05 Т\r\n 7.30 утра\r\n 12:00\r\n1.5 часа\r\nконец\r\n"},
        {show("Т", "\xE2\x80\x82\n\xE2\x80\x8B\nа\xE2\x80\xA8б"), "07:05 Т\r\nа\r\nб\r\n"},
        {show("Т", "Ctrl\x1AZ"), "07:05 Т\r\nCtrl Z\r\n"},
        {show("С", {}, {{"onscreen", " Эп. 5 "}, {"xmltv_ns", "0.0."}}), "07:05 С (Эп. 5)\r\n"},
        {show("С", {}, {{"xmltv_ns", "2/3 . 4/10 . 0/1"}}), "07:05 С (S3 E5)\r\n"},
        {show("С", {}, {{"xmltv_ns", ". 7 ."}}), "07:05 С (E8)\r\n"},
        {show("С", {}, {{"xmltv_ns", "3 . ."}}), "07:05 С (S4)\r\n"},
        {show("С", {}, {{"xmltv_ns", "abc"}, {"dd_progid", "EP1"}}), "07:05 С\r\n"},
    };
    for (const auto& c : cases) {
        Cp1251Loss loss;
        EXPECT_EQ(cp1251ToUtf8(showLines(c.programme, 7 * 60 + 5, {"ru"}, &loss)), c.lines) << c.lines;
        EXPECT_EQ(loss.count, 0u);
    }
    EXPECT_THROW(showLines(show(" \n "), 0, {"ru"}, nullptr), ListingError);
}

TEST(ChannelLabelsTest, FileNamesAreStableSafeAndUnique)
{
    EXPECT_EQ(channelFileName("first.example.ru"), "first.example.ru.txt");
    std::vector<std::string> ids
        = {"abc", "ABC", "Abc",  "a:bc",    "a/bc", "a\\bc",  "a bc",   "abc.txt",  "abc.TXT", "..",
           ".",   "",    "../x", ".hidden", "-x",   "Первый", "Второй", "aplp.dat", "selpn"};
    ids.insert(ids.end(), {std::string(300, 'a'), std::string(300, 'a') + "b"});
    std::set<std::string> names;
    for (const std::string& id : ids) {
        const std::string name = channelFileName(id);
        EXPECT_EQ(channelFileName(id), name) << id << ": the same id, the same name";
        EXPECT_NO_THROW(store::checkBareFileName(name)) << id;
        EXPECT_TRUE(name.ends_with(".txt")) << id;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789.-_"), std::string::npos) << id;
        EXPECT_NE(name.front(), '.') << id;
        EXPECT_LE(name.size(), 64u) << id;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), ids.size());
}

TEST(ChannelLabelsTest, NamesAvoidTheListSeparatorsAndNeverRepeat)
{
    const std::vector<XmltvChannel> channels = {
        {"a.example", {{"ru", "Кино: хиты | 24"}}, 0},
        {"b.example", {{"ru", "Кино: хиты | 24"}}, 0},
        {"c.example", {}, 0},
        {"d.example", {{"ru", "   "}}, 0},
        {"e.example", {{"en", "Movies"}, {"ru-RU", "Фильмы"}}, 0},
        {"f.example", {{"ru", "Кино. хиты / 24 (b.example)"}}, 0},
    };
    const auto labels = labelChannels(channels, {"ru"}, nullptr);
    std::vector<std::string> names;
    for (const ChannelLabel& label : labels)
        names.push_back(cp1251ToUtf8(label.name));
    EXPECT_EQ(names,
              (std::vector<std::string>{"Кино. хиты / 24", "Кино. хиты / 24 (b.example)", "c.example",
                                        "d.example", "Фильмы", "Кино. хиты / 24 (b.example) (f.example)"}));
}

// A time written without an offset or zone is read on the clocks the listing's options name:
// UTC as the format has it, this machine's, or a zone of the system's (a time the clocks skip
// counts as an hour later); the process keeps its own zone.
TEST(WeekBuilderTest, TimesWithoutAZoneAreReadOnTheChosenClocks)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    const auto at = [](sys_days day, int h, int m) { return sys_seconds(day + hours(h) + minutes(m)); };
    const struct
    {
        std::optional<std::string> bareZone;
        sys_seconds reading;
        sys_seconds moment;
    } cases[] = {
        {std::nullopt, at(date(2026, 12, 9), 3, 0), at(date(2026, 12, 9), 3, 0)},
        {"", at(date(2026, 12, 9), 3, 0), at(date(2026, 12, 9), 0, 0)},
        {"Asia/Tokyo", at(date(2026, 12, 9), 3, 0), at(date(2026, 12, 8), 18, 0)},
        {"America/New_York", at(date(2026, 7, 1), 12, 0), at(date(2026, 7, 1), 16, 0)},
        {"America/New_York", at(date(2026, 3, 8), 2, 30), at(date(2026, 3, 8), 7, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bareZone.value_or("(UTC)"));
        WeekBuilder builder(ListingOptions{kDefaultDayStartMinutes, {"ru"}, c.bareZone});
        XmltvProgramme show;
        show.channel = "c";
        show.start = *parseXmltvTime(formatXmltvTime({c.reading, 0}).substr(0, 14));
        show.titles = {{"ru", "Без зоны"}};
        builder.programme(std::move(show));
        builder.forEachChannel([&](ListingChannel& channel) {
            ASSERT_EQ(channel.shows.size(), 1u);
            EXPECT_EQ(channel.shows[0].start, c.moment);
        });
        EXPECT_STREQ(std::getenv("TZ"), "Europe/Moscow");
    }
}

} // namespace
} // namespace brevio::exchange

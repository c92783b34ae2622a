#include "tools/demo_data.h"

#include "core/store/channel_file.h"
#include "core/store/cp1251.h"
#include "core/store/line_reader.h"
#include "core/store/links_file.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace brevio::tools {
namespace {

using std::chrono::sys_days;

sys_days date(int y, unsigned m, unsigned d)
{
    return sys_days(
        std::chrono::year_month_day{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)});
}

// The catalogue as the client reads it: alternating name and file name separated by ':'.
std::vector<std::pair<std::string, std::string>> parseCatalogue(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto nameEnd = std::min(text.find(':', pos), text.size());
        const auto fileEnd = std::min(text.find(':', nameEnd + 1), text.size());
        pairs.emplace_back(text.substr(pos, nameEnd - pos),
                           nameEnd < text.size() ? text.substr(nameEnd + 1, fileEnd - nameEnd - 1) : "");
        pos = fileEnd + 1;
    }
    return pairs;
}

// Minutes after midnight of a show line's leading "HH.MM"/"H:MM", or -1 when the line is
// no show line (checked independently of the project's own reader).
int showTime(std::string_view line)
{
    const auto blank = line.find(' ');
    if (blank != 4 && blank != 5)
        return -1;
    const std::string_view time = line.substr(0, blank);
    const auto sep = time.find_first_of(".:");
    if (sep != time.size() - 3 || sep == 0 || sep > 2)
        return -1;
    int hours = 0;
    for (std::size_t i = 0; i < sep; ++i) {
        if (time[i] < '0' || time[i] > '9')
            return -1;
        hours = hours * 10 + (time[i] - '0');
    }
    if (time[sep + 1] < '0' || time[sep + 1] > '5' || time[sep + 2] < '0' || time[sep + 2] > '9'
        || hours > 23)
        return -1;
    return hours * 60 + (time[sep + 1] - '0') * 10 + (time[sep + 2] - '0');
}

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = c < 0x80 ? 1
            : (c >> 5) == 6                 ? 2
            : (c >> 4) == 14                ? 3
            : (c >> 3) == 30                ? 4
                                            : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 2)
                return false;
        }
        i += length;
    }
    return true;
}

class DemoTreeTest : public ::testing::Test
{
protected:
    void SetUp() override { m_weeks = writeDemoTree(m_dir.path(), date(2004, 1, 14), 30); }

    // Channel files of a week folder: everything besides data.dat and files.dat.
    std::set<std::string> channelFiles(const std::string& folder) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir / folder)) {
            const auto name = entry.path().filename().string();
            if (name != "data.dat" && name != "files.dat")
                names.insert(name);
        }
        return names;
    }

    test::TempDir m_dir;
    std::vector<std::string> m_weeks;
};

TEST_F(DemoTreeTest, OffersThisWeekAndTheNext)
{
    EXPECT_EQ(m_weeks, (std::vector<std::string>{"12.01.2004", "19.01.2004"}));
    EXPECT_EQ(m_dir.read("datas.dat"), "12.01.2004\r\n19.01.2004\r\n");
    EXPECT_EQ(m_dir.read("12012004/data.dat"), "12.01.2004");
    EXPECT_EQ(m_dir.read("19012004/data.dat"), "19.01.2004");
}

TEST(DemoWeeks, MondayOfAnyDayAcrossMonthAndYearEnds)
{
    struct Case
    {
        sys_days today;
        const char* lines;
    };
    for (const auto& [today, lines] : {
             Case{date(2004, 1, 12), "12.01.2004\r\n19.01.2004\r\n"}, // a Monday is its own week
             Case{date(2004, 1, 18), "12.01.2004\r\n19.01.2004\r\n"}, // Sunday ends it
             Case{date(2004, 1, 1), "29.12.2003\r\n05.01.2004\r\n"},
             Case{date(2024, 2, 29), "26.02.2024\r\n04.03.2024\r\n"},
         }) {
        test::TempDir dir;
        writeDemoTree(dir.path(), today, 1);
        EXPECT_EQ(dir.read("datas.dat"), lines);
    }
    EXPECT_EQ(weekFolderName(date(2003, 12, 29)), "29122003");
}

TEST_F(DemoTreeTest, CatalogueNamesEveryChannelFileOnce)
{
    for (const auto& week : {"12012004", "19012004"}) {
        const std::string catalogue = m_dir.read(std::string(week) + "/files.dat");
        EXPECT_EQ(catalogue.find_first_of("\r\n"), std::string::npos);
        const auto pairs = parseCatalogue(catalogue);
        const auto files = channelFiles(week);
        ASSERT_EQ(pairs.size(), 30u);
        EXPECT_EQ(files.size(), pairs.size());
        std::set<std::string> names;
        for (const auto& [name, file] : pairs) {
            EXPECT_TRUE(files.contains(file)) << file;
            EXPECT_TRUE(names.insert(name).second) << "twice: " << cp1251ToUtf8(name);
            EXPECT_FALSE(name.empty());
            for (const char c : file)
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_') << file;
        }
        EXPECT_EQ(cp1251ToUtf8(pairs.front().first), "Первый канал");
        EXPECT_EQ(pairs.front().second, "perviy.txt");
    }
}

TEST_F(DemoTreeTest, ChannelFilesHaveAHeaderAndSevenRealisticDays)
{
    for (const auto& week : {"12012004", "19012004"}) {
        for (const auto& file : channelFiles(week)) {
            SCOPED_TRACE(std::string(week) + "/" + file);
            const std::string bytes = m_dir.read(std::string(week) + "/" + file);
            // Every line ends with CR LF, also the last.
            ASSERT_TRUE(bytes.ends_with("\r\n"));
            std::size_t lf = 0, crlf = 0;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                lf += bytes[i] == '\n';
                crlf += bytes.compare(i, 2, "\r\n") == 0;
            }
            EXPECT_EQ(lf, crlf);

            const auto lines = store::splitLines(bytes);
            ASSERT_FALSE(lines.empty());
            EXPECT_FALSE(store::isDaySeparator(lines.front())) << "no header";
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(), store::isDaySeparator), 7);

            for (const auto& day : store::dayBlocks(lines)) {
                int shows = 0, previous = -1, midnights = 0, first = -1, last = -1;
                for (std::size_t i = 1; i < day.size(); ++i) {
                    const int time = showTime(day[i]);
                    if (time < 0)
                        continue;
                    ++shows;
                    if (first < 0)
                        first = time;
                    if (previous >= 0 && time <= previous)
                        ++midnights;
                    previous = last = time;
                }
                EXPECT_GE(shows, 40);
                EXPECT_LE(shows, 80);
                EXPECT_GE(first, 6 * 60);
                EXPECT_LT(first, 7 * 60);
                EXPECT_GE(last, 60); // the day ends at 01.xx after midnight
                EXPECT_LT(last, 2 * 60);
                EXPECT_EQ(midnights, 1) << "times must rise except once, past midnight";
            }
        }
    }
}

TEST_F(DemoTreeTest, DescriptionsAndHeadingsAreNeverTakenForShowsOrDays)
{
    int descriptions = 0;
    for (const auto& file : channelFiles("12012004")) {
        const auto days = store::dayBlocks(store::splitLines(m_dir.read("12012004/" + file)));
        for (const auto& day : days) {
            // Line 0 is the separator, line 1 the weekday heading, line 2 the first show.
            ASSERT_GE(day.size(), 3u);
            EXPECT_LT(showTime(day[1]), 0);
            EXPECT_GE(showTime(day[2]), 0);
            for (std::size_t i = 3; i < day.size(); ++i) {
                if (showTime(day[i]) >= 0)
                    continue;
                ++descriptions;
                EXPECT_FALSE(store::isDaySeparator(day[i]));
                EXPECT_GE(showTime(day[i - 1]), 0) << "a description follows its show";
                // The client looks for a time in a line whose first '.' or ':' is its 2nd
                // or 3rd character; a description must not even look like that.
                const auto dot = day[i].find_first_of(".:");
                EXPECT_TRUE(dot == std::string::npos || dot > 2) << cp1251ToUtf8(day[i]);
            }
        }
    }
    EXPECT_GT(descriptions, 100);
}

TEST_F(DemoTreeTest, TextIsWindows1251AndUsesBothTimeStyles)
{
    bool dotted = false, coloned = false;
    for (const auto& file : channelFiles("12012004")) {
        const std::string bytes = m_dir.read("12012004/" + file);
        EXPECT_FALSE(isValidUtf8(bytes)) << file << " looks like UTF-8";
        const std::string text = cp1251ToUtf8(bytes);
        EXPECT_NE(text.find("12.01.2004"), std::string::npos) << file;
        EXPECT_NE(text.find("Понедельник"), std::string::npos) << file;
        for (const auto& line : store::splitLines(bytes)) {
            dotted = dotted || (showTime(line) >= 0 && line[2] == '.');
            coloned = coloned || (showTime(line) >= 0 && line[1] == ':');
        }
    }
    EXPECT_TRUE(dotted);
    EXPECT_TRUE(coloned);
    EXPECT_TRUE(cp1251ToUtf8(m_dir.read("12012004/perviy.txt")).starts_with("Первый канал"));
    EXPECT_FALSE(isValidUtf8(m_dir.read("12012004/files.dat")));
}

TEST_F(DemoTreeTest, SameInputSameBytesAndEachWeekItsOwnSchedule)
{
    test::TempDir again;
    writeDemoTree(again.path(), date(2004, 1, 16), 30); // another day of the same week
    for (const auto& week : {"12012004", "19012004"}) {
        for (const auto& file : channelFiles(week)) {
            const auto name = std::string(week) + "/" + file;
            EXPECT_EQ(again.read(name), m_dir.read(name)) << name;
        }
    }
    for (const auto& file : channelFiles("12012004")) {
        const auto thisWeek = store::dayBlocks(store::splitLines(m_dir.read("12012004/" + file)));
        const auto nextWeek = store::dayBlocks(store::splitLines(m_dir.read("19012004/" + file)));
        // The headings carry the dates; compare the shows only.
        EXPECT_NE(std::vector(thisWeek[0].begin() + 2, thisWeek[0].end()),
                  std::vector(nextWeek[0].begin() + 2, nextWeek[0].end()))
            << file;
    }
}

TEST(DemoChannels, AnyCountGivesDistinctSafeNames)
{
    const auto channels = demoChannels(75);
    ASSERT_EQ(channels.size(), 75u);
    std::set<std::string> names, files;
    for (const auto& channel : channels) {
        EXPECT_TRUE(names.insert(channel.name).second) << channel.name;
        EXPECT_TRUE(files.insert(channel.file).second) << channel.file;
        // ':' would split the catalogue, '/' or ".." would leave the week folder.
        EXPECT_EQ(channel.name.find(':'), std::string::npos) << channel.name;
        EXPECT_EQ(channel.file.find_first_of(":/\\"), std::string::npos) << channel.file;
        EXPECT_FALSE(channel.file.starts_with('.')) << channel.file;
        EXPECT_EQ(utf8ToCp1251(channel.name).find('?'), std::string::npos) << channel.name;
    }
    EXPECT_EQ(demoChannels(3).back().name, "НТВ");
}

TEST(DemoDates, ParsesOnlyRealIsoDates)
{
    EXPECT_EQ(parseIsoDate("2004-01-14"), date(2004, 1, 14));
    EXPECT_EQ(parseIsoDate("2024-02-29"), date(2024, 2, 29));
    for (const char* text :
         {"2023-02-29", "2004-13-01", "2004-1-14", "14.01.2004", "2004-01-14x", "", "20040114"})
        EXPECT_EQ(parseIsoDate(text), std::nullopt) << text;
}

TEST(DemoLinks, SampleLinksFileGivesTwoMenusOfWorkingLinks)
{
    const char* source = std::getenv("BREVIO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream in(std::filesystem::path(source) / "tools/demo/links", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    EXPECT_FALSE(isValidUtf8(bytes));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    EXPECT_TRUE(bytes.starts_with("i|")) << "the file begins with a heading";
    const auto menu = store::parseLinks(bytes);
    EXPECT_TRUE(menu.beforeFirstHeading.empty());
    ASSERT_EQ(menu.headings.size(), 2u);
    EXPECT_EQ(cp1251ToUtf8(menu.headings[0].caption), "Погода");
    for (const auto& heading : menu.headings) {
        ASSERT_EQ(heading.entries.size(), 2u);
        for (const auto& entry : heading.entries) {
            EXPECT_EQ(entry.tag, "s") << "only 's' entries open";
            EXPECT_TRUE(entry.target.starts_with("https://example.org/")) << entry.target;
        }
    }
}

} // namespace
} // namespace brevio::tools

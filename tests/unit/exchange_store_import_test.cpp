#include "core/exchange/exchange_errors.h"
#include "core/exchange/server_tree.h"
#include "core/exchange/store_import.h"
#include "core/net/update_catalogue.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/week_lists.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace brevio::exchange {
namespace {

namespace fs = std::filesystem;
using test::xmltvSample;

// Every folder and file below `root` with its content, to see that nothing changed.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        tree[name] = entry.is_directory() ? "<folder>" : store::readFile(entry.path());
    }
    return tree;
}

std::string cp(const char* utf8)
{
    return utf8ToCp1251(utf8);
}

// A working folder with one week downloaded earlier and the newest of the listing's two weeks
// partly there already.
class ImportTest : public ::testing::Test
{
protected:
    ImportTest()
        : m_cd(m_work.path())
    {
        m_work.write("dats.dat", "07.12.2026\r\n28.12.2026"); // no line end after the last line
        m_work.write("28122026/aplp.dat", "Old:old.txt\r\n");
        m_work.write("28122026/old.txt", "Old\r\n\r\n10.00 Old show\r\n");
        m_work.write("07122026/aplp.dat", cp("Первый канал:perviy.txt\r\nOther:kino.example.ru.txt"));
        m_work.write("07122026/perviy.txt", cp("Первый\r\n\r\n06.00 Из прошлого\r\n"));
        m_work.write("07122026/kino.example.ru.txt", "Other\r\n\r\n07.00 Other\r\n");
        m_work.write("07122026/kino2.example.ru.txt", "a file no channel list names");
        m_work.write("07122026/selpn", cp("06:00 Из прошлого - Первый канал\r\n"));
    }

    ImportSummary import(const std::vector<fs::path>& files, const ImportProgress& progress = {})
    {
        return importListings(files, ListingOptions{}, progress);
    }

    test::ScopedTimeZone m_zone{"Europe/Moscow"};
    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
};

TEST_F(ImportTest, WeeksArriveAsADownloadWouldBringThem)
{
    const auto summary = import({xmltvSample("week.xml"), xmltvSample("extra.xml")});
    EXPECT_EQ(summary.addedWeeks, std::vector<std::string>{"14.12.2026"});
    ASSERT_EQ(summary.weeks.size(), 2u);
    EXPECT_EQ(summary.weeks[0].date, "07.12.2026");
    EXPECT_FALSE(summary.weeks[0].newWeek);
    EXPECT_EQ(summary.weeks[0].addedChannels,
              (std::vector<std::string>{cp("Дополнительный"), cp("Кино. классика"),
                                        cp("Кино. классика (kino2.example.ru)"), cp("Спорт/Плюс")}));
    EXPECT_EQ(summary.weeks[0].replacedChannels, std::vector<std::string>{cp("Первый канал")});
    EXPECT_EQ(summary.weeks[1].date, "14.12.2026");
    EXPECT_TRUE(summary.weeks[1].newWeek);
    EXPECT_EQ(summary.weeks[1].addedChannels.size(), 3u);
    EXPECT_EQ(summary.channelFiles, 8u);
    EXPECT_EQ(summary.shows, 22u);
    EXPECT_EQ(summary.loss.count, 2u);

    // The week list gains the new week in date order, so the newest stays last.
    EXPECT_EQ(m_work.read("dats.dat"), "07.12.2026\r\n14.12.2026\r\n28.12.2026");

    // The week that was there: its channels keep their lines and files; a channel of the same
    // name gets the new listing in its own file; the others follow in alphabetical order,
    // under file names not yet taken.
    EXPECT_EQ(m_work.read("07122026/aplp.dat"),
              cp("Первый канал:perviy.txt\r\nOther:kino.example.ru.txt\r\n"
                 "Дополнительный:extra.example.ru.txt\r\n"
                 "Кино. классика:kino.example.ru-2.txt\r\n"
                 "Кино. классика (kino2.example.ru):kino2.example.ru-2.txt\r\n"
                 "Спорт/Плюс:sport.example.ru-710a536c.txt\r\n"));
    EXPECT_NE(m_work.read("07122026/perviy.txt").find(cp("06:00 Утро\r\n")), std::string::npos);
    EXPECT_EQ(m_work.read("07122026/kino.example.ru.txt"), "Other\r\n\r\n07.00 Other\r\n");
    EXPECT_EQ(m_work.read("07122026/kino2.example.ru.txt"), "a file no channel list names");
    EXPECT_NE(m_work.read("07122026/kino.example.ru-2.txt").find(cp("20:00 Вечерний фильм")),
              std::string::npos);
    EXPECT_EQ(m_work.read("07122026/selpn"), cp("06:00 Из прошлого - Первый канал\r\n"));

    // The new week is complete, and the week downloaded before is untouched.
    EXPECT_EQ(m_work.read("14122026/aplp.dat"),
              cp("Дополнительный:extra.example.ru.txt\r\nПервый канал:first.example.ru.txt\r\n"
                 "Спорт/Плюс:sport.example.ru-710a536c.txt\r\n"));
    EXPECT_EQ(view::loadChannelNames("14122026/").size(), 3u);
    EXPECT_EQ(m_work.read("28122026/aplp.dat"), "Old:old.txt\r\n");

    // Nothing staged is left behind.
    for (const auto& [name, content] : snapshot(m_work.path()))
        EXPECT_TRUE(name.front() != '.' && name.find("/.") == std::string::npos) << name;

    // Importing the same again replaces the listings and adds no line anywhere.
    const auto before = snapshot(m_work.path());
    const auto again = import({xmltvSample("week.xml"), xmltvSample("extra.xml")});
    EXPECT_TRUE(again.addedWeeks.empty());
    ASSERT_EQ(again.weeks.size(), 2u);
    for (const ImportedWeek& week : again.weeks) {
        EXPECT_TRUE(week.addedChannels.empty()) << week.date;
        EXPECT_EQ(week.replacedChannels.size(), week.date == "07.12.2026" ? 5u : 3u) << week.date;
    }
    EXPECT_EQ(snapshot(m_work.path()), before);
}

TEST_F(ImportTest, ACancelLeavesTheStoreAsItWas)
{
    const auto before = snapshot(m_work.path());
    // Stop at the first, a middle and the last step of reading (25 elements), and of writing
    // (4 channels), and while the staged files are flushed, before they move in.
    const std::pair<ImportStep, int> stops[] = {
        {ImportStep::Reading, 1}, {ImportStep::Reading, 12}, {ImportStep::Reading, 25},
        {ImportStep::Writing, 1}, {ImportStep::Writing, 2},  {ImportStep::Writing, 4},
        {ImportStep::Writing, 5},
    };
    for (const auto& [step, at] : stops) {
        int calls = 0;
        EXPECT_THROW(import({xmltvSample("week.xml")},
                            [&, step = step, at = at](ImportStep now, std::uint64_t, std::uint64_t) {
                                return now != step || ++calls < at;
                            }),
                     Cancelled)
            << int(step) << " " << at;
        EXPECT_EQ(calls, at);
        EXPECT_EQ(snapshot(m_work.path()), before) << int(step) << " " << at;
    }
}

TEST_F(ImportTest, AFailureLeavesTheStoreAsItWas)
{
    // A file where the second week's folder would go: the first week is moved into place
    // before the second fails, and must be moved back.
    m_work.write("14122026", "not a folder");
    const auto before = snapshot(m_work.path());
    EXPECT_THROW(import({xmltvSample("week.xml")}), IoError);
    EXPECT_EQ(snapshot(m_work.path()), before);

    // A channel list line of the existing week that names a file outside it.
    m_work.write("07122026/aplp.dat", cp("Первый канал:../outside.txt\r\n"));
    fs::remove(m_work / "14122026");
    const auto before2 = snapshot(m_work.path());
    EXPECT_THROW(import({xmltvSample("week.xml")}), UnsafeNameError);
    EXPECT_EQ(snapshot(m_work.path()), before2);
    EXPECT_FALSE(fs::exists(m_work.path().parent_path() / "outside.txt"));

    // A listing that is no listing: nothing is read into the store.
    m_work.write("broken.xml", "<tv><channel id=\"a.b\">");
    const auto before3 = snapshot(m_work.path());
    EXPECT_THROW(import({xmltvSample("week.xml"), m_work / "broken.xml"}), XmltvError);
    EXPECT_EQ(snapshot(m_work.path()), before3);
}

// A listing of "Первый канал" with shows of its start, stop ("" for none) and title.
fs::path writeListing(const test::TempDir& dir, const std::vector<std::array<const char*, 3>>& shows)
{
    std::string xml = "<tv><channel id=\"f.ru\"><display-name>Первый канал</display-name></channel>";
    for (const auto& [start, stop, title] : shows)
        xml += std::string("<programme start=\"") + start + (*stop ? std::string("\" stop=\"") + stop : "")
            + "\" channel=\"f.ru\"><title>" + title + "</title></programme>";
    dir.write("listing.xml", xml + "</tv>");
    return dir / "listing.xml";
}

TEST_F(ImportTest, AChannelTheWeekHasGetsOnlyTheListingsSpanReplaced)
{
    // Lines as a server or an earlier import wrote them, odd blanks and all.
    const std::string before
        = cp("Первый\r\n"
             "\r\n06.00 Утро\r\nНовости и погода \r\n23.30 Поздний фильм\r\n00.30 Ночь\r\n"
             "\r\n06.00 Вторник утро\r\n12.00 Старый полдень\r\n  Его описание\r\n"
             "14.00 Старый день\r\n18.00 Вечер\r\n"
             "\r\n07.00 Среда\r\n\r\n\r\n\r\n\r\n");
    m_work.write("07122026/perviy.txt", before);
    // The same week, listed with other separators: no second line.
    m_work.write("dats.dat", "07-12-2026\r\n28.12.2026");
    const auto untouched = [this] {
        auto tree = snapshot(m_work.path());
        tree.erase("07122026/perviy.txt");
        return tree;
    };
    const auto others = untouched();

    test::TempDir listing;
    const auto summary
        = import({writeListing(listing,
                               {{"20261208120000 +0300", "20261208130000 +0300", "Новый полдень"},
                                {"20261208130000 +0300", "", "Новое кино"},
                                {"20261208150000 +0300", "20261208180000 +0300", "Новый день"}})});

    // The shows from 12:00 up to the listing's end at 18:00 give way; every other line stays.
    std::string after = before;
    const std::string span = cp("12.00 Старый полдень\r\n  Его описание\r\n14.00 Старый день\r\n");
    after.replace(after.find(span), span.size(),
                  cp("12:00 Новый полдень\r\n13:00 Новое кино\r\n15:00 Новый день\r\n"));
    EXPECT_EQ(m_work.read("07122026/perviy.txt"), after);
    EXPECT_EQ(untouched(), others);

    ASSERT_EQ(summary.weeks.size(), 1u);
    EXPECT_EQ(summary.weeks[0].date, "07-12-2026");
    EXPECT_FALSE(summary.weeks[0].newWeek);
    EXPECT_TRUE(summary.weeks[0].addedChannels.empty());
    EXPECT_EQ(summary.weeks[0].replacedChannels, std::vector<std::string>{cp("Первый канал")});
    EXPECT_EQ(summary.channelFiles, 1u);
    EXPECT_EQ(summary.shows, 3u);
}

TEST_F(ImportTest, AMondayNightFollowsTheStoredSundayEveningIntoTheWeekBefore)
{
    m_work.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n28.12.2026\r\n");
    m_work.write("30112026/aplp.dat", cp("Первый канал:p.txt\r\n"));
    const std::string sunday = cp("Первый\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n22.00 Вечер воскресенья\r\n");
    m_work.write("30112026/p.txt", sunday);

    test::TempDir listing;
    const auto summary = import({writeListing(listing,
                                              {{"20261207003000 +0300", "", "Ночной эфир"},
                                               {"20261207090000 +0300", "20261207100000 +0300", "Утро"}})});
    EXPECT_EQ(m_work.read("30112026/p.txt"), sunday + cp("00:30 Ночной эфир\r\n"));
    EXPECT_EQ(m_work.read("07122026/perviy.txt"), cp("Первый\r\n\r\n09:00 Утро\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    ASSERT_EQ(summary.weeks.size(), 2u);
    EXPECT_EQ(summary.weeks[0].date, "30.11.2026");
    EXPECT_EQ(summary.weeks[0].replacedChannels, std::vector<std::string>{cp("Первый канал")});
    EXPECT_EQ(summary.weeks[1].replacedChannels, std::vector<std::string>{cp("Первый канал")});
    EXPECT_TRUE(summary.addedWeeks.empty());
}

TEST(WeekListTest, ANewWeekGoesInDateOrderAndOtherLinesKeepTheirBytes)
{
    const struct
    {
        const char* list;
        const char* date;
        const char* expected;
    } cases[] = {
        {"", "14.12.2026", "14.12.2026\r\n"},
        {"07.12.2026\r\n28.12.2026", "14.12.2026", "07.12.2026\r\n14.12.2026\r\n28.12.2026"},
        {"07.12.2026\r\n28.12.2026\r\n", "30.11.2026", "30.11.2026\r\n07.12.2026\r\n28.12.2026\r\n"},
        {"07.12.2026", "14.12.2026", "07.12.2026\r\n14.12.2026\r\n"},
        {"07.12.2026\n", "14.12.2026", "07.12.2026\n14.12.2026\r\n"},
        // Other separators name days too; lines that name none stay where they are.
        {"07-12-2026\r\n28:12:2026\r\n", "14.12.2026", "07-12-2026\r\n14.12.2026\r\n28:12:2026\r\n"},
        {"junk\r\n31.02.2027\r\n28.12.2026\r\n", "14.12.2026",
         "junk\r\n31.02.2027\r\n14.12.2026\r\n28.12.2026\r\n"},
        {"28.12.2026\r\njunk", "04.01.2027", "28.12.2026\r\njunk\r\n04.01.2027\r\n"},
        // A reader stops at a Ctrl-Z: a line after it is no line of the list.
        {"07.12.2026\r\n\x1A"
         "28.12.2026",
         "14.12.2026", "07.12.2026\r\n14.12.2026\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withWeekInDateOrder(c.list, c.date), c.expected) << c.list;
}

TEST(ServerTreeTest, WritesWhatTheUpdateCheckFetches)
{
    test::ScopedTimeZone zone("Europe/Moscow");
    test::TempDir out;
    out.write("07122026/stale.txt", "left alone");
    WeekBuilder builder;
    readXmltvFile(xmltvSample("week.xml"), builder);
    const TreeSummary summary = writeServerTree(builder, builder.weeks(), out.path());
    EXPECT_EQ(summary.weekDates, (std::vector<std::string>{"07.12.2026", "14.12.2026"}));
    EXPECT_EQ(summary.channelFiles, 6u);

    EXPECT_EQ(out.read("datas.dat"), "07.12.2026\r\n14.12.2026\r\n");
    for (const std::string& date : summary.weekDates) {
        const std::string path = net::weekPath(date);
        EXPECT_EQ(net::serverWeekDate(out.read(path + "data.dat")), date);
        const auto catalogue = net::parseCatalogue(out.read(path + "files.dat"));
        ASSERT_FALSE(catalogue.empty());
        for (const store::ChannelEntry& entry : catalogue) {
            EXPECT_NO_THROW(store::checkBareFileName(entry.fileName));
            EXPECT_TRUE(out.exists(path + entry.fileName)) << entry.fileName;
        }
    }
    const auto firstWeek = net::parseCatalogue(out.read("07122026/files.dat"));
    ASSERT_EQ(firstWeek.size(), 4u);
    EXPECT_EQ(cp1251ToUtf8(firstWeek[3].name), "Спорт/Плюс");
    EXPECT_EQ(out.read("07122026/stale.txt"), "left alone");
}

} // namespace
} // namespace brevio::exchange

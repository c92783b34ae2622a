#include "core/net/update_catalogue.h"

#include "core/net/loaded_entries.h"
#include "core/store/errors.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace brevio::net {
namespace {

using store::ChannelEntry;

std::vector<std::pair<std::string, std::string>> pairsOf(std::string_view body)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const ChannelEntry& entry : parseCatalogue(body))
        pairs.emplace_back(entry.name, entry.fileName);
    return pairs;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(CatalogueParse, AlternatesNamesAndFileNames)
{
    EXPECT_EQ(pairsOf("Первый:k1.txt:Sport 2:s2.txt"), (Pairs{{"Первый", "k1.txt"}, {"Sport 2", "s2.txt"}}));
    // One trailing ':' after the last file name adds nothing.
    EXPECT_EQ(pairsOf("a:a.txt:b:b.txt:"), (Pairs{{"a", "a.txt"}, {"b", "b.txt"}}));
    EXPECT_TRUE(parseCatalogue("").empty());
}

TEST(CatalogueParse, NameAtTheVeryEndGetsAnEmptyFileName)
{
    EXPECT_EQ(pairsOf("a:a.txt:lonely"), (Pairs{{"a", "a.txt"}, {"lonely", ""}}));
    EXPECT_EQ(pairsOf("a:a.txt:lonely:"), (Pairs{{"a", "a.txt"}, {"lonely", ""}}));
}

TEST(CatalogueParse, LineBreaksBelongToTheFields)
{
    EXPECT_EQ(pairsOf("a:a.txt\r\nb:b.txt"), (Pairs{{"a", "a.txt\r\nb"}, {"b.txt", ""}}));
    // Empty fields between doubled colons are kept as such.
    EXPECT_EQ(pairsOf("::x:y"), (Pairs{{"", ""}, {"x", "y"}}));
}

TEST(OfferedWeeks, TheLinesOfTheListUpToTwentyYearsOfWeeks)
{
    EXPECT_EQ(offeredWeeks("12.01.2004\r\n05.01.2004\n"),
              (std::vector<std::string>{"12.01.2004", "05.01.2004"}));
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "01.01.2004\r\n";
    EXPECT_EQ(offeredWeeks(many).size(), kMaxOfferedWeeks);
}

TEST(OfferedWeeks, OnlyWeekDatesAreOffered)
{
    using namespace std::string_literals;
    const std::string noise = ".s.sh.\r\n" + std::string(1u << 20, '7')
        + "\r\n12.01\x01"
          "2004\r\n\x01\x02\x7f\r\n"
        + "29.02.2027\r\n12.01.2004 \r\n1\0.01.2004\r\n"s;
    EXPECT_EQ(offeredWeeks(noise + "12.01.2004\r\n" + noise + "05-01-2004"),
              (std::vector<std::string>{"12.01.2004", "05-01-2004"}));
    // Lines passed over do not count towards the limit.
    std::string late;
    for (std::size_t i = 0; i < 2 * kMaxOfferedWeeks; ++i)
        late += "..\r\n";
    EXPECT_EQ(offeredWeeks(late + "12.01.2004"), std::vector<std::string>{"12.01.2004"});
}

TEST(WeekPath, DropsTheTwoSeparators)
{
    EXPECT_EQ(weekPath("12.01.2004"), "12012004/");
    EXPECT_EQ(weekPath(""), "/");
    // Three to five characters lose only the third one; shorter texts lose nothing.
    EXPECT_EQ(weekPath("12.0"), "120/");
    EXPECT_EQ(weekPath("12.01"), "1201/");
    EXPECT_EQ(weekPath("123"), "12/");
    EXPECT_EQ(weekPath("12"), "12/");
    EXPECT_EQ(weekPath("12.01.2004 extra"), "12012004 extra/");
}

TEST(ServerWeekDate, LineEndsAreNotPartOfTheDate)
{
    EXPECT_EQ(serverWeekDate("12.01.2004\r\n"), "12.01.2004");
    EXPECT_EQ(serverWeekDate("12.01.2004\n\n"), "12.01.2004");
    EXPECT_EQ(serverWeekDate("12.01.2004"), "12.01.2004");
    EXPECT_EQ(serverWeekDate(" 12.01.2004 "), " 12.01.2004 ");
}

TEST(ServerWeekDate, DatesThatAreNoWeekDatesAreRefused)
{
    EXPECT_NO_THROW(checkServerWeekDate("12.01.2004"));
    for (const char* date : {"", "ab/cd/../..", "..", "12.0/.2004", "a.b\\c.d", ".s.sh.", "14.12\r\n2026"})
        EXPECT_THROW(checkServerWeekDate(date), Error) << date;
    EXPECT_EQ(downloadWeekFolder("05.01.2004"), "05012004/");
    EXPECT_THROW(downloadWeekFolder(""), Error);
    EXPECT_THROW(downloadWeekFolder("../../etc"), Error);
}

TEST(DownloadTarget, AWeekOfTheListUnderOtherSeparatorsKeepsItsLineAndChannelList)
{
    struct Case
    {
        bool newWeek;
        const char* newDate;
        DownloadTarget expected;
    };
    const std::vector<std::string> stored{"05.01.2004", "12.01.2004"};
    for (const Case& c : {Case{true, "19.01.2004", {"19.01.2004", "19012004/", true, true}},
                          Case{false, "", {"12.01.2004", "12012004/", false, false}},
                          Case{true, "05-01-2004", {"05.01.2004", "05012004/", false, false}},
                          Case{true, "12:01:2004", {"12.01.2004", "12012004/", false, false}}}) {
        const DownloadTarget target = downloadTarget(c.newWeek, c.newDate, "12.01.2004", stored);
        EXPECT_EQ(target.weekDate, c.expected.weekDate) << c.newDate;
        EXPECT_EQ(target.folder, c.expected.folder) << c.newDate;
        EXPECT_EQ(target.freshList, c.expected.freshList) << c.newDate;
        EXPECT_EQ(target.recordWeek, c.expected.recordWeek) << c.newDate;
    }
}

TEST(EmptyWeekFolder, GoesOnlyWithoutAChannel)
{
    using Files = std::map<std::string, std::string>; // in the week folder
    for (const auto& [files, removed] :
         std::vector<std::pair<Files, bool>>{{{}, true},
                                             {{{"aplp.dat", ""}}, true},
                                             {{{"aplp.dat", "One:one.txt\r\n"}}, false},
                                             {{{"aplp.dat", ""}, {"one.txt", "1"}}, false},
                                             {{{"selpn", "mine\r\n"}}, false}}) {
        test::TempDir dir;
        std::filesystem::create_directory(dir / "12012004");
        for (const auto& [name, content] : files)
            dir.write("12012004/" + name, content);
        EXPECT_EQ(removeEmptyWeekFolder(dir / "12012004/"), removed) << files.size();
        EXPECT_EQ(dir.exists("12012004"), !removed) << files.size();
    }
}

TEST(ChannelOffer, NewWeekOffersEveryChannelTickingTheLoadedOnes)
{
    const auto catalogue = parseCatalogue("One:1.txt:Two:2.txt:Three:3.txt");
    const ChannelOffer offer = offerChannels(catalogue, "Two:2.txtOne:other.txt", true);
    ASSERT_EQ(offer.channels.size(), 3u);
    EXPECT_FALSE(offer.channels[0].checked); // same name, other file
    EXPECT_TRUE(offer.channels[1].checked);
    EXPECT_FALSE(offer.channels[2].checked);
    EXPECT_EQ(offer.channels[2].entry.fileName, "3.txt");
    EXPECT_TRUE(offer.refused.empty());
}

TEST(ChannelOffer, SameWeekOffersOnlyChannelsNotYetLoaded)
{
    const auto catalogue = parseCatalogue("One:1.txt:Two:2.txt:Three:3.txt");
    const ChannelOffer offer = offerChannels(catalogue, "One:1.txtThree:3.txt", false);
    ASSERT_EQ(offer.channels.size(), 1u);
    EXPECT_EQ(offer.channels[0].entry.name, "Two");
    EXPECT_FALSE(offer.channels[0].checked);
    EXPECT_TRUE(offerChannels(catalogue, "One:1.txtTwo:2.txtThree:3.txt", false).channels.empty());
}

TEST(ChannelOffer, ContainmentWorksOnTheJoinedLines)
{
    // "Sport:1.txt" occurs inside a longer entry, "A:b" only across the join of two lines.
    const auto catalogue = parseCatalogue("Sport:1.txt:A:b");
    const ChannelOffer offer = offerChannels(catalogue, "Big Sport:1.txtX:yyA:bc", false);
    EXPECT_TRUE(offer.channels.empty());
}

// The loaded test answers as one search of the joined list per entry would, wherever the
// entry's ':' falls among the list's colons.
TEST(LoadedEntries, SameAnswerAsSearchingTheJoinedList)
{
    struct Case
    {
        const char* list;
        ChannelEntry entry;
        bool loaded;
    };
    const Case cases[] = {
        {"One:1.txtTwo:2.txt", {"One", "1.txt"}, true},
        {"One:1.txtTwo:2.txt", {"Two", "2.txt"}, true},
        {"One:1.txtTwo:2.txt", {"One", "2.txt"}, false},
        {"One:1.txtTwo:2.txt", {"ne", "1.tx"}, true}, // inside an entry
        {"One:1.txtTwo:2.txt", {"txtTwo", "2"}, true}, // across the join
        {"One:1.txtTwo:2.txt", {"1.txtTwo", "2.txt"}, true},
        {"One:1.txtTwo:2.txt", {"One", "1.txtTwo"}, true}, // the file name runs into the next name
        {"One:1.txtTwo:2.txt", {"One", "1.txtTwo:"}, true}, // a ':' of its own: searched as is
        {"One:1.txtTwo:2.txt", {"Two", "2.txt:"}, false},
        {"One:1.txtTwo:2.txt", {"One:1.txtTwo", "2.txt"}, true},
        {"One:1.txtTwo:2.txt", {"", ""}, true}, // ":" alone
        {"One:1.txtTwo:2.txt", {"", "2.txt"}, true},
        {"One:1.txtTwo:2.txt", {"Two", ""}, true},
        {"One:1.txtTwo:2.txt", {"x", ""}, false},
        {"a::b", {"", "b"}, true}, // the empty run between two colons
        {"a::b", {"a", ""}, true},
        {"a::b", {"a", "b"}, false},
        {":", {"", ""}, true},
        {"One", {"One", ""}, false}, // no colon at all
        {"", {"", ""}, false},
        {"Name:file\r\n", {"Name", "file\r\n"}, true},
        {"\xC0\xC1:\xFF", {"\xC0\xC1", "\xFF"}, true}, // bytes above 127 compare as bytes
        {"\xC0\xC1:\xFF", {"\xC1", "\xFF\xFF"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadedEntries({c.entry}, c.list)[0], c.loaded)
            << c.list << " / " << c.entry.name << ":" << c.entry.fileName;
}

TEST(LoadedEntries, ManyEntriesAtOnceMatchOneSearchEach)
{
    // Short random lists and entries over a few letters, so that runs share beginnings and ends
    // and entries occur by chance.
    std::mt19937 random(7);
    const auto text = [&](std::size_t longest, std::string_view letters) {
        std::string t(random() % (longest + 1), ' ');
        for (char& c : t)
            c = letters[random() % letters.size()];
        return t;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string list = text(40, "ab:");
        std::vector<ChannelEntry> entries;
        for (int i = 0; i < 30; ++i)
            entries.push_back({text(4, "ab"), text(4, "ab")});
        const std::vector<bool> loaded = loadedEntries(entries, list);
        ASSERT_EQ(loaded.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            ASSERT_EQ(loaded[i], list.find(entries[i].name + ":" + entries[i].fileName) != std::string::npos)
                << list << " / " << entries[i].name << ":" << entries[i].fileName;
    }
}

TEST(ChannelOffer, UnsafeFileNamesAreNeverOffered)
{
    const auto catalogue = parseCatalogue("Ok:ok.txt:Up:../x.txt:Deep:a/b.txt:Win:a\\b:Dot:..:Last");
    const ChannelOffer offer = offerChannels(catalogue, "", true);
    ASSERT_EQ(offer.channels.size(), 1u);
    EXPECT_EQ(offer.channels[0].entry.fileName, "ok.txt");
    std::vector<std::string> refused;
    for (const RefusedChannel& channel : offer.refused)
        refused.push_back(channel.entry.fileName);
    EXPECT_EQ(refused, (std::vector<std::string>{"../x.txt", "a/b.txt", "a\\b", "..", ""}));
    // The empty name reads as such.
    EXPECT_NE(offer.refused.back().reason.find("An empty name"), std::string::npos);
}

TEST(OfferFile, LinesSeparatedByCrLfWithoutATrailingOne)
{
    const ChannelOffer offer = offerChannels(parseCatalogue("One:1.txt:Two:2.txt"), "", true);
    EXPECT_EQ(offerFileText(offer.channels), "One:1.txt\r\nTwo:2.txt");
    EXPECT_EQ(offerFileText({}), "");
}

TEST(JoinedChannelList, JoinsLinesOrIsEmptyWithoutAFile)
{
    test::TempDir dir;
    EXPECT_EQ(joinedChannelList(dir / "aplp.dat"), "");
    dir.write("aplp.dat", "One:1.txt\r\nTwo:2.txt\nThree:3.txt\r\n");
    EXPECT_EQ(joinedChannelList(dir / "aplp.dat"), "One:1.txtTwo:2.txtThree:3.txt");
}

TEST(ChannelListWriter, AddsEachLineOnceAfterWhatTheFileHeld)
{
    test::TempDir dir;
    dir.write("aplp.dat", "One:1.txt\r\nTwo:2.txt\r\n");
    {
        ChannelListWriter list(dir / "aplp.dat", false);
        for (const char* line : {"Two:2.txt", "Three:3.txt", "One:1.txt", "Three:3.txt", "one:1.txt"})
            list.add(line);
    }
    EXPECT_EQ(dir.read("aplp.dat"), "One:1.txt\r\nTwo:2.txt\r\nThree:3.txt\r\none:1.txt\r\n");
    ChannelListWriter fresh(dir / "aplp.dat", true);
    fresh.add("Two:2.txt");
    EXPECT_EQ(dir.read("aplp.dat"), "Two:2.txt\r\n");
}

TEST(PlannedDownloads, TakesTickedPositionsBelowTheOfferedCount)
{
    const std::vector<std::string> lines{"One:1.txt", "Two:2.txt", "Three:3.txt"};
    const auto plan = plannedDownloads(lines, {true, false, true}, 3);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].position, 0u);
    EXPECT_EQ(plan[1].line, "Three:3.txt");
    EXPECT_EQ(plan[1].entry.name, "Three");
    EXPECT_EQ(plan[1].entry.fileName, "3.txt");
    // Positions past the offered count or past the checklist count as unticked.
    EXPECT_EQ(plannedDownloads(lines, {true, true, true}, 1).size(), 1u);
    EXPECT_EQ(plannedDownloads(lines, {false, true}, 3).size(), 1u);
    EXPECT_TRUE(plannedDownloads({}, {false, false}, 2).empty());
}

TEST(PlannedDownloads, RefusesBeforeAnythingIsFetched)
{
    EXPECT_THROW(plannedDownloads({"One:1.txt", "Evil:../../x"}, {true, true}, 2), UnsafeNameError);
    EXPECT_THROW(plannedDownloads({"One:1.txt", "NoFile"}, {false, true}, 2), UnsafeNameError);
    // An edited files.dat shorter than the checklist.
    EXPECT_THROW(plannedDownloads({"One:1.txt"}, {false, true}, 2), Error);
}

} // namespace
} // namespace brevio::net

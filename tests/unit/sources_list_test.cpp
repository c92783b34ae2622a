// The listing sources as the settings keep them: addresses, when a refresh is due, the channels a
// source keeps, and the stored values.
#include "core/sources/listing_source.h"
#include "core/sources/source_settings.h"
#include "core/store/cp1251.h"

#include <gtest/gtest.h>

#include <functional>

namespace brevio::sources {
namespace {

using namespace std::chrono;
using Names = std::vector<std::string>;

const Seconds kNoon = sys_days(year(2026) / 12 / 9) + hours(12);

TEST(SourceAddress, WebAddressesAndAbsolutePathsOnly)
{
    const struct
    {
        const char* address;
        const char* problem; // nullptr: accepted
    } cases[] = {
        {"http://epg.example/guide.xml.gz", nullptr},
        {"HTTPS://epg.example:8443/a?b=c", nullptr},
        {"https://user:secret@[::1]:8080/guide.xml", nullptr},
        {"/home/me/.xmltv/tv guide.xml", nullptr},
        {"", "No address"},
        {"ftp://epg.example/guide.xml", "is no source address"},
        {"file:///home/me/guide.xml", "is no source address"},
        {"guide.xml", "is no source address"},
        {"~/guide.xml", "is no source address"},
        {"http://", "names no host"},
        {"http://user@:80/x", "names no host"},
        {"https://[]/x", "names no host"},
        {"http://epg.example/a b.xml", "no blanks or control characters"},
        {"http://epg.example/\x01", "no blanks or control characters"},
        {"/home/me/gu\nide.xml", "no control characters"},
    };
    for (const auto& c : cases) {
        const auto problem = addressProblem(c.address);
        if (!c.problem)
            EXPECT_FALSE(problem) << c.address << ": " << *problem;
        else
            EXPECT_TRUE(problem && problem->find(c.problem) != std::string::npos)
                << c.address << ": " << problem.value_or("accepted");
    }
    EXPECT_EQ(defaultSourceName("https://user@epg.example:8443/guide.xml"), "epg.example");
    EXPECT_EQ(defaultSourceName("/home/me/.xmltv/guide.xml"), "guide.xml");
}

TEST(SourceSchedule, DueWhenOlderThanItsIntervalOrAfterItsWaitForAnotherTry)
{
    const struct
    {
        const char* name;
        bool enabled;
        std::optional<Seconds> lastSuccess;
        int failures;
        std::optional<Seconds> nextTry;
        bool due;
        bool current;
    } cases[] = {
        {"never refreshed", true, std::nullopt, 0, std::nullopt, true, false},
        {"switched off", false, std::nullopt, 0, std::nullopt, false, false},
        {"refreshed an hour ago", true, kNoon - hours(1), 0, std::nullopt, false, true},
        {"refreshed as long ago as its interval", true, kNoon - hours(12), 0, std::nullopt, true, false},
        {"failed, still waiting", true, kNoon - hours(1), 1, kNoon + minutes(5), false, false},
        {"failed, waited long enough", true, kNoon - hours(1), 1, kNoon, true, false},
        {"refreshed in the future: the clock was set back", true, kNoon + hours(1), 0, std::nullopt, true,
         false},
        {"a wait longer than any: the clock was set back", true, std::nullopt, 3, kNoon + hours(13), true,
         false},
    };
    for (const auto& c : cases) {
        ListingSource source;
        source.enabled = c.enabled;
        source.state.lastSuccess = c.lastSuccess;
        source.state.failures = c.failures;
        source.state.nextTry = c.nextTry;
        EXPECT_EQ(isDue(source, kNoon), c.due) << c.name;
        EXPECT_EQ(isCurrent(source, kNoon), c.current) << c.name;
    }
}

TEST(SourceSchedule, AFailedSourceWaitsTenMinutesDoublingUpToItsInterval)
{
    const struct
    {
        int failures;
        int interval;
        int minutes;
    } cases[] = {{1, 720, 10},  {2, 720, 20},   {4, 720, 80}, {7, 720, 640},
                 {8, 720, 720}, {60, 720, 720}, {1, 5, 10},   {3, 30, 30}};
    for (const auto& c : cases)
        EXPECT_EQ(retryDelay(c.failures, c.interval), minutes(c.minutes))
            << c.failures << " failures, interval " << c.interval;

    ListingSource source;
    source.state.lastSuccess = kNoon - hours(20);
    recordFailure(source, kNoon, "cut short");
    recordFailure(source, kNoon + minutes(10), "cut again");
    EXPECT_EQ(source.state.failures, 2);
    EXPECT_EQ(source.state.nextTry, kNoon + minutes(30));
    EXPECT_EQ(source.state.lastError, "cut again");
    EXPECT_EQ(source.state.lastSuccess, kNoon - hours(20)); // the last good guide stays the last good one
}

Names numbered(int count, const std::string& stem)
{
    Names names;
    for (int i = 1; i <= count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

TEST(SourceChannels, AFirstListingOfFewIsKeptLaterOnesAreOnlyOffered)
{
    const Names hundred = numbered(100, "c"), more = numbered(101, "c");
    const struct
    {
        const char* name;
        bool keepAll;
        std::vector<Names> listings; // read one after another
        Names kept;
        Names offered;
    } cases[] = {
        {"a first listing of 100 is kept", false, {hundred}, hundred, {}},
        {"a first listing of 101 is offered", false, {more}, {}, more},
        {"later channels are offered", false, {{"a", "b"}, {"b", "c", "a"}}, {"a", "b"}, {"c"}},
        {"keeping all keeps later ones too", true, {more, {"c1", "new"}}, numbered(101, "c"), {}},
    };
    for (const auto& c : cases) {
        ListingSource source;
        source.keepAll = c.keepAll;
        for (const Names& listing : c.listings)
            takeChannelNames(source, listing);
        Names kept = c.kept;
        if (c.keepAll)
            kept.push_back("new");
        EXPECT_EQ(source.kept, kept) << c.name;
        EXPECT_EQ(source.offered, c.offered) << c.name;
        EXPECT_TRUE(source.state.channelsListed) << c.name;
    }
}

ListingSource everyValueSet()
{
    ListingSource source;
    source.name = "Мой провайдер";
    source.address = "https://epg.example/guide.xml.gz";
    source.enabled = false;
    source.intervalMinutes = 90;
    source.timeZone = "Europe/Kaliningrad";
    source.dayStartMinutes = 6 * 60 + 30;
    source.languages = {"uk", "ru"};
    source.keepAll = true;
    source.kept = {utf8ToCp1251("Первый канал"), "Euronews, HD"};
    source.offered = {utf8ToCp1251("НТВ")};
    SourceState& state = source.state;
    state.lastSuccess = kNoon;
    state.lastAttempt = kNoon + hours(3);
    state.failures = 2;
    state.nextTry = kNoon + hours(4);
    state.lastError = "The server answered \"HTTP/1.1 404 Not Found\"\nsecond line";
    state.channelsListed = true;
    state.channelsGiven = 2;
    state.weeks = {"07.12.2026", "14.12.2026"};
    state.etag = "\"5e-1a|x\"";
    state.lastModified = "Wed, 09 Dec 2026 10:00:00 GMT";
    state.fileSize = std::uint64_t(5) << 32;
    state.fileTime = std::int64_t(1796843729942006204);
    return source;
}

TEST(SourceSettings, EveryValueComesBackAndMissingOrBadOnesGiveTheDefaults)
{
    const std::vector<ListingSource> sources{everyValueSet(), ListingSource{}};
    std::vector<ListingSource> expected = sources;
    expected[1].address = "/srv/tv.xml";
    expected[1].name = "tv.xml";
    SectionValues values = sourcesToSettings(expected);
    EXPECT_EQ(values.at("count"), "2");
    EXPECT_EQ(values.at("1/kept"), "Первый канал|Euronews, HD"); // UTF-8 in the settings file
    EXPECT_EQ(values.at("1/languages"), "uk,ru");
    EXPECT_EQ(sourcesFromSettings(values), expected);

    // What a hand-edited file may hold: bad numbers, no values, a source without an address.
    SectionValues edited{{"count", "3"},
                         {"1/address", "/srv/tv.xml"},
                         {"1/interval", "1"},
                         {"1/failures", "many"},
                         {"1/fileSize", "-5"},
                         {"1/dayStart", "5000"},
                         {"2/name", "no address"},
                         {"3/address", "http://x.example/"},
                         {"3/name", ""}};
    const auto read = sourcesFromSettings(edited);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "tv.xml");
    EXPECT_EQ(read[0].intervalMinutes, kShortestIntervalMinutes);
    EXPECT_EQ(read[0].state.failures, 0);
    EXPECT_FALSE(read[0].state.fileSize);
    EXPECT_EQ(read[0].dayStartMinutes, 24 * 60 - 1);
    EXPECT_EQ(read[0].languages, Names{"ru"});
    EXPECT_TRUE(read[0].enabled);
    EXPECT_EQ(read[1].address, "http://x.example/");
    EXPECT_EQ(read[1].name, "x.example"); // a list names every source
}

TEST(SourceSettings, ARefreshIsStoredIntoTheSourceOfItsAddressWhereverItIsNow)
{
    ListingSource refreshed = everyValueSet();
    std::vector<ListingSource> stored(2);
    stored[0].address = "/other.xml";
    stored[1].address = refreshed.address;
    stored[1].name = "renamed meanwhile";
    ASSERT_TRUE(applyRefresh(stored, refreshed));
    EXPECT_EQ(stored[1].name, "renamed meanwhile");
    EXPECT_EQ(stored[1].state, refreshed.state);
    EXPECT_EQ(stored[1].kept, refreshed.kept);
    EXPECT_EQ(stored[0].state, SourceState{});
    stored.pop_back();
    EXPECT_FALSE(applyRefresh(stored, refreshed)); // removed meanwhile
}

TEST(SourceEdit, AChangeInHowTheListingIsReadMakesTheNextFetchUnconditional)
{
    const struct
    {
        const char* name;
        std::function<void(ListingSource&)> edit;
        bool reread;
    } cases[] = {
        {"renamed", [](ListingSource& s) { s.name = "another"; }, false},
        {"switched on", [](ListingSource& s) { s.enabled = true; }, false},
        {"another interval", [](ListingSource& s) { s.intervalMinutes = 60; }, false},
        {"the same channels in another order", [](ListingSource& s) { std::swap(s.kept[0], s.kept[1]); },
         false},
        {"a channel more", [](ListingSource& s) { s.kept.push_back(s.offered.at(0)); }, true},
        {"another zone", [](ListingSource& s) { s.timeZone = "Europe/Moscow"; }, true},
        {"another day start", [](ListingSource& s) { s.dayStartMinutes = 0; }, true},
        {"other languages", [](ListingSource& s) { s.languages = {"ru"}; }, true},
        {"another address", [](ListingSource& s) { s.address = "/srv/other.xml"; }, true},
    };
    for (const auto& c : cases) {
        ListingSource stored = everyValueSet();
        ListingSource edited = stored;
        c.edit(edited);
        EXPECT_EQ(takeEdit(stored, edited), c.reread) << c.name;
        SourceState expected = everyValueSet().state;
        if (edited.address != everyValueSet().address) {
            expected = SourceState{}; // another source in all but its name
        } else if (c.reread) {
            expected.etag.clear();
            expected.lastModified.clear();
            expected.fileSize.reset();
            expected.fileTime.reset();
        }
        EXPECT_EQ(stored.state, expected) << c.name;
        edited.state = expected;
        EXPECT_EQ(stored, edited) << c.name;
    }
}

TEST(SourceChannels, TheHighestEnabledSourceThatKeepsAChannelGivesIt)
{
    std::vector<ListingSource> sources(4);
    sources[0].kept = {"a"};
    sources[1].kept = {"a", "b", "c"};
    sources[1].enabled = false;
    sources[2].kept = {"b", "a"};
    using Given = std::map<std::string, std::size_t>;
    EXPECT_EQ(channelsGivenAbove(sources, 0), Given{});
    EXPECT_EQ(channelsGivenAbove(sources, 2), (Given{{"a", 0}}));
    EXPECT_EQ(channelsGivenAbove(sources, 3), (Given{{"a", 0}, {"b", 2}}));
}

} // namespace
} // namespace brevio::sources

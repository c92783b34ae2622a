#include "core/exchange/channel_merge.h"

#include "core/exchange/day_layout.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace brevio::exchange {

namespace {

using namespace std::chrono;

struct Placed
{
    sys_seconds start;
    const std::string* bytes;
    std::optional<sys_days> from; // the stored week it comes from; none for the listing's
};

} // namespace

ListingSpan listingSpan(const std::vector<ListingShow>& shows)
{
    ListingSpan span{floor<minutes>(shows.front().start), floor<minutes>(shows.front().start)};
    for (const ListingShow& show : shows) {
        const sys_seconds start = floor<minutes>(show.start);
        span.until
            = std::max({span.until, start + minutes(1), show.stop ? floor<minutes>(*show.stop) : start});
    }
    return span;
}

std::vector<sys_days> weeksToMerge(const ListingSpan& span, int dayStartMinutes)
{
    const LocalClock first = localClock(span.from);
    const sys_days firstDay = first.minutes < dayStartMinutes ? first.date - days(1) : first.date;
    std::vector<sys_days> mondays;
    const sys_days last = mondayOf(localClock(span.until - seconds(1)).date);
    for (sys_days monday = mondayOf(firstDay); monday <= last; monday += days(7))
        mondays.push_back(monday);
    return mondays;
}

std::vector<MergedWeek> mergeChannel(const std::map<sys_days, StoredChannelWeek>& stored,
                                     const std::vector<ListingShow>& listing, std::string_view channelName,
                                     int dayStartMinutes)
{
    const ListingSpan span = listingSpan(listing);
    std::set<sys_days> changed;
    std::vector<Placed> shows;
    for (const auto& [monday, week] : stored)
        for (const StoredShow& show : week.shows) {
            if (span.contains(show.start))
                changed.insert(monday);
            else
                shows.push_back({show.start, &show.bytes, monday});
        }
    for (const ListingShow& show : listing)
        shows.push_back({show.start, &show.bytes, std::nullopt});
    std::stable_sort(shows.begin(), shows.end(),
                     [](const Placed& a, const Placed& b) { return a.start < b.start; });

    std::map<sys_days, std::array<std::string, 7>> blocks;
    DayLayout layout(dayStartMinutes);
    for (const Placed& show : shows) {
        const BlockPlace place = layout.place(show.start);
        blocks[place.monday][static_cast<std::size_t>(place.weekday)] += *show.bytes;
        // A stored show that moves to another week changes both.
        if (show.from != place.monday) {
            changed.insert(place.monday);
            if (show.from)
                changed.insert(*show.from);
        }
    }

    std::vector<MergedWeek> merged;
    for (const sys_days monday : changed) {
        const auto file = stored.find(monday);
        const std::string header
            = file != stored.end() ? file->second.header : channelFileHeader(channelName, monday);
        merged.push_back({monday,
                          channelFileText(header, blocks[monday],
                                          file != stored.end() ? file->second.tail : std::string())});
    }
    return merged;
}

} // namespace brevio::exchange

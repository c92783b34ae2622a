#pragma once

#include "core/exchange/stored_week.h"
#include "core/exchange/week_builder.h"

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Merging a listing's shows of one channel into the channel's weeks in the store, by moments.
namespace brevio::exchange {

// The time a listing speaks for on a channel: from its first show's start to the latest end of
// its shows (a show's stop, or its start when it has none), whole minutes as the channel files
// hold them. A show at the end's minute is inside only when the end is a start.
struct ListingSpan
{
    std::chrono::sys_seconds from;
    std::chrono::sys_seconds until; // the first moment after it
    bool contains(std::chrono::sys_seconds start) const { return start >= from && start < until; }
};
ListingSpan listingSpan(const std::vector<ListingShow>& shows); // shows not empty, in start order

// The Mondays of the weeks whose files the merge reads and may change: from the week of the
// broadcast day the span starts on (its date, or the day before when it starts before the day
// start: the Sunday before may take a Monday night) to the week of the span's last date.
std::vector<std::chrono::sys_days> weeksToMerge(const ListingSpan& span, int dayStartMinutes);

struct MergedWeek
{
    std::chrono::sys_days monday;
    std::string bytes; // the channel's new file for that week
};

// The channel's files after the merge: the stored shows that start within the listing's span
// give way to the listing's shows, the others stay byte for byte, and all are laid into day
// blocks again by DayLayout. `stored` holds the channel's files of weeksToMerge that the store
// has (a file keeps its header and what follows Sunday; a new one gets channelFileHeader).
// Only weeks whose shows change are returned, in date order.
std::vector<MergedWeek> mergeChannel(const std::map<std::chrono::sys_days, StoredChannelWeek>& stored,
                                     const std::vector<ListingShow>& listing, std::string_view channelName,
                                     int dayStartMinutes);

} // namespace brevio::exchange

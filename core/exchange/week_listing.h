#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A week of the store as the exports read it: the day view's shows with their real moments.
namespace brevio::exchange {

struct ListedShow
{
    long long airMinutes = 0; // after the week's Monday 00:00, local wall clock (see view::PaneShow)
    std::optional<long long> endMinutes; // see showEnd
    std::string title; // windows-1251, the heading without its time
    std::vector<std::string> description; // windows-1251, the lines under the heading
};

struct ListedChannel
{
    int index = 0; // its line in the week's channel list
    std::string name; // windows-1251
    std::string fileName;
    std::vector<ListedShow> shows; // in the order of the day panes
};

struct WeekListing
{
    std::string weekDate;
    std::chrono::sys_days monday;
    std::vector<ListedChannel> channels; // in the channel list's order
};

// A show is taken to run until the channel's next show starts, unless that starts more than
// this later: then the listing has a gap there, and when the show ends is not known.
inline constexpr std::chrono::minutes kLongestKnownEnd{6 * 60};

// The end of a show that airs at `airMinutes` when the channel's next show airs at
// `nextAirMinutes`: that start, when it is later and no more than kLongestKnownEnd away.
std::optional<long long> showEnd(long long airMinutes, long long nextAirMinutes);

// Reads the week of `weekDate` (its folder in the working folder) for an export: the channels
// `wanted` accepts (by index; all without it). An export must not leave shows out unsaid, so a
// channel that cannot be read whole ends it: throws Error naming the channel and the fault;
// also when the week date names no day, and IoError when the week has no channel list.
WeekListing readWeekListing(std::string_view weekDate, const std::function<bool(int index)>& wanted = {});

// A line of the store as text for other programs: UTF-8, one line without control characters
// (runs of blanks and controls become one blank; the byte windows-1251 leaves undefined, '?').
std::string outsideText(std::string_view bytes);

// The show of a channel that airs at `airMinutes`; of several, the one whose title is `title`.
const ListedShow* findShow(const ListedChannel& channel, long long airMinutes, std::string_view title);

} // namespace brevio::exchange

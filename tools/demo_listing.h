#pragma once

#include "tools/demo_pools.h"

#include "core/exchange/broadcast_day.h"

#include <chrono>
#include <string>
#include <vector>

namespace brevio::tools {

struct DemoShow
{
    int start; // minutes after the day's midnight; past 24 hours after midnight
    Genre genre;
    std::string title; // UTF-8
    std::string description; // UTF-8, often empty
};

// One day of a channel of this profile: shows from about 06.00 to 01.xx after midnight,
// starting on five-minute marks, strictly rising.
std::vector<DemoShow> demoDay(const ThemeProfile& profile, DemoRandom& random);

// One channel's week as the schedule server hands it out, windows-1251 with CR LF: a header
// line, then seven day blocks (Monday first), each opened by an empty line and a heading
// with the weekday, then the day's shows from about 06.00 to 01.xx after midnight. The same
// channel and week always give the same bytes; another week gives another schedule.
std::string channelWeekFile(const DemoChannel& channel, std::chrono::sys_days monday);

// "dd.mm.yyyy", the form the server uses for a week's Monday.
inline std::string weekDate(std::chrono::sys_days day)
{
    return exchange::weekDateText(day);
}

} // namespace brevio::tools

#pragma once

#include "tools/demo_pools.h"

#include <chrono>
#include <string>

namespace brevio::tools {

// One channel's week as the schedule server hands it out, windows-1251 with CR LF: a header
// line, then seven day blocks (Monday first), each opened by an empty line and a heading
// with the weekday, then the day's shows from about 06.00 to 01.xx after midnight. The same
// channel and week always give the same bytes; another week gives another schedule.
std::string channelWeekFile(const DemoChannel& channel, std::chrono::sys_days monday);

// "dd.mm.yyyy", the form the server uses for a week's Monday.
std::string weekDate(std::chrono::sys_days day);

} // namespace brevio::tools

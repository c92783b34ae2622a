#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// A channel file of the week store read back into its shows with the moments every reader of
// the store gives them, so that a listing can be merged into it.
namespace brevio::exchange {

struct StoredShow
{
    std::chrono::sys_seconds start;
    std::string bytes; // its lines as the file has them, each ended by CR LF
};

struct StoredChannelWeek
{
    std::string header; // the lines before the first day separator, each ended by CR LF
    std::vector<StoredShow> shows; // in the file's order
    std::string tail; // the eighth separator and the lines after it, which no day holds
};

// Reads a channel file of the week of `monday`: each show dated by its day block and its local
// time (view/block_dating.h), in the process's time zone, as the import writes it. Lines above
// a block's first show go with that show; a block that has no show keeps its lines as one text
// at the day's start (`dayStartMinutes`). A timed line whose time is no time of day stays with
// the show above it, as a line of its text.
StoredChannelWeek readStoredWeek(std::string_view bytes, std::chrono::sys_days monday, int dayStartMinutes);

} // namespace brevio::exchange

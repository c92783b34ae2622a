#pragma once

#include "core/store/time_shifts.h"
#include "core/view/block_dating.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What is on the air now and what starts within the next hours, across every channel of
// the calendar week that holds today.
namespace brevio::view {

// Monday 00:00 of the calendar week that holds `now`.
std::chrono::local_days weekMonday(std::chrono::local_seconds now);

// The folder of that week, "ddmmyyyy/".
std::string currentWeekFolder(std::chrono::local_seconds now);

// A channel's shift as the "now" view counts it: hours modulo 24 keeping their sign, plus the
// minutes, as one signed number of minutes.
long long nowShiftMinutes(const store::TimeShift& shift);

// Collects the lines of the "now" view channel by channel and keeps them ordered by time of
// day alone: a new line goes above every line of an equal or later time, so for equal times
// the channel added later stands higher.
class NowViewBuilder
{
public:
    // `lookAheadHours`: shows starting up to that many hours after `now` are listed too.
    NowViewBuilder(std::chrono::local_seconds now, int lookAheadHours);

    // Reads one channel file (its text, read line by line; the week starts on weekMonday(now),
    // each show dated by its day block as view/block_dating.h says): the show that began less
    // than two hours before now and is still running, and the shows starting from now to the
    // end of the look-ahead. The header and what follows Sunday's block are no show. Each listed line reads
    // "hh:nn" (the shifted start), a blank, the schedule line, " - " and the channel name. Throws
    // InvalidTimeError on a time that is no time of day; lines collected so far stay.
    void addChannel(std::string_view channelName, std::string_view fileText, const store::TimeShift& shift);

    // The same a line at a time, for a file read as it goes: a channel starts, then its lines
    // follow until addLine says that no later line can be listed (false). A line may come
    // raw, before it is cut at its first CR (store::cutRawLine).
    void startChannel(std::string_view channelName, const store::TimeShift& shift);
    bool addLine(std::string_view rawLine);

    // The lines collected so far, in the order they are shown.
    std::vector<std::string> lines() const;

private:
    struct Entry
    {
        int timeOfDay;
        std::size_t order;
        std::string text;
    };

    // `time`: the shifted start in minutes, before it is brought into the day.
    void add(std::string_view line, long long time);

    std::chrono::local_seconds m_now;
    std::chrono::local_seconds m_onAirFrom;
    std::chrono::local_seconds m_until;
    std::chrono::local_days m_monday;
    std::vector<Entry> m_entries;

    // The channel being read: each show's day from its day block, its time with the shift.
    std::string m_channel;
    long long m_offset = 0;
    BlockDating m_dating;
    std::optional<std::chrono::local_seconds> m_previousStart;
    long long m_previousTime = 0;
    std::string m_previousLine;
};

// The whole view from the files: the current week's channel list and channel files, and
// times.dat, all relative to the working folder. Returns false, with no lines and no error,
// when the current week has no channel list (it was not downloaded): the page then keeps
// showing what it showed. A channel whose file is missing is left out. Fills `out` as it goes
// and throws where it stops: ConvertError for an unreadable times.dat line of a channel,
// InvalidTimeError for a time that is no time of day, UnsafeNameError for a file name that
// would leave the week folder; `out` then holds the lines collected before.
bool buildNowView(std::chrono::local_seconds now, int lookAheadHours, std::vector<std::string>& out);

} // namespace brevio::view

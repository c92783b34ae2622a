#pragma once

#include "core/store/time_shifts.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Cutting a channel file into the seven day panes of a week.
namespace brevio::view {

inline constexpr int kWeekDays = 7;

// The lines of the seven day panes, 0 Monday .. 6 Sunday.
using DayPanes = std::array<std::vector<std::string>, kWeekDays>;

// Appends each day block of a channel file (its separator line, then its lines) to that day's
// pane; timed lines get the channel's shifted time in front (see withShiftedTime), and an
// over-long line is cut as a pane shows it (cutToShownLength). The header
// before the first separator and everything from the eighth separator on are dropped.
// Throws InvalidTimeError on a shown line whose time is no time of day; the panes then keep
// every line appended before it (days fill Monday first).
void appendChannelDays(DayPanes& panes, std::vector<std::string> fileLines, const store::TimeShift& shift);

// One channel's week as the day view shows it.
struct ChannelDays
{
    bool found = false; // the channel list has a line at the asked index
    std::string channelName;
    DayPanes panes; // each: channel name, the day's separator line, the day's lines
};

// A channel's week from its file's lines: each pane starts with the channel name, then
// appendChannelDays. Throws as appendChannelDays does; `out` keeps what was filled.
void fillChannelDays(std::string_view channelName, const std::vector<std::string>& fileLines,
                     const store::TimeShift& shift, ChannelDays& out);

// The day panes of the channel on line `index` (from 0) of the week's channel list, read
// afresh from the week folder ("12012004/", empty for the working folder) and times.dat.
// Fills `out` step by step and throws where the reading stops:
// - channel list missing: IoError "File not found", nothing filled;
// - no line at `index` (or a negative one): returns with `found` false, nothing filled;
// - channel file missing: IoError "File not found"; `found` and the name set, panes empty;
//   a file name that would leave the week folder: UnsafeNameError, likewise;
// - the channel's times.dat line unreadable: ConvertError, each pane holds only the name;
// - a time that is no time of day in a shifted channel: InvalidTimeError, panes partly filled.
// A missing times.dat means no shift.
void loadChannelDays(std::string_view weekFolder, int index, ChannelDays& out);

} // namespace brevio::view

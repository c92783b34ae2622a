#pragma once

#include "core/store/time_shifts.h"
#include "core/view/day_view.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The shows of a week as the day view shows them, channel by channel: what the search and the
// exports read. Each channel file is cut and shifted by the day view's own code.
namespace brevio::view {

// A show in a channel's day panes: its time line and the description lines under it.
struct PaneShow
{
    int day = 0; // the day pane, 0 Monday .. 6 Sunday
    int line = 0; // its time line in that pane (line 0 holds the channel name)
    int lineCount = 1; // the time line and the description lines under it
    // When it airs, in minutes after the week's Monday 00:00: the pane's day, one day more when
    // a show above it in the pane starts later (it runs after midnight), the time as the file
    // has it, and the channel's shift. It may fall before the Monday or after the Sunday.
    long long airMinutes = 0;
};

// The day counted from the week's Monday on which a show airs at `airMinutes` (-1 the Sunday
// before, 7 the Monday after), and the time of day the pane shows for it (the shifted time).
int airDay(long long airMinutes);
int shownMinutes(long long airMinutes);

// The shows of one channel's day panes (as fillChannelDays makes them). Throws
// InvalidTimeError at a time that is no time of day; `out` keeps the shows before it.
void collectPaneShows(const DayPanes& panes, const store::TimeShift& shift, std::vector<PaneShow>& out);

struct ChannelWeek
{
    int index = 0; // its line in the week's channel list, from 0
    std::string name; // windows-1251, as the channel list has it
    std::string fileName;
    store::TimeShift shift;
    DayPanes panes; // as the day view shows them
    std::vector<PaneShow> shows; // in pane order, Monday first
    // Why the channel could not be read whole (UTF-8, the error's text); empty when it was.
    // The panes and shows then hold what was read before the fault.
    std::string problem;

    // The show's heading without its time(s) and its description lines.
    std::string_view title(const PaneShow& show) const;
    std::span<const std::string> description(const PaneShow& show) const;
};

// Reads the week folder's channel list and times.dat once, then the file of every channel that
// `wanted` accepts (by its index; every channel without it) once, and hands each channel to
// `take` in the list's order. A channel that cannot be read whole (its file missing, an unsafe
// file name, an unreadable times.dat line, a time that is no time of day) comes with `problem`
// set. Throws IoError "File not found" when the week has no channel list.
void readWeekChannels(std::string_view weekFolder, const std::function<bool(int index)>& wanted,
                      const std::function<void(ChannelWeek& channel)>& take);

} // namespace brevio::view

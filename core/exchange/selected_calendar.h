#pragma once

#include "core/exchange/week_listing.h"
#include "core/view/week_lists.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The selected shows of a week as calendar events, for the user's own calendar.
namespace brevio::exchange {

// One entry of a selected list, taken apart: "19.45 Title - Channel", or with the end time in
// front "19.45 - 20.30 19.45 Title - Channel"; a shifted channel's entry has its shown time
// before the file's ("00:30 23.30 Film - Channel"); the lines of a show's description follow
// its first line, the channel's name ending the last of them. Texts in windows-1251.
struct SelectedEntry
{
    std::string startText; // the leading time text
    std::optional<std::string> endText;
    std::string title; // the heading without its times
    std::vector<std::string> description;
    std::string channel;
};

// The entries of a list: each starts at a timed line and takes the lines after it up to the
// next one; lines above the first are no entry. The channel is the longest of `channelNames`
// that ends the entry after " - ", else the text after its last " - ".
std::vector<SelectedEntry> selectedEntries(const std::vector<std::string>& list,
                                           const std::vector<std::string>& channelNames);

struct CalendarEvent
{
    std::chrono::sys_seconds start;
    std::optional<std::chrono::sys_seconds> end;
    std::string summary; // UTF-8
    std::string description; // UTF-8: the channel, then the description lines
    std::string uid; // the same show gives the same one on every export
};

using view::SelectedLists;

// The events of the eight lists (0 Monday .. 6 Sunday, 7 the Monday after the week) of `week`:
// each entry on its list's day at its leading time, in the local time zone; it ends at the end
// time it carries (the next day when that is earlier), else when the channel's next show starts
// (looked up in `week`), else it has no end. Throws Error for an entry whose time is no time of day.
std::vector<CalendarEvent> selectedEvents(const WeekListing& week, const SelectedLists& lists);

// The calendar file: the events in UTC, each with a display alarm `reminderMinutes` before it
// starts when given. `stamp` is when the file is made.
std::string calendarText(const std::vector<CalendarEvent>& events, std::optional<int> reminderMinutes,
                         std::chrono::sys_seconds stamp);

} // namespace brevio::exchange

#pragma once

#include "core/store/time_shifts.h"

#include <string>
#include <string_view>

// Time texts at the start of schedule lines: the day panes, the selected lists, the "now"
// view and the printed schedule all read a show's time with these rules.
namespace brevio::view {

inline constexpr int kMinutesPerDay = 24 * 60;

// The first 4 or 5 characters of a line that may hold its time: 5 when the first '.' or the
// first ':' is the 3rd character, else 4 when one of them is the 2nd, else empty. A line
// shorter than that gives what it has.
std::string_view timePrefix(std::string_view line);

// Exactly D.DD, D:DD, DD.DD or DD:DD. The values are not checked here ("99.99" passes).
bool isTimeText(std::string_view text);

// A line whose time prefix is a time text: a show's first line.
bool isTimedLine(std::string_view line);

// The time of day of a time text in minutes after midnight, whichever separator it uses.
// Throws InvalidTimeError(text) when it is no time text or no time of day (hours above 23,
// minutes above 59); call it only where the time is really needed.
int timeOfDay(std::string_view text);

// A time in minutes brought into the day, 0..1439 (-30 gives 1410, 1470 gives 30).
int wrapToDay(long long minutes);

// "hh:nn" of a time in minutes, brought into the day first (-30 gives "23:30").
std::string formatTime(long long minutes);

// A shift in minutes: hours then minutes, each with its own sign.
long long shiftMinutes(const store::TimeShift& shift);

// A schedule line as the channel's shift shows it: unchanged when the shift is zero or the
// line is not timed, otherwise its shifted time (wrapped into the day) "hh:nn", a blank and
// the whole line. Throws InvalidTimeError when the line's time is no time of day.
std::string withShiftedTime(std::string line, const store::TimeShift& shift);

// The schedule line a day pane's line was made from: withShiftedTime undone.
std::string_view scheduleLine(std::string_view paneLine, const store::TimeShift& shift);

// A show's heading without its time: the rest of the line after the time prefix and the blanks
// that follow it ("19.45 News" gives "News"); a line that is not timed stays whole.
std::string_view withoutTime(std::string_view line);

} // namespace brevio::view

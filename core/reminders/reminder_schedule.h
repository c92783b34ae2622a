#pragma once

#include "core/reminders/reminder_file.h"
#include "core/view/week_shows.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// When each reminder comes: its show looked up in the week store as the day view shows it.
namespace brevio::reminders {

inline constexpr int kDefaultMinutesBefore = 5;
inline constexpr int kMostMinutesBefore = 120;
inline constexpr std::chrono::minutes kSnoozeTime{5};
// How long a show counts as on the air when the listing does not tell when it ends (no next
// show, or one more than six hours later).
inline constexpr std::chrono::minutes kUnknownEndLength{30};

struct ReminderOptions
{
    int minutesBefore = kDefaultMinutesBefore; // 0 .. kMostMinutesBefore
    bool everySelected = false; // every show of the selected lists has a reminder
};

// A reminder whose show the store holds, and when it comes. Times are local wall clock.
struct ScheduledReminder
{
    Reminder reminder;
    bool kept = true; // in the reminders file; false: a show of the selected lists without one
    int channelIndex = 0; // the channel's line in the week's channel list
    int line = 0; // the show's time line in its day pane (reminder.show.day)
    std::chrono::local_seconds start; // as the day view shows it: shifted, on the day it airs
    std::chrono::local_seconds end; // the channel's next show, else start + kUnknownEndLength
    // minutesBefore before the start as time passes (a clock that skips or repeats an hour
    // in between does not move it), or the end of a snooze.
    std::chrono::local_seconds comes;
};

// A reminder of the file whose show is no longer in the store.
struct DroppedReminder
{
    ShowKey show;
    std::string why; // UTF-8
};

struct Schedule
{
    std::vector<ScheduledReminder> reminders; // in the order they come
    std::vector<DroppedReminder> gone;
    // What could not be read (UTF-8); the reminders of those channels stay as they are.
    std::vector<std::string> problems;
};

// The key of a show of a week's channel as readWeekChannels reads it.
ShowKey showKey(std::string_view weekDate, const view::ChannelWeek& channel, const view::PaneShow& show);
// The same from what a window keeps of the show: its channel's name and shift in minutes, its day
// pane, when it airs (PaneShow::airMinutes) and its heading without the time.
ShowKey showKey(std::string_view weekDate, std::string_view channel, long long shiftMinutes, int day,
                long long airMinutes, std::string_view title);

// Reads the weeks the reminders name (only the channels they name) and, with everySelected,
// the selected lists of every week of the week list that is not over at `now`. A reminder of a
// week whose channel list is gone, of a channel the list no longer names or of a show that a
// channel read whole no longer holds, is gone.
Schedule buildSchedule(const std::vector<Reminder>& reminders, const ReminderOptions& options,
                       std::chrono::local_seconds now);

enum class Moment {
    Quiet, // nothing to do now: not yet come, or shown or dismissed
    Due, // to be shown now, also when its show already runs (missed while closed or asleep)
    Over, // its show has ended: a reminder not shown by then is dropped without a word
};

Moment momentOf(const ScheduledReminder& scheduled, std::chrono::local_seconds now);

// Pending or snoozed, and its show not over.
bool isUpcoming(const ScheduledReminder& scheduled, std::chrono::local_seconds now);

} // namespace brevio::reminders

#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reminders of shows, kept in a small file of the working folder so that a restart keeps them
// and a reminder that has fired is never shown again.
namespace brevio::reminders {

inline constexpr std::string_view kReminderFile = "reminders.dat";

// A show as the day view has it. Texts are windows-1251, as the store keeps them.
struct ShowKey
{
    std::string weekDate; // as the week list names the week: "12.01.2004"
    std::string channel; // its name in the week's channel list
    int day = 0; // the day pane it stands in, 0 Monday .. 6 Sunday (a show after midnight
                 // stands in the pane of the evening before)
    // Its time as the channel file has it, before the channel's shift, in minutes after
    // midnight: a changed shift moves the reminder with the show instead of losing it.
    int fileMinutes = 0;
    std::string title; // its heading without the time

    auto operator<=>(const ShowKey&) const = default;
};

enum class ReminderState {
    Pending, // not shown yet
    Snoozed, // shown, and asked for again at `snoozedUntil`
    Shown, // shown: never again
    Dismissed, // the user wants none, though the show is in the selected lists
};

struct Reminder
{
    ShowKey show;
    ReminderState state = ReminderState::Pending;
    std::chrono::local_seconds snoozedUntil{}; // local wall clock, when Snoozed
};

// One line of the file, without its CR LF; fields separated by a tab:
//   week date, channel, weekday (1 Monday .. 7 Sunday: the day pane), time ("hh:mm", as the
//   channel file has it), title, state ("pending", "shown", "dismissed", or
//   "snoozed yyyy-mm-dd hh:mm:ss", the local time it comes again).
// The title is whatever stands between the fourth tab and the last one, so it may hold tabs;
// channel names hold no control character (the store refuses them), so never a tab.
std::string reminderLine(const Reminder& reminder);
// None for a line that does not follow that grammar (a week date that names no day, a weekday
// or time out of range, an unknown state, an empty channel).
std::optional<Reminder> parseReminderLine(std::string_view line);

struct ReminderFile
{
    std::vector<Reminder> reminders;
    // Lines that are no reminder: skipped, and written back as they were, so that nothing the
    // file held is lost.
    std::vector<std::string> unreadable;
};

// The file of the working folder; a missing file holds no reminder. Throws IoError when it
// cannot be read.
ReminderFile readReminderFile();

// Rewrites the file whole (store::replaceFile): the reminders, then the unreadable lines.
void writeReminderFile(const ReminderFile& file);

} // namespace brevio::reminders

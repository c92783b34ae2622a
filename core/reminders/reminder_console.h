#pragma once

#include "core/reminders/reminder_schedule.h"

#include <chrono>
#include <ostream>

namespace brevio::reminders {

// "--reminders": the reminders still to come at `now` (pending or snoozed, their show not over),
// in the order they come, one a line in UTF-8: when it comes and when the show starts
// ("yyyy-mm-dd hh:mm", local time), the channel and the title, separated by tabs. It only
// reads: the file is left as it is. Lines of the file that are no reminder, reminders whose
// show left the store and what could not be read are said on `err`. Returns 0; 1 when a line
// was no reminder or something could not be read, so that the list may lack a reminder (what
// was found is printed all the same).
int printReminders(std::chrono::local_seconds now, const ReminderOptions& options, std::ostream& out,
                   std::ostream& err);

} // namespace brevio::reminders

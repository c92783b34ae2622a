#pragma once

#include "core/reminders/reminder_file.h"
#include "core/reminders/reminder_schedule.h"
#include "core/session/clock.h"

#include <string>
#include <vector>

// The reminders of a session: the file's, held in memory and written back whole after every
// change, and the due check the window runs every half minute and after the clock changes.
namespace brevio::reminders {

class ReminderBook
{
public:
    // Reads the reminders file of the working folder; throws IoError when it cannot be read.
    explicit ReminderBook(const Clock& clock);

    const std::vector<Reminder>& reminders() const { return m_file.reminders; }
    // The file's lines that are no reminder (windows-1251); kept in the file as they are.
    const std::vector<std::string>& unreadableLines() const { return m_file.unreadable; }

    struct Check
    {
        std::vector<ScheduledReminder> due; // to be shown now; already marked as shown
        // Those still to come after this check (isUpcoming), in the order they come.
        std::vector<ScheduledReminder> upcoming;
        std::vector<std::string> notes; // UTF-8 lines for the log
    };

    // Reads the store (buildSchedule) at the clock's time: the reminders that are due now are
    // marked as shown and returned; those whose show has ended leave the file quietly, those
    // whose show left the store with a note. A file that cannot be written is a note too: the
    // changes stay in memory and the next check tries again.
    Check check(const ReminderOptions& options);

    // A reminder of `show`, pending (again, after it was shown or dismissed).
    void add(const ShowKey& show);
    // No reminder of `show`: kept as dismissed until the show is over, so that the selected
    // lists do not bring it back.
    void remove(const ShowKey& show);
    // The show's reminder comes again kSnoozeTime from now.
    void snooze(const ShowKey& show);
    // add, remove and snooze change the reminder in memory, then throw IoError when the file
    // cannot be written.

private:
    Reminder& entry(const ShowKey& show);
    void save();

    const Clock& m_clock;
    ReminderFile m_file;
    bool m_unsaved = false;
};

} // namespace brevio::reminders

#include "core/reminders/reminder_book.h"

#include "core/store/cp1251.h"
#include "core/store/errors.h"

#include <algorithm>

namespace brevio::reminders {

namespace {

std::string describe(const ShowKey& show)
{
    return "the reminder of \"" + quotedData(show.title) + "\" on " + quotedData(show.channel) + " (week "
        + show.weekDate + ")";
}

} // namespace

ReminderBook::ReminderBook(const Clock& clock)
    : m_clock(clock)
    , m_file(readReminderFile())
{
    // A show named twice would be reminded of twice: its first line counts.
    auto& all = m_file.reminders;
    for (auto it = all.begin(); it != all.end(); ++it)
        all.erase(
            std::remove_if(std::next(it), all.end(), [&](const Reminder& r) { return r.show == it->show; }),
            all.end());
}

ReminderBook::Check ReminderBook::check(const ReminderOptions& options)
{
    const auto now = m_clock.now();
    const Schedule schedule = buildSchedule(m_file.reminders, options, now);
    Check result;
    bool changed = false;
    const auto forget = [&](const ShowKey& show) {
        std::erase_if(m_file.reminders, [&](const Reminder& r) { return r.show == show; });
        changed = true;
    };
    for (const DroppedReminder& gone : schedule.gone) {
        forget(gone.show);
        result.notes.push_back(describe(gone.show) + " was dropped: " + gone.why);
    }
    for (const std::string& problem : schedule.problems)
        result.notes.push_back("reminders not checked: " + problem);
    for (const ScheduledReminder& scheduled : schedule.reminders) {
        switch (momentOf(scheduled, now)) {
        case Moment::Quiet:
            if (isUpcoming(scheduled, now))
                result.upcoming.push_back(scheduled);
            break;
        case Moment::Over:
            if (scheduled.kept)
                forget(scheduled.reminder.show);
            break;
        case Moment::Due:
            entry(scheduled.reminder.show).state = ReminderState::Shown;
            changed = true;
            result.due.push_back(scheduled);
            break;
        }
    }
    if (changed || m_unsaved) {
        try {
            save();
        } catch (const Error& e) {
            result.notes.push_back(std::string("the reminders could not be saved: ") + e.what());
        }
    }
    return result;
}

void ReminderBook::add(const ShowKey& show)
{
    entry(show).state = ReminderState::Pending;
    save();
}

void ReminderBook::remove(const ShowKey& show)
{
    entry(show).state = ReminderState::Dismissed;
    save();
}

void ReminderBook::snooze(const ShowKey& show)
{
    Reminder& reminder = entry(show);
    reminder.state = ReminderState::Snoozed;
    reminder.snoozedUntil = m_clock.now() + kSnoozeTime;
    save();
}

Reminder& ReminderBook::entry(const ShowKey& show)
{
    auto& all = m_file.reminders;
    const auto found
        = std::find_if(all.begin(), all.end(), [&](const Reminder& r) { return r.show == show; });
    if (found != all.end())
        return *found;
    return all.emplace_back(Reminder{show});
}

void ReminderBook::save()
{
    m_unsaved = true;
    writeReminderFile(m_file);
    m_unsaved = false;
}

} // namespace brevio::reminders

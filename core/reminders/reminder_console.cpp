#include "core/reminders/reminder_console.h"

#include "core/exchange/week_listing.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"

#include <cstdio>

namespace brevio::reminders {

namespace {

std::string minuteText(std::chrono::local_seconds at)
{
    using namespace std::chrono;
    const local_days day = floor<days>(at);
    const year_month_day date(day);
    const auto inDay = duration_cast<minutes>(at - day).count();
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()), int(inDay / 60), int(inDay % 60));
    return text;
}

} // namespace

int printReminders(std::chrono::local_seconds now, const ReminderOptions& options, std::ostream& out,
                   std::ostream& err)
{
    try {
        const ReminderFile file = readReminderFile();
        for (const std::string& line : file.unreadable)
            err << "brevio: " << kReminderFile << ": not a reminder: " << quotedData(line) << '\n';
        const Schedule schedule = buildSchedule(file.reminders, options, now);
        for (const DroppedReminder& gone : schedule.gone)
            err << "brevio: the show \"" << quotedData(gone.show.title) << "\" on "
                << quotedData(gone.show.channel) << " (week " << gone.show.weekDate
                << ") has no reminder: " << gone.why << '\n';
        for (const std::string& problem : schedule.problems)
            err << "brevio: not read: " << problem << '\n';
        for (const ScheduledReminder& scheduled : schedule.reminders)
            if (isUpcoming(scheduled, now))
                out << minuteText(scheduled.comes) << '\t' << minuteText(scheduled.start) << '\t'
                    << exchange::outsideText(scheduled.reminder.show.channel) << '\t'
                    << exchange::outsideText(scheduled.reminder.show.title) << '\n';
        return file.unreadable.empty() && schedule.problems.empty() ? 0 : 1;
    } catch (const Error& e) {
        err << "brevio: " << e.what() << '\n';
        return 1;
    }
}

} // namespace brevio::reminders

#include "gui/reminders/reminder_service.h"

#include "core/session/clock.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"

#include <QtGlobal>

namespace brevio {

ReminderService::ReminderService(const Clock& clock, const reminders::ReminderOptions& options,
                                 int languageOffset, Dialogs& dialogs, QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_options(options)
    , m_notifier(dialogs, std::move(bus))
{
    m_notifier.setLanguageOffset(languageOffset);
    connect(&m_notifier, &DesktopNotifier::showRequested, this, &ReminderService::showRequested);
    connect(&m_notifier, &DesktopNotifier::snoozeRequested, this, &ReminderService::snooze);
    connect(&m_clockChange, &ClockChangeWatch::clockChanged, this, &ReminderService::checkNow);
    // Never one long timer: a check every half minute follows the wall clock through sleep
    // and clock changes.
    connect(&m_timer, &QTimer::timeout, this, &ReminderService::checkNow);
    m_timer.start(kCheckIntervalMs);
    QTimer::singleShot(0, this, &ReminderService::checkNow);
}

bool ReminderService::openBook()
{
    if (m_book)
        return true;
    try {
        m_book.emplace(m_clock);
        for (const std::string& line : m_book->unreadableLines())
            log(std::string(reminders::kReminderFile)
                + ": not a reminder, kept as it is: " + quotedData(line));
        return true;
    } catch (const Error& e) {
        log(std::string("the reminders cannot be read: ") + e.what());
        return false;
    }
}

void ReminderService::checkNow()
{
    if (!openBook())
        return;
    try {
        const auto check = m_book->check(m_options);
        for (const std::string& note : check.notes)
            log(note);
        for (const reminders::ScheduledReminder& due : check.due)
            m_notifier.notify(due, m_clock.now());
    } catch (const Error& e) {
        log(std::string("reminders not checked: ") + e.what());
    }
}

void ReminderService::snooze(const reminders::ShowKey& show)
{
    if (!openBook())
        return;
    try {
        m_book->snooze(show);
    } catch (const Error& e) {
        // Snoozed all the same for this session.
        log(std::string("the snoozed reminder could not be saved: ") + e.what());
    }
}

void ReminderService::log(const std::string& line)
{
    if (m_logged.insert(line).second)
        qWarning("brevio: %s", line.c_str());
}

} // namespace brevio

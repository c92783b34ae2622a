#include "gui/reminders/reminder_service.h"

#include "core/reminders/reminder_file.h"
#include "core/session/clock.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"

#include <QtGlobal>

#include <algorithm>

namespace brevio {

ReminderService::ReminderService(const Clock& clock, const reminders::ReminderOptions& options,
                                 int languageOffset, Dialogs& dialogs, QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_options(options)
    , m_notifier(dialogs, m_tray, std::move(bus))
{
    setLanguageOffset(languageOffset);
    connect(&m_notifier, &DesktopNotifier::showRequested, this, &ReminderService::showRequested);
    connect(&m_tray, &ReminderTray::showRequested, this, &ReminderService::showRequested);
    connect(&m_notifier, &DesktopNotifier::snoozeRequested, this, &ReminderService::snooze);
    connect(&m_clockChange, &ClockChangeWatch::clockChanged, this, &ReminderService::checkNow);
    // Never one long timer: a check every half minute follows the wall clock through sleep
    // and clock changes.
    connect(&m_timer, &QTimer::timeout, this, &ReminderService::checkNow);
    m_timer.start(kCheckIntervalMs);
    QTimer::singleShot(0, this, &ReminderService::checkNow);
}

void ReminderService::setOptions(const reminders::ReminderOptions& options)
{
    m_options = options;
    checkNow();
}

void ReminderService::setLanguageOffset(int offset)
{
    m_notifier.setLanguageOffset(offset);
    m_tray.setLanguageOffset(offset);
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

reminders::ReminderBook& ReminderService::openedBook()
{
    if (!m_book)
        m_book.emplace(m_clock); // its error goes to the asking handler's box
    return *m_book;
}

void ReminderService::checkNow()
{
    if (!openBook())
        return;
    try {
        const auto check = m_book->check(m_options);
        for (const std::string& note : check.notes)
            log(note);
        std::set<reminders::ShowKey> reminded;
        for (const reminders::ScheduledReminder& next : check.upcoming)
            reminded.insert(next.reminder.show);
        m_upcoming = check.upcoming;
        m_tray.setUpcoming(m_upcoming);
        if (reminded != m_reminded) {
            m_reminded = std::move(reminded);
            Q_EMIT remindersChanged();
        }
        for (const reminders::ScheduledReminder& due : check.due)
            m_notifier.notify(due, m_clock.now());
    } catch (const Error& e) {
        log(std::string("reminders not checked: ") + e.what());
    }
}

bool ReminderService::remind(const reminders::ShowKey& show)
{
    reminders::ReminderBook& book = openedBook();
    try {
        book.add(show);
    } catch (...) {
        checkNow(); // kept in memory: the marks follow it all the same
        throw;
    }
    checkNow();
    // Still to come, or come right now; a show that is over has left the book.
    const auto& all = book.reminders();
    return isReminded(show) || std::any_of(all.begin(), all.end(), [&](const reminders::Reminder& r) {
               return r.show == show && r.state == reminders::ReminderState::Shown;
           });
}

void ReminderService::forget(const reminders::ShowKey& show)
{
    reminders::ReminderBook& book = openedBook();
    try {
        book.remove(show);
    } catch (...) {
        checkNow();
        throw;
    }
    checkNow();
}

std::optional<reminders::ScheduledReminder> ReminderService::locate(const reminders::ShowKey& show) const
{
    const reminders::Schedule found
        = reminders::buildSchedule({reminders::Reminder{show}}, {}, m_clock.now());
    if (found.reminders.empty())
        return std::nullopt;
    return found.reminders.front();
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
    checkNow();
}

void ReminderService::log(const std::string& line)
{
    if (m_logged.insert(line).second)
        qWarning("brevio: %s", line.c_str());
}

} // namespace brevio

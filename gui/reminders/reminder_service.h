#pragma once

#include "core/reminders/reminder_book.h"
#include "gui/reminders/clock_change_watch.h"
#include "gui/reminders/desktop_notifier.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <set>
#include <string>

namespace brevio {

class Clock;
class Dialogs;

// The reminders of a running program: the due check every half minute, at once when the wall
// clock is set, and right after start (what was missed while the program was closed); due
// reminders go to the notifier, its "In 5 minutes" back to the book. The window owns it and
// wires "Show" and the reminder marks. It works on the working folder, the current folder.
class ReminderService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 30 * 1000;

    ReminderService(const Clock& clock, const reminders::ReminderOptions& options, int languageOffset,
                    Dialogs& dialogs, QDBusConnection bus = QDBusConnection::sessionBus(),
                    QObject* parent = nullptr);

    void setOptions(const reminders::ReminderOptions& options) { m_options = options; }
    void setLanguageOffset(int offset) { m_notifier.setLanguageOffset(offset); }
    // None while the reminders file cannot be read (said in the log; each check tries again).
    reminders::ReminderBook* book() { return m_book ? &*m_book : nullptr; }

public Q_SLOTS:
    void checkNow();

Q_SIGNALS:
    // "Show" on a reminder: the window brings up its channel and day with the show selected.
    void showRequested(const brevio::reminders::ScheduledReminder& reminder);

private:
    bool openBook();
    void snooze(const reminders::ShowKey& show);
    void log(const std::string& line);

    const Clock& m_clock;
    reminders::ReminderOptions m_options;
    DesktopNotifier m_notifier;
    ClockChangeWatch m_clockChange;
    QTimer m_timer;
    std::optional<reminders::ReminderBook> m_book;
    std::set<std::string> m_logged; // a fault seen at every check is logged once
};

} // namespace brevio

#pragma once

#include "core/reminders/reminder_book.h"
#include "gui/reminders/clock_change_watch.h"
#include "gui/reminders/desktop_notifier.h"
#include "gui/reminders/reminder_tray.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brevio {

class Clock;
class Dialogs;

// The reminders of a running program: the due check every half minute, at once when the wall
// clock is set, and right after start (what was missed while the program was closed); due
// reminders go to the notifier, its "In 5 minutes" back to the book. It knows which shows have a
// reminder to come, for the marks, and keeps the tray icon's list. The window owns it and wires
// "Show". It works on the working folder, the current folder.
class ReminderService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 30 * 1000;

    ReminderService(const Clock& clock, const reminders::ReminderOptions& options, int languageOffset,
                    Dialogs& dialogs, QDBusConnection bus = QDBusConnection::sessionBus(),
                    QObject* parent = nullptr);

    // Applied at once: a check follows, so marks and due reminders follow the new options.
    void setOptions(const reminders::ReminderOptions& options);
    void setLanguageOffset(int offset);
    // None while the reminders file cannot be read (said in the log; each check tries again).
    reminders::ReminderBook* book() { return m_book ? &*m_book : nullptr; }
    ReminderTray& tray() { return m_tray; }

    // The reminders still to come (pending or snoozed, their show not over) as the last check
    // found them, in the order they come, and whether `show` is one of them.
    const std::vector<reminders::ScheduledReminder>& upcoming() const { return m_upcoming; }
    bool isReminded(const reminders::ShowKey& show) const { return m_reminded.contains(show); }

    // A reminder of `show` (pending again if it was shown or removed), then a check. False when
    // it came to nothing: its show is over or no longer in the store. Throws IoError when the
    // reminders file cannot be read or written (the change stays in memory; the next check
    // writes it).
    bool remind(const reminders::ShowKey& show);
    // No reminder of `show`; throws as remind does.
    void forget(const reminders::ShowKey& show);
    // Where the store has `show` now (its week's channel line, day pane and time line); none
    // when it left the store.
    std::optional<reminders::ScheduledReminder> locate(const reminders::ShowKey& show) const;

public Q_SLOTS:
    void checkNow();

Q_SIGNALS:
    // "Show" on a reminder: the window brings up its channel and day with the show selected.
    void showRequested(const brevio::reminders::ScheduledReminder& reminder);
    // The shows that have a reminder to come are others now.
    void remindersChanged();

private:
    bool openBook();
    reminders::ReminderBook& openedBook();
    void snooze(const reminders::ShowKey& show);
    void log(const std::string& line);

    const Clock& m_clock;
    reminders::ReminderOptions m_options;
    ReminderTray m_tray;
    DesktopNotifier m_notifier;
    ClockChangeWatch m_clockChange;
    QTimer m_timer;
    std::optional<reminders::ReminderBook> m_book;
    std::vector<reminders::ScheduledReminder> m_upcoming;
    std::set<reminders::ShowKey> m_reminded; // the shows of m_upcoming
    std::set<std::string> m_logged; // a fault seen at every check is logged once
};

} // namespace brevio

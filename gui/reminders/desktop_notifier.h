#pragma once

#include "core/reminders/reminder_schedule.h"
#include "core/texts/text_ids.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <chrono>
#include <map>
#include <optional>

class QDBusPendingCallWatcher;

namespace brevio {

class Dialogs;
class ReminderTray;

// Shows a reminder as a desktop notification (org.freedesktop.Notifications on the session
// bus) with the actions "Show" and "In 5 minutes". Where no notification service answers, a
// message of the reminders' tray icon says it where the desktop has a tray, else a message box.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    DesktopNotifier(Dialogs& dialogs, ReminderTray& tray, QDBusConnection bus = QDBusConnection::sessionBus(),
                    QObject* parent = nullptr);

    void setLanguageOffset(int offset) { m_languageOffset = offset; }
    // Shows `reminder` at `now`: the title as the summary, the channel and the start as the body
    // ("on the air since" when the show already runs). Returns at once; the service answers
    // later.
    void notify(const reminders::ScheduledReminder& reminder, std::chrono::local_seconds now);

Q_SIGNALS:
    // "Show" (or a click on the notification or the tray message).
    void showRequested(const brevio::reminders::ScheduledReminder& reminder);
    // "In 5 minutes".
    void snoozeRequested(const brevio::reminders::ShowKey& show);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    QString text(TextId id) const;
    void answered(QDBusPendingCallWatcher* call, const reminders::ScheduledReminder& reminder,
                  const QString& summary, const QString& body);
    void fallBack(const reminders::ScheduledReminder& reminder, const QString& summary, const QString& body);

    Dialogs& m_dialogs;
    QDBusConnection m_bus;
    int m_languageOffset = 0;
    // The notifications of ours the service shows, by its ids: the service's signals reach
    // every program, so an id of another program's notification is no business of ours.
    std::map<uint, reminders::ScheduledReminder> m_open;
    ReminderTray& m_tray;
};

} // namespace brevio

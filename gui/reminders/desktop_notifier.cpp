#include "gui/reminders/desktop_notifier.h"

#include "core/extras/desktop_entry.h"
#include "core/texts/text_ids.h"
#include "core/view/time_text.h"
#include "gui/reminders/reminder_tray.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/qt_text.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace brevio {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
const QString kShowAction = QStringLiteral("show");
const QString kSnoozeAction = QStringLiteral("snooze");
const QString kDefaultAction = QStringLiteral("default"); // a click on the notification itself
// Long enough for a busy desktop, short enough that a hung service does not hold the reminder.
constexpr int kCallTimeoutMs = 10000;

QString startText(std::chrono::local_seconds start)
{
    using namespace std::chrono;
    return fromUtf8(view::formatTime(duration_cast<minutes>(start - floor<days>(start)).count()));
}

} // namespace

DesktopNotifier::DesktopNotifier(Dialogs& dialogs, ReminderTray& tray, QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_dialogs(dialogs)
    , m_bus(std::move(bus))
    , m_tray(tray)
{
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

QString DesktopNotifier::text(TextId id) const
{
    return fromUtf8(textOf(id, m_languageOffset));
}

void DesktopNotifier::notify(const reminders::ScheduledReminder& reminder, std::chrono::local_seconds now)
{
    const QString summary = fromData(reminder.reminder.show.title);
    const QString body = text(now >= reminder.start ? TextId::ReminderOnAir : TextId::ReminderStartsAt)
                             .arg(fromData(reminder.reminder.show.channel), startText(reminder.start));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QString icon = fromUtf8(kApplicationId);
    call << QStringLiteral("Brevio") << uint(0) << icon << summary << body
         << QStringList{kShowAction, text(TextId::ReminderShow), kSnoozeAction, text(TextId::ReminderSnooze)}
         << QVariantMap{{QStringLiteral("desktop-entry"), icon}} << int(-1);
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, reminder, summary, body](QDBusPendingCallWatcher* finished) {
                answered(finished, reminder, summary, body);
            });
}

void DesktopNotifier::answered(QDBusPendingCallWatcher* call, const reminders::ScheduledReminder& reminder,
                               const QString& summary, const QString& body)
{
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError())
        fallBack(reminder, summary, body);
    else
        m_open.insert_or_assign(reply.value(), reminder);
}

void DesktopNotifier::fallBack(const reminders::ScheduledReminder& reminder, const QString& summary,
                               const QString& body)
{
    if (ReminderTray::available()) {
        m_tray.showMessage(reminder, summary, body);
        return;
    }
    m_dialogs.message(text(TextId::ReminderBox).arg(summary, body));
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action)
{
    const auto found = m_open.find(id);
    if (found == m_open.end())
        return;
    const reminders::ScheduledReminder reminder = found->second;
    m_open.erase(found);
    if (action == kSnoozeAction)
        Q_EMIT snoozeRequested(reminder.reminder.show);
    else if (action == kShowAction || action == kDefaultAction)
        Q_EMIT showRequested(reminder);
}

void DesktopNotifier::onNotificationClosed(uint id, uint /*reason*/)
{
    m_open.erase(id);
}

} // namespace brevio

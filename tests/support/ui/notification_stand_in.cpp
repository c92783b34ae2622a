#include "support/ui/notification_stand_in.h"

#include <QDBusError>

namespace brevio::test {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

} // namespace

bool NotificationStandIn::start(QString& error)
{
    m_bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in"));
    if (!m_bus.isConnected()) {
        error = QStringLiteral("no session bus: run under dbus-run-session");
        return false;
    }
    if (!m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !m_bus.registerService(kService)) {
        error = m_bus.lastError().message();
        return false;
    }
    return true;
}

bool NotificationStandIn::stop()
{
    return m_bus.unregisterService(kService);
}

uint NotificationStandIn::Notify(const QString& app, uint replaces, const QString& icon,
                                 const QString& summary, const QString& body, const QStringList& actions,
                                 const QVariantMap& hints, int timeout)
{
    calls.append(
        {app, replaces, icon, summary, body, actions, hints.value(QStringLiteral("desktop-entry")), timeout});
    return idOf(int(calls.size()) - 1);
}

} // namespace brevio::test

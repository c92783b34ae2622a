#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariant>

namespace brevio::test {

// A stand-in for the desktop's notification service on the session bus (run the test under
// dbus-run-session): it records the arguments of each Notify and sends the user's actions as
// the service's signals. It answers on a connection of its own, as another program would.
class NotificationStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    // Registers the service; false (with the reason in `error`) when there is no session bus.
    bool start(QString& error);
    // Leaves the bus: a notification then finds no service.
    bool stop();

    QList<QVariantList> calls; // the arguments of each Notify; the desktop-entry hint for the hints
    // The id the service gave the notification of call `index`.
    static uint idOf(int index) { return kFirstId + uint(index); }

public Q_SLOTS:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    static constexpr uint kFirstId = 101;
    QDBusConnection m_bus{QString()};
};

} // namespace brevio::test

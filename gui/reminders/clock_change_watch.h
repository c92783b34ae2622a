#pragma once

#include <QObject>

class QSocketNotifier;

namespace brevio {

// Says when the wall clock is set (by hand, by time synchronisation, on waking from sleep):
// a timer descriptor that the kernel cancels whenever the real-time clock jumps. Where the
// system has none, it stays silent and the half-minute check alone keeps reminders on time.
class ClockChangeWatch : public QObject
{
    Q_OBJECT
public:
    explicit ClockChangeWatch(QObject* parent = nullptr);
    ~ClockChangeWatch() override;

Q_SIGNALS:
    void clockChanged();

private:
    bool arm();
    void readEvent();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace brevio

#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace brevio {

// Turns SIGTERM and SIGINT into a call on the event loop (a signal handler may do next to
// nothing, so it only writes a byte into a pipe that the loop watches).
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(std::function<void()> onTerminate, QObject* parent = nullptr);
    ~TerminationWatcher() override;

private:
    std::function<void()> m_onTerminate;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace brevio

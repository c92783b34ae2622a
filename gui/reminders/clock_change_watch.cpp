#include "gui/reminders/clock_change_watch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace brevio {

ClockChangeWatch::ClockChangeWatch(QObject* parent)
    : QObject(parent)
    , m_fd(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0 || !arm())
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ClockChangeWatch::readEvent);
}

ClockChangeWatch::~ClockChangeWatch()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

// A timer far in the future that is cancelled when the clock is set.
bool ClockChangeWatch::arm()
{
    itimerspec far{};
    far.it_value.tv_sec = 0x7fffffff;
    return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr) == 0;
}

void ClockChangeWatch::readEvent()
{
    std::uint64_t expirations = 0;
    const bool cancelled = ::read(m_fd, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
    // Cancelled once, the timer must be set again to hear of the next change.
    if (!arm())
        m_notifier->setEnabled(false);
    if (cancelled)
        Q_EMIT clockChanged();
}

} // namespace brevio

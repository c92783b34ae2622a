#pragma once

#include <chrono>

namespace brevio {

// Local wall-clock time, read through one object so that tests can set "now".
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::chrono::local_seconds now() const = 0;
};

class SystemClock : public Clock
{
public:
    std::chrono::local_seconds now() const override;
};

// A clock that stands where it is told to.
class FixedClock : public Clock
{
public:
    explicit FixedClock(std::chrono::local_seconds at)
        : m_at(at)
    {
    }
    void set(std::chrono::local_seconds at) { m_at = at; }
    std::chrono::local_seconds now() const override { return m_at; }

private:
    std::chrono::local_seconds m_at;
};

// 0 Monday .. 6 Sunday.
int weekdayIndex(std::chrono::local_days day);

} // namespace brevio

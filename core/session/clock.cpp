#include "core/session/clock.h"

#include <ctime>

namespace brevio {

std::chrono::local_seconds SystemClock::now() const
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    using namespace std::chrono;
    const local_days day
        = local_days(year(local.tm_year + 1900) / month(static_cast<unsigned>(local.tm_mon + 1))
                     / static_cast<unsigned>(local.tm_mday));
    return day + hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec);
}

int weekdayIndex(std::chrono::local_days day)
{
    // iso_encoding(): Monday 1 .. Sunday 7.
    return static_cast<int>(std::chrono::weekday(day).iso_encoding()) - 1;
}

} // namespace brevio

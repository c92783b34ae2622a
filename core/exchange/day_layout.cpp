#include "core/exchange/day_layout.h"

#include <algorithm>

namespace brevio::exchange {

namespace {

constexpr std::string_view kCrLf = "\r\n";

} // namespace

DayLayout::DayLayout(int dayStartMinutes)
    : m_dayStart(dayStartMinutes)
{
}

BlockPlace DayLayout::place(std::chrono::sys_seconds start)
{
    using namespace std::chrono;
    const LocalClock local = localClock(start);
    sys_days block = local.date;
    // A reader takes a show for the next date only when a show above it in its block starts
    // later: the night goes after the evening only where that holds.
    if (local.minutes < m_dayStart && m_block == local.date - days(1) && m_latest > local.minutes)
        block = *m_block;
    if (m_block != block) {
        m_block = block;
        m_latest = local.minutes;
    } else {
        m_latest = std::max(m_latest, local.minutes);
    }
    const sys_days monday = mondayOf(block);
    return {monday, int((block - monday).count()), local.minutes};
}

std::string channelFileHeader(std::string_view channelName, std::chrono::sys_days monday)
{
    return std::string(channelName) + ", " + weekDateText(monday) + " - "
        + weekDateText(monday + std::chrono::days(6)) + std::string(kCrLf);
}

std::string channelFileText(std::string_view header, const std::array<std::string, 7>& days,
                            std::string_view tail)
{
    std::size_t size = header.size() + tail.size();
    for (const std::string& day : days)
        size += kCrLf.size() + day.size();
    std::string file;
    file.reserve(size);
    file += header;
    for (const std::string& day : days) {
        file += kCrLf; // the day separator
        file += day;
    }
    file += tail;
    return file;
}

} // namespace brevio::exchange

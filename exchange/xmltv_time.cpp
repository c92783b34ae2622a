#include "exchange/xmltv_time.h"

#include <cstdio>

namespace brevio::exchange {

namespace {

constexpr int kMaxOffsetMinutes = 14 * 60;

// The number of `count` digits at `at`; -1 when one of them is no digit.
int digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<int> parseOffset(std::string_view zone)
{
    if (zone.empty() || zone == "Z" || zone == "UTC" || zone == "GMT")
        return 0;
    if (zone.size() != 5 || (zone[0] != '+' && zone[0] != '-'))
        return std::nullopt;
    const int hours = digits(zone, 1, 2);
    const int minutes = digits(zone, 3, 2);
    if (hours < 0 || minutes < 0 || minutes > 59)
        return std::nullopt;
    const int offset = hours * 60 + minutes;
    if (offset > kMaxOffsetMinutes)
        return std::nullopt;
    return zone[0] == '-' ? -offset : offset;
}

} // namespace

std::optional<XmltvTime> parseXmltvTime(std::string_view text)
{
    std::size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9')
        ++length;
    if (length != 8 && length != 10 && length != 12 && length != 14)
        return std::nullopt;
    std::string_view zone = text.substr(length);
    while (!zone.empty() && zone.front() == ' ')
        zone.remove_prefix(1);
    while (!zone.empty() && zone.back() == ' ')
        zone.remove_suffix(1);
    const auto offset = parseOffset(zone);
    if (!offset)
        return std::nullopt;

    using namespace std::chrono;
    const int y = digits(text, 0, 4);
    const int mo = digits(text, 4, 2);
    const int d = digits(text, 6, 2);
    const int h = length >= 10 ? digits(text, 8, 2) : 0;
    const int mi = length >= 12 ? digits(text, 10, 2) : 0;
    const int s = length >= 14 ? digits(text, 12, 2) : 0;
    const year_month_day date{year(y), month(unsigned(mo)), day(unsigned(d))};
    if (!date.ok() || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    const auto local = sys_days(date) + hours(h) + minutes(mi) + seconds(s);
    return XmltvTime{local - minutes(*offset), *offset};
}

std::string formatXmltvTime(const XmltvTime& time)
{
    using namespace std::chrono;
    const auto local = time.utc + minutes(time.offsetMinutes);
    const auto day = floor<days>(local);
    const year_month_day date(day);
    const hh_mm_ss clock(local - day);
    const int offset = time.offsetMinutes < 0 ? -time.offsetMinutes : time.offsetMinutes;
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u%02d%02d%02d %c%02d%02d", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()), int(clock.seconds().count()),
                  time.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

} // namespace brevio::exchange

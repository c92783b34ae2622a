#include "core/exchange/broadcast_day.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

namespace brevio::exchange {

LocalClock localClock(std::chrono::sys_seconds moment)
{
    using namespace std::chrono;
    const std::time_t t = system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&t, &local);
    const sys_days date(year_month_day{year(local.tm_year + 1900), month(unsigned(local.tm_mon + 1)),
                                       day(unsigned(local.tm_mday))});
    return {date, local.tm_hour * 60 + local.tm_min};
}

XmltvTime localMoment(std::chrono::sys_days day, long long minutes)
{
    using namespace std::chrono;
    const sys_days date = day + days(minutes / (24 * 60) - (minutes % (24 * 60) < 0 ? 1 : 0));
    const long long inDay = minutes - (date - day).count() * 24 * 60;
    const year_month_day ymd{date};
    std::tm local{};
    local.tm_year = int(ymd.year()) - 1900;
    local.tm_mon = int(unsigned(ymd.month())) - 1;
    local.tm_mday = int(unsigned(ymd.day()));
    local.tm_hour = int(inDay / 60);
    local.tm_min = int(inDay % 60);
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    return {sys_seconds(seconds(t)), int(local.tm_gmtoff / 60)};
}

std::chrono::sys_seconds utcMoment(std::chrono::local_seconds wallClock)
{
    using namespace std::chrono;
    const local_days day = floor<days>(wallClock);
    const auto inDay = wallClock - day;
    const auto wholeMinutes = duration_cast<minutes>(inDay);
    return localMoment(sys_days(day.time_since_epoch()), wholeMinutes.count()).utc + (inDay - wholeMinutes);
}

std::chrono::sys_days mondayOf(std::chrono::sys_days day)
{
    using namespace std::chrono;
    return day - (weekday(day) - Monday);
}

std::string weekDateText(std::chrono::sys_days day)
{
    const std::chrono::year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", unsigned(date.day()), unsigned(date.month()),
                  int(date.year()));
    return text;
}

namespace {

// The process's time zone set to another for as long as it lives (one thread, as all of this).
class ZoneScope
{
public:
    explicit ZoneScope(const std::string& zone)
        : m_active(!zone.empty())
    {
        if (!m_active)
            return;
        if (const char* old = std::getenv("TZ"))
            m_previous = old;
        ::setenv("TZ", zone.c_str(), 1);
        ::tzset();
    }
    ~ZoneScope()
    {
        if (!m_active)
            return;
        if (m_previous)
            ::setenv("TZ", m_previous->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    bool m_active;
    std::optional<std::string> m_previous;
};

} // namespace

ZoneClock::ZoneClock(std::string zone)
    : m_zone(std::move(zone))
{
}

std::chrono::sys_seconds ZoneClock::moment(std::chrono::sys_seconds reading)
{
    using namespace std::chrono;
    // Clocks change only at whole quarter hours, so one offset serves each quarter hour read.
    constexpr std::int64_t kQuarter = 15 * 60;
    const std::int64_t seconds = reading.time_since_epoch().count();
    const std::int64_t quarter = seconds / kQuarter - (seconds % kQuarter < 0 ? 1 : 0);
    auto known = m_offsets.find(quarter);
    if (known == m_offsets.end()) {
        const sys_seconds start{std::chrono::seconds(quarter * kQuarter)};
        const sys_days day = floor<days>(start);
        const ZoneScope scope(m_zone);
        const XmltvTime shown = localMoment(day, duration_cast<minutes>(start - day).count());
        known = m_offsets.emplace(quarter, (start - shown.utc).count()).first;
    }
    return reading - std::chrono::seconds(known->second);
}

bool isKnownTimeZone(std::string_view zone)
{
    if (zone.starts_with(':'))
        zone.remove_prefix(1);
    if (zone.empty() || zone == "UTC" || zone == "UTC0")
        return true;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (zone.front() == '/')
        return fs::is_regular_file(fs::path(zone), ec);
    const char* dir = std::getenv("TZDIR");
    const fs::path file = fs::path(dir && *dir ? dir : "/usr/share/zoneinfo") / zone;
    if (zone.find("..") == zone.npos && fs::is_regular_file(file, ec))
        return true;
    // std offset [dst [offset] [,rule]]: "MSK-3", "EST5EDT", "<+03>-3".
    static const std::regex posixRule(R"(^([A-Za-z]{3,}|<[A-Za-z0-9+-]{3,}>)[+-]?\d{1,2}(:\d{2}){0,2}.*$)");
    return std::regex_match(zone.begin(), zone.end(), posixRule);
}

std::vector<std::string> systemTimeZones()
{
    // Lines "CC<TAB>coordinates<TAB>Zone/Name[<TAB>comment]"; '#' starts a comment line.
    const char* dir = std::getenv("TZDIR");
    std::ifstream table(std::filesystem::path(dir && *dir ? dir : "/usr/share/zoneinfo") / "zone1970.tab");
    std::vector<std::string> zones;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream fields(line);
        std::string codes, place, zone;
        if (std::getline(fields, codes, '\t') && std::getline(fields, place, '\t')
            && std::getline(fields, zone, '\t') && !zone.empty())
            zones.push_back(zone);
    }
    std::sort(zones.begin(), zones.end());
    zones.erase(std::unique(zones.begin(), zones.end()), zones.end());
    return zones;
}

} // namespace brevio::exchange

#pragma once

#include "core/exchange/xmltv_model.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Moments as the week store shows them: local dates and clock times, the broadcast day's start
// (a show at 01:30 may still belong to the evening before, see day_layout.h) and week dates.
namespace brevio::exchange {

inline constexpr int kDefaultDayStartMinutes = 5 * 60;

struct LocalClock
{
    std::chrono::sys_days date;
    int minutes = 0; // after midnight, 0 .. 1439
};

// The local date and clock time of a moment in the process's time zone (as TZ sets it;
// daylight saving from the system's zone data).
LocalClock localClock(std::chrono::sys_seconds moment);

// A wall-clock time of the process's local time zone, `minutes` after the midnight that starts
// `day` (past 1440 it runs into the next days), as a moment with the zone's UTC offset then.
// A time the clock skips (the hour daylight saving leaves out) counts as the clock would show it
// an hour later; of a time the clock shows twice, the C library picks one.
XmltvTime localMoment(std::chrono::sys_days day, long long minutes);

// The moment at which this machine's clocks show `wallClock` (see localMoment for the hours the
// clocks skip or show twice).
std::chrono::sys_seconds utcMoment(std::chrono::local_seconds wallClock);

// "dd.mm.yyyy", the week date of a week's Monday as the schedule server writes it.
std::string weekDateText(std::chrono::sys_days day);

// The Monday of the week that holds `day`.
std::chrono::sys_days mondayOf(std::chrono::sys_days day);

// The clocks of one time zone, for times a listing writes without an offset or zone.
class ZoneClock
{
public:
    // `zone`: a name isKnownTimeZone accepts; empty for the process's own zone.
    explicit ZoneClock(std::string zone);
    // The moment at which the zone's clocks show `reading` (the clock's date and time written as
    // if they were UTC). A reading the clocks skip counts as shown an hour later.
    std::chrono::sys_seconds moment(std::chrono::sys_seconds reading);

private:
    std::string m_zone;
    std::unordered_map<std::int64_t, std::int64_t> m_offsets; // seconds east, per quarter hour read
};

// A TZ value the system can honour: a zone of the zone database ("Europe/Moscow"), a zone
// file's path, "UTC", or a POSIX rule such as "MSK-3". The C library silently falls back to
// UTC for anything else, so callers refuse such names instead of writing wrong times.
bool isKnownTimeZone(std::string_view zone);

// The zones of the system's zone database that people live in ("Europe/Moscow"), sorted; empty
// when the database lists none.
std::vector<std::string> systemTimeZones();

} // namespace brevio::exchange

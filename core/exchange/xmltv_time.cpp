#include "core/exchange/xmltv_time.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace brevio::exchange {

namespace {

constexpr int kMaxOffsetMinutes = 14 * 60;

struct ZoneName
{
    std::string_view name;
    int offsetMinutes;
};

// The zone names a listing may write instead of an offset: those the format's own description
// uses and the common abbreviations that have one meaning only. Names that stand for several
// zones (IST: India, Ireland or Israel; AST: Atlantic or Arabia; ...) are left out on purpose,
// so that they are refused rather than read as the wrong hour.
// clang-format off
constexpr ZoneName kZoneNames[] = {
    {"Z", 0}, {"UT", 0}, {"UTC", 0}, {"GMT", 0},
    // Europe
    {"WET", 0}, {"WEST", 60}, {"BST", 60}, {"CET", 60}, {"CEST", 120}, {"MET", 60}, {"MEST", 120},
    {"EET", 120}, {"EEST", 180}, {"MSK", 180}, {"MSD", 240},
    // Africa
    {"WAT", 60}, {"CAT", 120}, {"SAST", 120}, {"EAT", 180},
    // North America
    {"EST", -300}, {"EDT", -240}, {"CST", -360}, {"CDT", -300}, {"MST", -420}, {"MDT", -360},
    {"PST", -480}, {"PDT", -420}, {"AKST", -540}, {"AKDT", -480}, {"HST", -600},
    // Asia and the Pacific
    {"PKT", 300}, {"HKT", 480}, {"AWST", 480}, {"JST", 540}, {"KST", 540}, {"ACST", 570},
    {"ACDT", 630}, {"AEST", 600}, {"AEDT", 660}, {"NZST", 720}, {"NZDT", 780},
};
// clang-format on

std::optional<int> namedOffset(std::string_view zone)
{
    const auto known = std::ranges::find(kZoneNames, zone, &ZoneName::name);
    return known == std::end(kZoneNames) ? std::nullopt : std::optional<int>(known->offsetMinutes);
}

// A zone written as a name rather than as an offset: it begins with a letter.
bool isZoneName(std::string_view zone)
{
    return !zone.empty() && std::isalpha(static_cast<unsigned char>(zone[0]));
}

// What follows the digits of a moment's text, without the blanks around it.
std::string_view zonePart(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of("0123456789"), text.size()));
    const auto first = text.find_first_not_of(' ');
    return first == text.npos ? std::string_view()
                              : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

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
    if (zone.empty())
        return 0;
    if (isZoneName(zone))
        return namedOffset(zone);
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
    const std::size_t length = std::min(text.find_first_not_of("0123456789"), text.size());
    if (length != 8 && length != 10 && length != 12 && length != 14)
        return std::nullopt;
    const auto offset = parseOffset(zonePart(text));
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
    return XmltvTime{local - minutes(*offset), *offset, !zonePart(text).empty()};
}

std::optional<std::string> unknownZoneName(std::string_view text)
{
    const std::string_view zone = zonePart(text);
    if (!isZoneName(zone) || namedOffset(zone))
        return std::nullopt;
    return std::string(zone);
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

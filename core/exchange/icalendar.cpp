#include "core/exchange/icalendar.h"

#include <cstdio>

namespace brevio::exchange {

namespace {

constexpr std::size_t kMaxOctets = 75;

bool continuesCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string icalText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
        case ';':
        case ',':
            out += '\\';
            out += c;
            break;
        case '\r':
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i; // CR LF is one break
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string icalLine(std::string_view line)
{
    std::string out;
    out.reserve(line.size() + line.size() / kMaxOctets * 3 + 2);
    std::size_t limit = kMaxOctets; // the first line; the next ones lose an octet to the blank
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && continuesCharacter(line[cut]))
            --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kMaxOctets - 1;
    }
    out.append(line);
    out += "\r\n";
    return out;
}

std::string icalUtcTime(std::chrono::sys_seconds moment)
{
    using namespace std::chrono;
    const auto day = floor<days>(moment);
    const year_month_day date(day);
    const hh_mm_ss clock(moment - day);
    char text[24];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02d%02d%02dZ", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()), int(clock.hours().count()), int(clock.minutes().count()),
                  int(clock.seconds().count()));
    return text;
}

} // namespace brevio::exchange

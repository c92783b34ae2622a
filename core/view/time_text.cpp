#include "core/view/time_text.h"

#include "core/store/errors.h"

namespace brevio::view {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isTimeSeparator(char c)
{
    return c == '.' || c == ':';
}

int digitValue(char c)
{
    return c - '0';
}

// "hh:nn " in front of a shifted line.
constexpr std::size_t kShiftedPrefixLength = 6;

} // namespace

std::string_view timePrefix(std::string_view line)
{
    // Zero-based 2 is the 3rd character; it wins over the 2nd. Only the first three characters
    // can hold a first '.' or ':' at those places, so a long line is not searched.
    const std::string_view head = line.substr(0, 3);
    const auto dot = head.find('.');
    const auto colon = head.find(':');
    if (dot == 2 || colon == 2)
        return line.substr(0, 5);
    if (dot == 1 || colon == 1)
        return line.substr(0, 4);
    return {};
}

bool isTimeText(std::string_view text)
{
    if (text.size() == 4)
        return isDigit(text[0]) && isTimeSeparator(text[1]) && isDigit(text[2]) && isDigit(text[3]);
    if (text.size() == 5)
        return isDigit(text[0]) && isDigit(text[1]) && isTimeSeparator(text[2]) && isDigit(text[3])
            && isDigit(text[4]);
    return false;
}

bool isTimedLine(std::string_view line)
{
    return isTimeText(timePrefix(line));
}

int timeOfDay(std::string_view text)
{
    if (!isTimeText(text))
        throw InvalidTimeError(text);
    const std::size_t sep = text.size() - 3;
    int hours = 0;
    for (std::size_t i = 0; i < sep; ++i)
        hours = hours * 10 + digitValue(text[i]);
    const int minutes = digitValue(text[sep + 1]) * 10 + digitValue(text[sep + 2]);
    if (hours > 23 || minutes > 59)
        throw InvalidTimeError(text);
    return hours * 60 + minutes;
}

int wrapToDay(long long minutes)
{
    return static_cast<int>(((minutes % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay);
}

std::string formatTime(long long minutes)
{
    const int wrapped = wrapToDay(minutes);
    const int hours = wrapped / 60;
    const int mins = wrapped % 60;
    return {char('0' + hours / 10), char('0' + hours % 10), ':', char('0' + mins / 10),
            char('0' + mins % 10)};
}

long long shiftMinutes(const store::TimeShift& shift)
{
    return static_cast<long long>(shift.hours) * 60 + shift.minutes;
}

std::string withShiftedTime(std::string line, const store::TimeShift& shift)
{
    if (shift.isZero() || !isTimedLine(line))
        return line;
    std::string shifted = formatTime(timeOfDay(timePrefix(line)) + shiftMinutes(shift));
    shifted += ' ';
    shifted += line;
    return shifted;
}

std::string_view scheduleLine(std::string_view paneLine, const store::TimeShift& shift)
{
    if (shift.isZero() || !isTimedLine(paneLine) || paneLine.size() < kShiftedPrefixLength)
        return paneLine;
    return paneLine.substr(kShiftedPrefixLength);
}

std::string_view withoutTime(std::string_view line)
{
    if (!isTimedLine(line))
        return line;
    line.remove_prefix(timePrefix(line).size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

} // namespace brevio::view

#include "core/store/time_shifts.h"

#include "core/store/int_text.h"
#include "core/store/line_reader.h"

#include <vector>

namespace brevio::store {

namespace {

std::string_view channelPart(std::string_view line)
{
    return line.substr(0, line.find('|'));
}

// Hours between the first and second '|', minutes after the second.
TimeShift shiftOfLine(std::string_view line)
{
    const auto first = line.find('|');
    const auto second = first == line.npos ? line.npos : line.find('|', first + 1);
    const std::string_view hours
        = first == line.npos ? std::string_view() : line.substr(first + 1, second - first - 1);
    const std::string_view minutes = second == line.npos ? std::string_view() : line.substr(second + 1);
    TimeShift shift;
    shift.hours = strToInt(hours);
    shift.minutes = strToInt(minutes);
    return shift;
}

} // namespace

bool TimeShift::isZero() const
{
    return hours == 0 && minutes == 0;
}

TimeShiftTable::TimeShiftTable(std::string_view timesDat)
{
    // A later line of a channel takes the place of an earlier one.
    for (auto& line : splitLines(timesDat)) {
        std::string channel(channelPart(line));
        m_lastLine[std::move(channel)] = std::move(line);
    }
}

TimeShift TimeShiftTable::shiftOf(std::string_view channel) const
{
    const auto it = m_lastLine.find(std::string(channel));
    return it == m_lastLine.end() ? TimeShift() : shiftOfLine(it->second);
}

std::string withTimeShift(std::string_view timesDat, std::string_view channel, TimeShift shift)
{
    std::string newLine(channel);
    newLine += '|' + std::to_string(shift.hours) + '|' + std::to_string(shift.minutes);

    std::vector<std::string> lines = splitLines(timesDat);
    bool matched = false;
    for (auto& line : lines) {
        if (channelPart(line) == channel) {
            line = newLine;
            matched = true;
        }
    }
    if (!matched)
        lines.push_back(std::move(newLine));
    return joinLinesCrLf(lines);
}

} // namespace brevio::store

#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace brevio::store {

struct TimeShift
{
    int hours = 0;
    int minutes = 0;
    bool isZero() const;
};

// times.dat read once, for one channel or many. A channel's shift is on the last line whose
// channel part (text before the first '|', the whole line without one) equals it exactly, so
// an older broken line cannot block a newer one: hours between the first and second '|',
// minutes all text after the second '|'.
class TimeShiftTable
{
public:
    explicit TimeShiftTable(std::string_view timesDat);
    // No line of the channel gives {0,0}. Throws ConvertError(text) when its line's hours or
    // minutes are not decimal integers (optional sign, leading blanks allowed).
    TimeShift shiftOf(std::string_view channel) const;

private:
    std::unordered_map<std::string, std::string> m_lastLine;
};

// Rewrite of times.dat for the shift editor: every line kept in order, every matching line
// replaced by "name|h|m", appended when none matched; returns the new file text (CR LF).
std::string withTimeShift(std::string_view timesDat, std::string_view channel, TimeShift shift);

} // namespace brevio::store

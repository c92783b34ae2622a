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

// Last line of times.dat whose channel part (text before the first '|', whole line without
// one) equals `channel` exactly; hours between first and second '|', minutes all text after
// the second '|'. Throws ConvertError(text) when that line's hours or minutes are not decimal
// integers (optional sign, leading blanks allowed). No matching line -> {0,0}.
TimeShift findTimeShift(std::string_view timesDat, std::string_view channel);

// Rewrite of times.dat for the shift editor: every line kept in order, every matching line
// replaced by "name|h|m", appended when none matched; returns the new file text (CR LF).
// times.dat read once for looking up many channels (the "now" view): the same answers as
// findTimeShift, one look-up per channel instead of a pass over the file.
class TimeShiftTable
{
public:
    explicit TimeShiftTable(std::string_view timesDat);
    TimeShift shiftOf(std::string_view channel) const;

private:
    std::unordered_map<std::string, std::string> m_lastLine;
};

std::string withTimeShift(std::string_view timesDat, std::string_view channel, TimeShift shift);

} // namespace brevio::store

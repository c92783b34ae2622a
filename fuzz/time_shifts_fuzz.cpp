// times.dat: the look-up answers every channel with a shift or a conversion error, nothing
// else; writing one channel's shift gives it that shift and changes no other channel's.
#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/store/time_shifts.h"
#include "fuzz/fuzz_check.h"

#include <optional>
#include <set>

using namespace brevio;

namespace {

// A shift, or the text of the error reading it.
struct Outcome
{
    std::optional<store::TimeShift> shift;
    std::string error;
    bool operator==(const Outcome& o) const
    {
        return error == o.error && shift.has_value() == o.shift.has_value()
            && (!shift || (shift->hours == o.shift->hours && shift->minutes == o.shift->minutes));
    }
};

template <class Lookup>
Outcome outcomeOf(Lookup lookup)
{
    try {
        return {lookup(), {}};
    } catch (const ConvertError& e) {
        return {std::nullopt, e.what()};
    }
}

Outcome lookUp(std::string_view timesDat, const std::string& channel)
{
    return outcomeOf([&] { return store::TimeShiftTable(timesDat).shiftOf(channel); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view timesDat = fuzz::bytesOf(data, size);

    std::set<std::string> channels{"", "no such channel"};
    for (const auto& line : store::splitLines(timesDat)) {
        if (channels.size() >= 40)
            break;
        channels.insert(line.substr(0, line.find('|')));
    }
    // The editor writes a channel name without '|' or line ends.
    const std::string edited
        = *std::next(channels.begin(), static_cast<std::ptrdiff_t>(size % channels.size()));
    if (edited.find_first_of("|\r\n\x1a") != std::string::npos)
        return 0;
    const store::TimeShift shift{static_cast<int>(size % 47) - 23, size ? data[0] % 119 - 59 : 0};
    const std::string rewritten = store::withTimeShift(timesDat, edited, shift);
    fuzz::check(lookUp(rewritten, edited) == Outcome{shift, {}}, "the written shift reads back");
    for (const auto& channel : channels) {
        if (channel != edited)
            fuzz::check(lookUp(rewritten, channel) == lookUp(timesDat, channel),
                        "other channels keep their shift");
    }
    return 0;
}

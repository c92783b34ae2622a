#include "core/exchange/stored_week.h"

#include "core/exchange/broadcast_day.h"
#include "core/store/channel_file.h"
#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/view/block_dating.h"
#include "core/view/time_text.h"

#include <optional>

namespace brevio::exchange {

namespace {

constexpr int kWeekDays = 7;

std::optional<int> showTime(std::string_view line)
{
    if (!view::isTimedLine(line))
        return std::nullopt;
    try {
        return view::timeOfDay(view::timePrefix(line));
    } catch (const InvalidTimeError&) {
        return std::nullopt;
    }
}

} // namespace

StoredChannelWeek readStoredWeek(std::string_view bytes, std::chrono::sys_days monday, int dayStartMinutes)
{
    StoredChannelWeek week;
    view::BlockDating dating;
    std::string untimed; // lines of the block above its first show
    bool blockHasShow = false;
    const auto endBlock = [&] {
        if (!untimed.empty() && dating.block() >= 0 && dating.block() < kWeekDays)
            week.shows.push_back(
                {localMoment(monday, dating.block() * view::kMinutesPerDay + dayStartMinutes).utc,
                 std::move(untimed)});
        untimed.clear();
        blockHasShow = false;
    };
    for (const std::string& line : store::splitLines(bytes)) {
        if (dating.block() >= kWeekDays) {
            week.tail += line + "\r\n";
            continue;
        }
        if (store::isDaySeparator(line)) {
            endBlock();
            dating.nextBlock();
            if (dating.block() >= kWeekDays)
                week.tail += line + "\r\n"; // the eighth
            continue;
        }
        if (dating.block() < 0) {
            week.header += line + "\r\n";
        } else if (const auto time = showTime(line)) {
            const long long air = static_cast<long long>(dating.dayOf(*time)) * view::kMinutesPerDay + *time;
            week.shows.push_back({localMoment(monday, air).utc, std::move(untimed) + line + "\r\n"});
            untimed.clear();
            blockHasShow = true;
        } else if (blockHasShow) {
            week.shows.back().bytes += line + "\r\n";
        } else {
            untimed += line + "\r\n";
        }
    }
    endBlock();
    return week;
}

} // namespace brevio::exchange

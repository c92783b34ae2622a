#include "core/view/week_shows.h"

#include "core/store/channel_list.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/view/block_dating.h"
#include "core/view/time_text.h"
#include "core/view/week_lists.h"

#include <filesystem>

namespace brevio::view {

namespace {

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

int airDay(long long airMinutes)
{
    return static_cast<int>(floorDiv(airMinutes, kMinutesPerDay));
}

int shownMinutes(long long airMinutes)
{
    return wrapToDay(airMinutes);
}

void collectPaneShows(const DayPanes& panes, const store::TimeShift& shift, std::vector<PaneShow>& out)
{
    const long long offset = shiftMinutes(shift);
    BlockDating dating;
    for (int day = 0; day < kWeekDays; ++day) {
        const auto& pane = panes[static_cast<std::size_t>(day)];
        // Judged on the file's own times, so that a shift cannot move a show to another day
        // unless it crosses midnight itself.
        dating.startBlock(day);
        for (std::size_t i = 1; i < pane.size(); ++i) {
            const std::string_view line = scheduleLine(pane[i], shift);
            if (!isTimedLine(line)) {
                if (!out.empty() && out.back().day == day)
                    ++out.back().lineCount;
                continue;
            }
            const int time = timeOfDay(timePrefix(line));
            const long long air = static_cast<long long>(dating.dayOf(time)) * kMinutesPerDay + time + offset;
            out.push_back({day, static_cast<int>(i), 1, air});
        }
    }
}

std::string_view ChannelWeek::title(const PaneShow& show) const
{
    const auto& pane = panes[static_cast<std::size_t>(show.day)];
    const std::string_view line = scheduleLine(pane[static_cast<std::size_t>(show.line)], shift);
    return withoutTime(line);
}

std::span<const std::string> ChannelWeek::description(const PaneShow& show) const
{
    const auto& pane = panes[static_cast<std::size_t>(show.day)];
    return std::span<const std::string>(pane).subspan(static_cast<std::size_t>(show.line) + 1,
                                                      static_cast<std::size_t>(show.lineCount) - 1);
}

void readWeekChannels(std::string_view weekFolder, const std::function<bool(int index)>& wanted,
                      const std::function<void(ChannelWeek& channel)>& take)
{
    const auto channelLines = store::readLines(weekFile(weekFolder, store::kChannelListFile));
    const std::filesystem::path timesFile(store::kTimeShiftFile);
    const store::TimeShiftTable shifts(store::fileExists(timesFile) ? store::readFile(timesFile)
                                                                    : std::string());
    for (std::size_t i = 0; i < channelLines.size(); ++i) {
        const int index = static_cast<int>(i);
        if (wanted && !wanted(index))
            continue;
        auto entry = store::splitChannelLine(channelLines[i]);
        ChannelWeek channel;
        channel.index = index;
        channel.name = std::move(entry.name);
        channel.fileName = std::move(entry.fileName);
        ChannelDays days;
        try {
            if (channel.fileName.empty())
                throw IoError(2); // the line names no file
            store::checkBareFileName(channel.fileName);
            const auto fileLines = store::readLines(weekFile(weekFolder, channel.fileName));
            channel.shift = shifts.shiftOf(channel.name);
            fillChannelDays(channel.name, fileLines, channel.shift, days);
        } catch (const Error& e) {
            channel.problem = e.what();
        }
        // Panes cut short by a fault still hold whole lines: their shows count.
        channel.panes = std::move(days.panes);
        try {
            collectPaneShows(channel.panes, channel.shift, channel.shows);
        } catch (const Error& e) {
            if (channel.problem.empty())
                channel.problem = e.what();
        }
        take(channel);
    }
}

} // namespace brevio::view

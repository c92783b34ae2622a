#include "view/now_view.h"

#include "store/channel_list.h"
#include "store/file_io.h"
#include "store/file_names.h"
#include "store/line_reader.h"
#include "store/week_folder.h"
#include "view/time_text.h"
#include "view/week_lists.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace brevio::view {

namespace {

using namespace std::chrono;

constexpr auto kOnAirLimit = hours(2);

std::string twoDigits(unsigned value)
{
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

std::string weekDate(local_days day)
{
    const year_month_day date(day);
    const int y = static_cast<int>(date.year());
    return twoDigits(static_cast<unsigned>(date.day())) + "." + twoDigits(static_cast<unsigned>(date.month()))
        + "." + twoDigits(static_cast<unsigned>(y / 100)) + twoDigits(static_cast<unsigned>(y % 100));
}

} // namespace

local_days weekMonday(local_seconds now)
{
    const auto today = floor<days>(now);
    return today - (weekday(today) - Monday);
}

std::string currentWeekFolder(local_seconds now)
{
    return store::weekFolderName(weekDate(weekMonday(now)));
}

long long nowShiftMinutes(const store::TimeShift& shift)
{
    return static_cast<long long>(shift.hours % 24) * 60 + shift.minutes;
}

NowViewBuilder::NowViewBuilder(local_seconds now, int lookAheadHours)
    : m_now(now)
    , m_onAirFrom(now - kOnAirLimit)
    , m_until(now + hours(lookAheadHours))
    , m_monday(weekMonday(now))
{
}

void NowViewBuilder::addChannel(std::string_view channelName, const std::vector<std::string>& fileLines,
                                const store::TimeShift& shift)
{
    const long long offset = nowShiftMinutes(shift);
    local_seconds day = m_monday;
    // No show before the first one: it never moves the day on, even when a negative shift
    // takes it before midnight.
    std::optional<long long> previousTime;
    std::string previousLine;
    int previousTimeOfDay = 0;

    for (const auto& line : fileLines) {
        const auto prefix = timePrefix(line);
        if (!isTimeText(prefix))
            continue;
        const long long time = timeOfDay(prefix) + offset;
        const std::string shown = formatTime(time) + " " + line;
        const int shownTimeOfDay = wrapToDay(time);

        const auto previousStart = day + minutes(previousTime.value_or(0));
        // Times fall back only after midnight.
        if (previousTime && *previousTime > time)
            day += days(1);
        previousTime = time;
        const auto start = day + minutes(time);

        if (start > m_now && previousStart > m_onAirFrom && previousStart < m_now)
            add(previousLine, previousTimeOfDay, channelName); // on the air, listed once
        if (start >= m_now && start <= m_until)
            add(shown, shownTimeOfDay, channelName);
        previousLine = shown;
        previousTimeOfDay = shownTimeOfDay;
    }
}

void NowViewBuilder::add(const std::string& line, int timeOfDay, std::string_view channelName)
{
    if (line.empty())
        return; // no show before the first one
    std::string text = line;
    text += " - ";
    text += channelName;
    m_entries.push_back({timeOfDay, m_entries.size(), std::move(text)});
}

std::vector<std::string> NowViewBuilder::lines() const
{
    // Each line went above every line of an equal or later time: by time, the newest first.
    std::vector<const Entry*> order;
    order.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        order.push_back(&entry);
    std::sort(order.begin(), order.end(), [](const Entry* a, const Entry* b) {
        return a->timeOfDay != b->timeOfDay ? a->timeOfDay < b->timeOfDay : a->order > b->order;
    });
    std::vector<std::string> result;
    result.reserve(order.size());
    for (const Entry* entry : order)
        result.push_back(entry->text);
    return result;
}

bool buildNowView(local_seconds now, int lookAheadHours, std::vector<std::string>& out)
{
    out.clear();
    const std::string folder = currentWeekFolder(now);
    const auto channelList = weekFile(folder, store::kChannelListFile);
    if (!store::fileExists(channelList))
        return false;

    const std::filesystem::path timesFile(store::kTimeShiftFile);
    const store::TimeShiftTable shifts(store::fileExists(timesFile) ? store::readFile(timesFile)
                                                                    : std::string());

    NowViewBuilder builder(now, lookAheadHours);
    try {
        for (const auto& channelLine : store::readLines(channelList)) {
            const auto entry = store::splitChannelLine(channelLine);
            if (entry.fileName.empty())
                continue; // names no file
            store::checkBareFileName(entry.fileName);
            const auto file = weekFile(folder, entry.fileName);
            if (!store::fileExists(file))
                continue;
            builder.addChannel(entry.name, store::readLines(file), shifts.shiftOf(entry.name));
        }
    } catch (...) {
        out = builder.lines();
        throw;
    }
    out = builder.lines();
    return true;
}

} // namespace brevio::view

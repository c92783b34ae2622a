#include "core/view/now_view.h"

#include "core/store/channel_file.h"
#include "core/store/channel_list.h"
#include "core/store/file_io.h"
#include "core/store/file_lines.h"
#include "core/store/file_names.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/day_view.h"
#include "core/view/time_text.h"
#include "core/view/week_lists.h"

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

void NowViewBuilder::startChannel(std::string_view channelName, const store::TimeShift& shift)
{
    m_channel.assign(channelName);
    m_offset = nowShiftMinutes(shift);
    m_dating = {};
    m_previousStart.reset();
    m_previousLine.clear();
}

bool NowViewBuilder::addLine(std::string_view rawLine)
{
    // A CR in the first five characters is no part of a time text, so the raw line and the
    // line it holds have the same time; only a timed line is cut for showing. A separator is
    // told by its first two characters alike.
    if (store::isDaySeparator(store::endAtCr(rawLine.substr(0, 2)))) {
        m_dating.nextBlock();
        return m_dating.block() < kWeekDays; // past Sunday no line belongs to a day
    }
    const auto prefix = timePrefix(rawLine);
    if (!isTimeText(prefix) || m_dating.block() < 0) // the header is shown nowhere
        return true;
    const std::string_view line = store::endAtCr(rawLine);
    const int fileTime = timeOfDay(prefix);
    const long long time = fileTime + m_offset;
    const auto start = m_monday + days(m_dating.dayOf(fileTime)) + minutes(time);

    if (m_previousStart && start > m_now && *m_previousStart > m_onAirFrom && *m_previousStart < m_now)
        add(m_previousLine, m_previousTime); // on the air, listed once
    if (start >= m_now && start <= m_until)
        add(line, time);
    m_previousStart = start;
    m_previousTime = time;
    m_previousLine.assign(line);
    // In a file whose shows stand in broadcast order starts never fall, so no later line can be
    // listed, nor be on the air now.
    return start <= m_until;
}

void NowViewBuilder::addChannel(std::string_view channelName, std::string_view fileText,
                                const store::TimeShift& shift)
{
    startChannel(channelName, shift);
    store::LineCursor lines(fileText);
    for (std::string_view line; lines.next(line) && addLine(line);) { }
}

void NowViewBuilder::add(std::string_view line, long long time)
{
    std::string text = formatTime(time);
    text.reserve(text.size() + 1 + line.size() + 3 + m_channel.size());
    text += ' ';
    text += line;
    text += " - ";
    text += m_channel;
    m_entries.push_back({wrapToDay(time), m_entries.size(), std::move(text)});
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
    std::string buffer; // one for all channel files, read only as far as the view needs
    try {
        for (const auto& channelLine : store::readLines(channelList)) {
            const auto entry = store::splitChannelLine(channelLine);
            if (entry.fileName.empty())
                continue; // names no file
            store::checkBareFileName(entry.fileName);
            store::FileLines lines(weekFile(folder, entry.fileName), buffer,
                                   store::FileLines::IfMissing::Skip);
            if (!lines.found())
                continue;
            builder.startChannel(entry.name, shifts.shiftOf(entry.name));
            for (std::string_view line; lines.nextRaw(line) && builder.addLine(line);) { }
        }
    } catch (...) {
        out = builder.lines();
        throw;
    }
    out = builder.lines();
    return true;
}

} // namespace brevio::view

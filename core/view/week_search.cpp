#include "core/view/week_search.h"

#include "core/store/cp1251.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "core/view/text_search.h"
#include "core/view/time_text.h"
#include "core/view/week_lists.h"
#include "core/view/week_shows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace brevio::view {

namespace {

struct Collected
{
    FoundShow show;
    std::string text;
};

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

WeekSearch::WeekSearch(std::string weekFolder)
    : WeekSearch(LoadedWeek(std::move(weekFolder)))
{
}

WeekSearch::WeekSearch(const LoadedWeek& week)
    : m_folder(week.weekFolder())
    , m_problems(week.problems())
    , m_stamps(week.stamps())
{
    std::vector<Collected> collected;
    for (const ChannelWeek& channel : week.channels()) {
        m_channelNames.push_back(channel.name);
        m_shiftMinutes.push_back(view::shiftMinutes(channel.shift));
        for (const PaneShow& show : channel.shows) {
            Collected item{{channel.index, show.day, show.line, show.airMinutes, 0, 0, 0}, {}};
            item.text = channel.title(show);
            item.show.titleLength = static_cast<std::uint32_t>(item.text.size());
            item.text += '\n';
            for (const std::string& line : channel.description(show)) {
                item.text += line;
                item.text += '\n';
            }
            collected.push_back(std::move(item));
        }
    }

    std::vector<std::size_t> order(collected.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const FoundShow& x = collected[a].show;
        const FoundShow& y = collected[b].show;
        return std::tie(x.airMinutes, x.channel, x.day, x.line)
            < std::tie(y.airMinutes, y.channel, y.day, y.line);
    });
    std::size_t total = 0;
    for (const auto& item : collected)
        total += item.text.size();
    m_text.reserve(total);
    m_shows.reserve(collected.size());
    for (const std::size_t i : order) {
        FoundShow show = collected[i].show;
        show.text = static_cast<std::uint32_t>(m_text.size());
        show.textLength = static_cast<std::uint32_t>(collected[i].text.size());
        m_text += collected[i].text;
        m_shows.push_back(show);
    }
    m_folded = searchFolded(m_text);
}

bool WeekSearch::upToDate() const
{
    return m_stamps.upToDate();
}

std::vector<std::uint32_t> WeekSearch::find(std::string_view query) const
{
    std::vector<std::uint32_t> found;
    // A line break could match across lines, or across shows.
    if (isBlank(query) || query.find_first_of("\r\n") != query.npos)
        return found;
    const std::string wanted = searchFolded(query);
    const char* const text = m_folded.data();
    std::size_t at = 0;
    while (at < m_folded.size()) {
        const void* hit = ::memmem(text + at, m_folded.size() - at, wanted.data(), wanted.size());
        if (!hit)
            break;
        const auto offset = static_cast<std::uint32_t>(static_cast<const char*>(hit) - text);
        const auto next = std::upper_bound(m_shows.begin(), m_shows.end(), offset,
                                           [](std::uint32_t o, const FoundShow& s) { return o < s.text; });
        const auto index = static_cast<std::uint32_t>(next - m_shows.begin() - 1);
        found.push_back(index);
        at = m_shows[index].text + m_shows[index].textLength; // one hit per show
    }
    return found;
}

std::string_view WeekSearch::title(std::uint32_t index) const
{
    const FoundShow& show = m_shows[index];
    return std::string_view(m_text).substr(show.text, show.titleLength);
}

long long WeekSearch::shiftMinutes(int channel) const
{
    return channel >= 0 && static_cast<std::size_t>(channel) < m_shiftMinutes.size()
        ? m_shiftMinutes[static_cast<std::size_t>(channel)]
        : 0;
}

std::string_view WeekSearch::channelName(int channel) const
{
    return channel >= 0 && static_cast<std::size_t>(channel) < m_channelNames.size()
        ? std::string_view(m_channelNames[static_cast<std::size_t>(channel)])
        : std::string_view();
}

std::string airDayText(int airDay, std::string_view weekDate, int languageOffset)
{
    const int weekday = ((airDay % 7) + 7) % 7;
    std::string text(textOf(textAfter(TextId::Monday, weekday), languageOffset));
    if (const auto monday = store::weekDateDay(weekDate)) {
        const std::chrono::year_month_day date(*monday + std::chrono::days(airDay));
        char day[8];
        std::snprintf(day, sizeof day, " %02u.%02u", unsigned(date.day()), unsigned(date.month()));
        text += day;
    }
    return text;
}

} // namespace brevio::view

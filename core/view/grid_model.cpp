#include "core/view/grid_model.h"

#include "core/store/week_folder.h"
#include "core/view/selected_shows.h"
#include "core/view/time_text.h"

#include <algorithm>

namespace brevio::view {

namespace {

constexpr long long kHour = 60;

long long floorToHour(long long minutes)
{
    return minutes - ((minutes % kHour) + kHour) % kHour;
}

long long ceilToHour(long long minutes)
{
    const long long floor = floorToHour(minutes);
    return floor == minutes ? floor : floor + kHour;
}

// The boxes of one channel's day: by start, each ending where the next one starts.
void addChannelBoxes(const ChannelWeek& channel, int day, std::vector<GridBox>& boxes)
{
    const auto byDay = [](const PaneShow& show, int d) { return show.day < d; };
    const auto first = std::lower_bound(channel.shows.begin(), channel.shows.end(), day, byDay);
    const auto next = std::lower_bound(first, channel.shows.end(), day + 1, byDay);
    const auto nextEnd = std::lower_bound(next, channel.shows.end(), day + 2, byDay);
    const long long dayStart = static_cast<long long>(day) * kMinutesPerDay;

    const std::size_t from = boxes.size();
    for (auto show = first; show != next; ++show)
        boxes.push_back({show->airMinutes - dayStart, 0, show->line, show->lineCount, false, false});
    const auto begin = boxes.begin() + static_cast<std::ptrdiff_t>(from);
    // Shows stand in the pane in the order they air; a file that says otherwise is drawn in the
    // order of time all the same, so that boxes never overlap.
    std::stable_sort(begin, boxes.end(),
                     [](const GridBox& a, const GridBox& b) { return a.start < b.start; });
    for (auto box = begin; box != boxes.end(); ++box) {
        if (box + 1 != boxes.end()) {
            box->end = (box + 1)->start;
            continue;
        }
        // The day's last show runs until the channel's next day begins, if that is later.
        const auto morning = std::min_element(
            next, nextEnd, [](const PaneShow& a, const PaneShow& b) { return a.airMinutes < b.airMinutes; });
        if (morning != nextEnd && morning->airMinutes - dayStart > box->start) {
            box->end = morning->airMinutes - dayStart;
        } else {
            box->end = box->start + GridDay::kOpenEndedMinutes;
            box->openEnded = true;
        }
    }
}

} // namespace

GridDay::GridDay(const LoadedWeek& week, std::string_view weekDate, int day, const SelectedLists& lists)
    : m_week(week)
    , m_day(day)
{
    if (const auto monday = store::weekDateDay(weekDate))
        m_dayStart = std::chrono::local_days(monday->time_since_epoch()) + std::chrono::days(day);

    long long first = 0;
    long long last = kMinutesPerDay;
    m_rowStarts.reserve(week.channels().size() + 1);
    for (const ChannelWeek& channel : week.channels()) {
        m_rowStarts.push_back(m_boxes.size());
        addChannelBoxes(channel, day, m_boxes);
        if (m_boxes.size() > m_rowStarts.back()) {
            first = std::min(first, m_boxes[m_rowStarts.back()].start);
            last = std::max(last, m_boxes.back().end);
        }
    }
    m_rowStarts.push_back(m_boxes.size());
    m_firstMinute = std::max<long long>(floorToHour(first), -kMinutesPerDay);
    m_lastMinute = std::min<long long>(ceilToHour(last), 2 * kMinutesPerDay);
    markListed(lists);
}

std::span<const GridBox> GridDay::row(int index) const
{
    const auto r = static_cast<std::size_t>(index);
    return std::span<const GridBox>(m_boxes).subspan(m_rowStarts[r], m_rowStarts[r + 1] - m_rowStarts[r]);
}

const ChannelWeek& GridDay::channel(int index) const
{
    return m_week.channels()[static_cast<std::size_t>(index)];
}

std::string_view GridDay::title(int index, const GridBox& box) const
{
    return channel(index).title({m_day, box.line, box.lineCount, 0});
}

std::span<const std::string> GridDay::description(int index, const GridBox& box) const
{
    return channel(index).description({m_day, box.line, box.lineCount, 0});
}

void GridDay::markListed(const SelectedLists& lists)
{
    const ListedShows listed(lists);
    for (int r = 0; r < rowCount(); ++r) {
        const ChannelWeek& ch = channel(r);
        const auto& pane = ch.panes[static_cast<std::size_t>(m_day)];
        for (std::size_t i = m_rowStarts[static_cast<std::size_t>(r)];
             i < m_rowStarts[static_cast<std::size_t>(r) + 1]; ++i)
            m_boxes[i].listed = listed.contains(pane, m_day, m_boxes[i].line, m_boxes[i].lineCount, ch.name);
    }
}

const PaneShow* GridDay::show(int index, const GridBox& box) const
{
    const ChannelWeek& ch = channel(index);
    const auto found = std::find_if(ch.shows.begin(), ch.shows.end(),
                                    [&](const PaneShow& s) { return s.day == m_day && s.line == box.line; });
    return found == ch.shows.end() ? nullptr : &*found;
}

void GridDay::markReminded(const std::function<bool(const ChannelWeek&, const PaneShow&)>& reminded)
{
    for (int r = 0; r < rowCount(); ++r) {
        const ChannelWeek& ch = channel(r);
        for (std::size_t i = m_rowStarts[static_cast<std::size_t>(r)];
             i < m_rowStarts[static_cast<std::size_t>(r) + 1]; ++i) {
            const PaneShow* s = show(r, m_boxes[i]);
            m_boxes[i].reminded = s && reminded(ch, *s);
        }
    }
}

std::pair<int, int> GridDay::boxesIn(int index, long long from, long long to) const
{
    const auto boxes = row(index);
    const auto first = std::partition_point(boxes.begin(), boxes.end(),
                                            [from](const GridBox& b) { return b.end <= from; });
    const auto last
        = std::partition_point(first, boxes.end(), [to](const GridBox& b) { return b.start < to; });
    return {static_cast<int>(first - boxes.begin()), static_cast<int>(last - boxes.begin())};
}

int GridDay::boxAt(int index, long long minute) const
{
    const auto boxes = row(index);
    const auto after = std::partition_point(boxes.begin(), boxes.end(),
                                            [minute](const GridBox& b) { return b.start <= minute; });
    if (after == boxes.begin() || !(after - 1)->airsAt(minute))
        return -1;
    return static_cast<int>(after - 1 - boxes.begin());
}

int GridDay::boxNear(int index, long long minute) const
{
    if (const int at = boxAt(index, minute); at >= 0)
        return at;
    const auto boxes = row(index);
    const auto after = std::partition_point(boxes.begin(), boxes.end(),
                                            [minute](const GridBox& b) { return b.start <= minute; });
    if (after != boxes.end())
        return static_cast<int>(after - boxes.begin());
    return static_cast<int>(boxes.size()) - 1;
}

int GridDay::rowWithShows(int from, int step) const
{
    for (int r = from + step; step != 0 && r >= 0 && r < rowCount(); r += step)
        if (!row(r).empty())
            return r;
    return -1;
}

std::optional<long long> GridDay::minuteOf(std::chrono::local_seconds moment) const
{
    if (!m_dayStart)
        return std::nullopt;
    return std::chrono::floor<std::chrono::minutes>(moment - *m_dayStart).count();
}

} // namespace brevio::view

#pragma once

#include "core/view/loaded_week.h"
#include "core/view/week_lists.h"

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The programme grid of one weekday: a row per channel of the week, a box per show, laid out
// against the clock. The boxes are the day view's shows of that day: each channel cut and
// shifted as its day pane is, the shows after midnight at the end of the evening they belong to.
namespace brevio::view {

struct GridBox
{
    // Minutes after the shown day's 00:00, as the show airs: a shift may put a start before
    // midnight, a show after midnight starts past 24:00.
    long long start = 0;
    // Where the channel's next show starts; for the day's last show the channel's first show of
    // the next day, or, when there is none after it, start + kOpenEndedMinutes with openEnded.
    long long end = 0;
    int line = 0; // its time line in the channel's day pane
    int lineCount = 1; // with its description lines
    bool openEnded = false;
    bool listed = false; // in the selected lists
    bool reminded = false; // has a reminder

    bool airsAt(long long minute) const { return start <= minute && minute < end; }
};

class GridDay
{
public:
    // How long a box without a known end is drawn and counted as airing.
    static constexpr long long kOpenEndedMinutes = 60;

    // The boxes of weekday `day` (0 Monday .. 6 Sunday) of `week`, whose date is `weekDate`
    // ("07.12.2026"; a text that names no day leaves the grid without "now"). `week` must
    // outlive the grid.
    GridDay(const LoadedWeek& week, std::string_view weekDate, int day, const SelectedLists& lists);

    int day() const { return m_day; }
    int rowCount() const { return static_cast<int>(m_rowStarts.size()) - 1; }
    // A row's boxes by start; boxes of equal start keep the pane's order (the first is empty).
    std::span<const GridBox> row(int row) const;
    const ChannelWeek& channel(int row) const;
    std::string_view title(int row, const GridBox& box) const;
    std::span<const std::string> description(int row, const GridBox& box) const;

    // The time axis in whole hours: the day from 00:00 to 24:00, widened to every box (by at
    // most a day each way, whatever a shift says).
    long long firstMinute() const { return m_firstMinute; }
    long long lastMinute() const { return m_lastMinute; }

    // Marks the shows that stand in the selected lists (after the lists changed).
    void markListed(const SelectedLists& lists);
    // The day pane's show a box stands for; none when the channel's shows do not name it.
    const PaneShow* show(int row, const GridBox& box) const;
    // Marks the shows `reminded` says have a reminder.
    void markReminded(const std::function<bool(const ChannelWeek&, const PaneShow&)>& reminded);

    // The boxes of a row that reach into [from, to): indices [first, last) of row(row).
    std::pair<int, int> boxesIn(int row, long long from, long long to) const;
    // The box of a row on the air at `minute`; -1 when none is.
    int boxAt(int row, long long minute) const;
    // The box on the air at `minute`, else the first one after it, else the last one; -1 for a
    // row without shows.
    int boxNear(int row, long long minute) const;
    // The first row with shows from `row + step` on in the direction of `step`; -1 when none.
    int rowWithShows(int row, int step) const;

    // The minute of the shown day a moment falls on; none when the week's date names no day.
    std::optional<long long> minuteOf(std::chrono::local_seconds moment) const;

private:
    const LoadedWeek& m_week;
    int m_day = 0;
    std::optional<std::chrono::local_days> m_dayStart;
    std::vector<GridBox> m_boxes; // row after row
    std::vector<std::size_t> m_rowStarts; // row r: m_boxes[m_rowStarts[r] .. m_rowStarts[r + 1])
    long long m_firstMinute = 0;
    long long m_lastMinute = 0;
};

} // namespace brevio::view

#include "core/print/print_document.h"

#include "core/store/cp1251.h"
#include "core/store/file_io.h"
#include "core/view/week_lists.h"

#include <algorithm>

namespace brevio::print {

namespace {

// The document's titles are Russian whatever the interface language.
std::string title(std::string_view utf8)
{
    return utf8ToCp1251(utf8);
}

void append(Lines& to, const Lines& lines)
{
    to.insert(to.end(), lines.begin(), lines.end());
}

} // namespace

Lines selectedShowsDocument(const DayCaptions& captions, const SelectedLists& lists)
{
    Lines out{title("Отобранные телепередачи"), {}};
    for (int d = 0; d < view::kWeekDays; ++d) {
        out.push_back(captions[static_cast<std::size_t>(d)]);
        out.emplace_back();
        append(out, lists[static_cast<std::size_t>(d)]);
        out.emplace_back();
    }
    out.push_back(title("Следующий Понедельник"));
    out.emplace_back();
    append(out, lists[view::kWeekDays]);
    return out;
}

void collectCheckedChannels(std::string_view weekFolder, const std::vector<bool>& checked,
                            view::DayPanes& days)
{
    // The channel list is read even when nothing is checked: a week without one cannot print.
    const auto channelCount = store::readLines(view::weekFile(weekFolder, store::kChannelListFile)).size();
    const std::size_t last = std::min(channelCount, checked.size());
    for (std::size_t i = 0; i < last; ++i) {
        if (!checked[i])
            continue;
        view::ChannelDays channel;
        view::loadChannelDays(weekFolder, static_cast<int>(i), channel);
        // Each channel pane starts with the channel name; the print puts an empty line first.
        for (std::size_t d = 0; d < days.size(); ++d) {
            days[d].emplace_back();
            append(days[d], channel.panes[d]);
        }
    }
}

Lines weekScheduleDocument(const DayCaptions& captions, const std::array<bool, view::kWeekDays>& printedDays,
                           const view::DayPanes& days)
{
    Lines out{title("Телепрограмма на неделю"), {}};
    for (std::size_t d = 0; d < days.size(); ++d) {
        if (!printedDays[d])
            continue;
        out.push_back(captions[d]);
        out.emplace_back();
        append(out, days[d]);
        if (d + 1 < days.size())
            out.emplace_back();
    }
    return out;
}

} // namespace brevio::print

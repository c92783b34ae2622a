#include "core/exchange/week_listing.h"

#include "core/exchange/show_lines.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/week_folder.h"
#include "core/view/week_shows.h"

#include <algorithm>

namespace brevio::exchange {

std::optional<long long> showEnd(long long airMinutes, long long nextAirMinutes)
{
    if (nextAirMinutes <= airMinutes || nextAirMinutes - airMinutes > kLongestKnownEnd.count())
        return std::nullopt;
    return nextAirMinutes;
}

WeekListing readWeekListing(std::string_view weekDate, const std::function<bool(int index)>& wanted)
{
    WeekListing week;
    week.weekDate = weekDate;
    const auto monday = store::weekDateDay(weekDate);
    if (!monday)
        throw Error("The week date '" + quotedData(weekDate) + "' names no day; nothing was exported.");
    week.monday = *monday;
    const std::string folder = store::checkedWeekFolder(weekDate, store::FolderUse::Read);
    view::readWeekChannels(folder, wanted, [&week](view::ChannelWeek& channel) {
        if (!channel.problem.empty())
            throw Error("The channel '" + quotedData(channel.name) + "' cannot be read whole ("
                        + channel.problem + "); nothing was exported.");
        ListedChannel listed{channel.index, channel.name, channel.fileName, {}};
        listed.shows.reserve(channel.shows.size());
        for (std::size_t i = 0; i < channel.shows.size(); ++i) {
            const view::PaneShow& show = channel.shows[i];
            ListedShow item{show.airMinutes, std::nullopt, std::string(channel.title(show)), {}};
            const auto description = channel.description(show);
            item.description.assign(description.begin(), description.end());
            if (i + 1 < channel.shows.size())
                item.endMinutes = showEnd(show.airMinutes, channel.shows[i + 1].airMinutes);
            listed.shows.push_back(std::move(item));
        }
        week.channels.push_back(std::move(listed));
    });
    return week;
}

std::string outsideText(std::string_view bytes)
{
    std::string defined(bytes);
    // It would decode to a control character, which XML and calendars refuse.
    std::replace(defined.begin(), defined.end(), '\x98', '?');
    return cleanLine(cp1251ToUtf8(defined));
}

const ListedShow* findShow(const ListedChannel& channel, long long airMinutes, std::string_view title)
{
    const ListedShow* found = nullptr;
    for (const ListedShow& show : channel.shows) {
        if (show.airMinutes != airMinutes)
            continue;
        if (show.title == title)
            return &show;
        if (!found)
            found = &show;
    }
    return found;
}

} // namespace brevio::exchange

#pragma once

#include "core/exchange/week_listing.h"

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

// A week of the store as an XMLTV listing, for other guides, recorders and the import itself.
namespace brevio::exchange {

struct ExportCount
{
    std::size_t channels = 0;
    std::size_t shows = 0;
};

// The XMLTV id of a channel from its file name: the name without ".txt", in the letters,
// digits, '-' and '.' the format's ids use, with a dot in it (an id such as "k1" becomes
// "k1.brevio"); a suffix "-2", "-3", ... keeps it out of `taken`, which it is added to.
std::string xmltvChannelId(std::string_view fileName, std::set<std::string>& taken);

// The listing as an XMLTV document (UTF-8): a <channel> per channel that has shows, in the
// week's order, its name as display-name; a <programme> per show with its start, and its stop
// where the channel's next show is known, at the local time zone's offset; the heading as the
// title and the description lines as desc. Channels without shows are left out (the format
// wants programmes for every channel it names).
std::string weekToXmltv(const WeekListing& week, ExportCount& count);

} // namespace brevio::exchange

#pragma once

#include "core/exchange/broadcast_day.h"
#include "core/exchange/channel_labels.h"
#include "core/exchange/show_spool.h"
#include "core/exchange/xmltv_reader.h"

#include <chrono>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Turns the programmes of one or more listings into channel files, one per channel and week:
// a header line, then seven day blocks (Monday first), each opened by an empty line and
// holding the day's shows in broadcast order. Shows go to a spool file as they are read, so
// memory holds only a small record per show.
namespace brevio::exchange {

struct ListingOptions
{
    int dayStartMinutes = kDefaultDayStartMinutes;
    std::vector<std::string> languages{"ru"}; // display names, titles and descriptions
    // The zone whose clocks a time without an offset or zone is read on: none for UTC, as the
    // format has it; empty for this machine's zone (what most grabbers that leave it out mean).
    std::optional<std::string> bareTimeZone;
};

struct ChannelWeekFile
{
    const ChannelLabel& label;
    std::string bytes; // the whole file, windows-1251, CR LF
    std::size_t shows = 0;
};

// A show of a listing as a channel file holds it.
struct ListingShow
{
    std::chrono::sys_seconds start;
    std::optional<std::chrono::sys_seconds> stop;
    std::string bytes; // its lines, windows-1251, each ended by CR LF
};

// A channel of the listings with all its shows, in start order.
struct ListingChannel
{
    const XmltvChannel& channel;
    const ChannelLabel& label;
    std::vector<ListingShow> shows;
};

// Programmes whose channel no <channel> element defines, and how many channels they are of.
struct UndeclaredChannels
{
    std::size_t programmes = 0;
    std::size_t channels = 0;
};

class WeekBuilder : public XmltvSink
{
public:
    explicit WeekBuilder(ListingOptions options = {});

    // A channel id seen again keeps its first definition. A programme of a channel that no
    // <channel> element has defined (yet) is taken under its channel id as the name; a
    // <channel> element that comes later still gives that channel its names.
    void channel(XmltvChannel&& channel) override;
    void programme(XmltvProgramme&& programme) override;

    // The Mondays of the weeks that hold shows, earliest first.
    std::vector<std::chrono::sys_days> weeks();
    // How many channel files these weeks give (for progress).
    std::size_t channelFileCount(const std::vector<std::chrono::sys_days>& mondays);
    // Hands over the file of every channel with shows in the week, in the alphabetical order
    // of the channels' names (whatever order the listings have, a sorted or merged copy of
    // them gives the same files in the same order); of two channels of the same name, the one
    // whose id sorts first keeps the plain name. Shows are sorted by start; of shows with the same start and
    // heading only the one with the most text is kept; overlapping shows all stay, in start order.
    // Each channel's shows are laid into day blocks by DayLayout (day_layout.h), over all the
    // weeks of the listings.
    void buildWeek(std::chrono::sys_days monday, const std::function<void(const ChannelWeekFile&)>& take);

    // The same shows channel by channel, in the same order, each channel with the shows of all
    // its weeks (for merging into a store that has shows of its own).
    std::size_t channelCount();
    // The channels with shows in the same order, as XMLTV id and name (windows-1251).
    std::vector<std::pair<std::string, std::string>> channelNames();
    void forEachChannel(const std::function<void(ListingChannel&)>& take);

    const ListingOptions& options() const { return m_options; }
    std::size_t programmeCount() const { return m_shows.size(); }
    // What was taken under channel ids for want of a <channel> element: worth a warning.
    UndeclaredChannels undeclaredChannels() const;
    // Characters that had no windows-1251 equivalent (in shows and channel names), and the
    // line of the first programme that had one (0: only names had them).
    Cp1251Loss loss() const;
    long lossLine() const { return m_lossLine; }

private:
    struct Show
    {
        std::int64_t start; // seconds since the epoch, UTC
        std::int64_t stop; // likewise; kNoStop when the listing gives none
        std::uint64_t offset; // in the spool
        std::uint32_t length;
        std::uint32_t channel;
        std::int32_t monday; // days since the epoch, of the block it is laid into
        std::uint8_t weekday;
    };
    static constexpr std::int64_t kNoStop = INT64_MIN;
    using ShowRange = std::pair<std::vector<Show>::const_iterator, std::vector<Show>::const_iterator>;

    void prepare();
    void layOut();
    // Orders the laid-out shows by week, then channel and time (what channelWeek looks up).
    void groupByWeek();
    ShowRange channelWeek(std::int32_t monday, std::uint32_t rank) const;
    struct Loaded
    {
        const Show* show;
        std::string bytes;
    };
    // The shows' texts from the spool, sorted by start, duplicates dropped.
    std::vector<Loaded> loadShows(const std::vector<const Show*>& shows);

    void readBareTimes(XmltvProgramme& programme);

    ListingOptions m_options;
    std::optional<ZoneClock> m_bareClock;
    ShowSpool m_spool;
    std::vector<XmltvChannel> m_channels;
    std::vector<bool> m_declared; // per channel: defined by a <channel> element
    std::map<std::string, std::uint32_t, std::less<>> m_channelIndex;
    std::vector<Show> m_shows;
    std::vector<ChannelLabel> m_labels; // per channel; empty names for channels without shows
    std::vector<std::uint32_t> m_rank; // per channel: its place in the channel lists
    std::vector<std::uint32_t> m_channelsInOrder; // the channels with shows, by rank
    bool m_prepared = false;
    Cp1251Loss m_loss;
    Cp1251Loss m_nameLoss;
    long m_lossLine = 0;
};

} // namespace brevio::exchange

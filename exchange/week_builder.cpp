#include "exchange/week_builder.h"

#include "exchange/exchange_errors.h"
#include "exchange/show_lines.h"

#include <algorithm>
#include <tuple>

namespace brevio::exchange {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string_view firstLine(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\r'));
}

} // namespace

WeekBuilder::WeekBuilder(ListingOptions options)
    : m_options(std::move(options))
{
}

void WeekBuilder::channel(XmltvChannel&& channel)
{
    const auto known = m_channelIndex.find(channel.id);
    if (known == m_channelIndex.end()) {
        m_channelIndex.emplace(channel.id, static_cast<std::uint32_t>(m_channels.size()));
        m_channels.push_back(std::move(channel));
        m_declared.push_back(true);
    } else if (!m_declared[known->second]) {
        // Its programmes came first: the element names them after all.
        m_channels[known->second] = std::move(channel);
        m_declared[known->second] = true;
        m_prepared = false;
    }
}

void WeekBuilder::programme(XmltvProgramme&& programme)
{
    auto it = m_channelIndex.find(programme.channel);
    if (it == m_channelIndex.end()) {
        // No <channel> element (yet): the channel is named by its id.
        it = m_channelIndex.emplace(programme.channel, static_cast<std::uint32_t>(m_channels.size())).first;
        m_channels.push_back(XmltvChannel{programme.channel, {}, programme.line});
        m_declared.push_back(false);
    }
    const BroadcastSlot slot = broadcastSlot(programme.start.utc, m_options.dayStartMinutes);
    const std::size_t lostBefore = m_loss.count;
    const std::string lines = showLines(programme, slot.minutes, m_options.languages, &m_loss);
    if (lostBefore == 0 && m_loss.count > 0)
        m_lossLine = programme.line;
    m_shows.push_back({programme.start.utc.time_since_epoch().count(), m_spool.append(lines),
                       static_cast<std::uint32_t>(lines.size()), it->second,
                       static_cast<std::int32_t>(slot.monday.time_since_epoch().count()),
                       static_cast<std::uint8_t>(slot.weekday)});
    m_prepared = false;
}

void WeekBuilder::prepare()
{
    if (m_prepared)
        return;
    // Only channels with shows get a name, so a channel without any never takes a plain name
    // from one that has them. Names are given in the order of the ids, and the channels listed
    // in the order of their names: neither depends on the order of the listings or in them.
    std::vector<std::uint32_t> used;
    std::vector<bool> hasShows(m_channels.size());
    for (const Show& show : m_shows)
        hasShows[show.channel] = true;
    for (std::uint32_t i = 0; i < m_channels.size(); ++i)
        if (hasShows[i])
            used.push_back(i);
    std::sort(used.begin(), used.end(),
              [this](std::uint32_t a, std::uint32_t b) { return m_channels[a].id < m_channels[b].id; });
    std::vector<XmltvChannel> named;
    for (const std::uint32_t i : used)
        named.push_back(m_channels[i]);
    m_nameLoss = {};
    const auto labels = labelChannels(named, m_options.languages, &m_nameLoss);
    m_labels.assign(m_channels.size(), ChannelLabel{});
    for (std::size_t n = 0; n < used.size(); ++n)
        m_labels[used[n]] = labels[n];

    std::stable_sort(used.begin(), used.end(), [this](std::uint32_t a, std::uint32_t b) {
        return foldCase1251(m_labels[a].name) < foldCase1251(m_labels[b].name);
    });
    m_rank.assign(m_channels.size(), 0);
    for (std::uint32_t n = 0; n < used.size(); ++n)
        m_rank[used[n]] = n;
    std::sort(m_shows.begin(), m_shows.end(), [this](const Show& a, const Show& b) {
        return std::tie(a.monday, m_rank[a.channel], a.weekday, a.start, a.offset)
            < std::tie(b.monday, m_rank[b.channel], b.weekday, b.start, b.offset);
    });
    m_prepared = true;
}

UndeclaredChannels WeekBuilder::undeclaredChannels() const
{
    UndeclaredChannels undeclared;
    std::vector<bool> counted(m_channels.size());
    for (const Show& show : m_shows) {
        if (m_declared[show.channel])
            continue;
        ++undeclared.programmes;
        if (!counted[show.channel]) {
            counted[show.channel] = true;
            ++undeclared.channels;
        }
    }
    return undeclared;
}

Cp1251Loss WeekBuilder::loss() const
{
    Cp1251Loss total = m_loss;
    if (total.count == 0)
        total.first = m_nameLoss.first;
    total.count += m_nameLoss.count;
    return total;
}

std::vector<std::chrono::sys_days> WeekBuilder::weeks()
{
    prepare();
    std::vector<std::chrono::sys_days> mondays;
    for (const Show& show : m_shows) {
        const std::chrono::sys_days monday{std::chrono::days(show.monday)};
        if (mondays.empty() || mondays.back() != monday)
            mondays.push_back(monday);
    }
    return mondays;
}

std::size_t WeekBuilder::channelFileCount(const std::vector<std::chrono::sys_days>& mondays)
{
    prepare();
    std::size_t count = 0;
    for (std::size_t i = 0; i < m_shows.size(); ++i) {
        const Show& show = m_shows[i];
        const bool first
            = i == 0 || m_shows[i - 1].monday != show.monday || m_shows[i - 1].channel != show.channel;
        const std::chrono::sys_days monday{std::chrono::days(show.monday)};
        if (first && std::find(mondays.begin(), mondays.end(), monday) != mondays.end())
            ++count;
    }
    return count;
}

void WeekBuilder::buildWeek(std::chrono::sys_days monday,
                            const std::function<void(const ChannelWeekFile&)>& take)
{
    prepare();
    const auto day = static_cast<std::int32_t>(monday.time_since_epoch().count());
    auto begin = std::lower_bound(m_shows.begin(), m_shows.end(), day,
                                  [](const Show& show, std::int32_t d) { return show.monday < d; });
    const auto weekEnd = std::upper_bound(begin, m_shows.end(), day,
                                          [](std::int32_t d, const Show& show) { return d < show.monday; });
    // The shows are sorted by the channels' places in the list, so each channel's lie together.
    while (begin != weekEnd) {
        const std::uint32_t channel = begin->channel;
        const auto end
            = std::find_if(begin, weekEnd, [channel](const Show& s) { return s.channel != channel; });
        ChannelWeekFile file{m_labels[channel], {}, 0};
        file.bytes = channelFile(monday, m_labels[channel], begin, end, file.shows);
        take(file);
        begin = end;
    }
}

std::string WeekBuilder::channelFile(std::chrono::sys_days monday, const ChannelLabel& label,
                                     std::vector<Show>::const_iterator begin,
                                     std::vector<Show>::const_iterator end, std::size_t& written)
{
    struct Loaded
    {
        const Show* show;
        std::string bytes;
    };
    std::vector<Loaded> shows;
    shows.reserve(static_cast<std::size_t>(end - begin));
    // A channel's shows mostly lie together in the spool (listings come channel by channel):
    // then one read fetches them all.
    std::uint64_t low = begin->offset, high = 0, bytes = 0;
    for (auto it = begin; it != end; ++it) {
        low = std::min(low, it->offset);
        high = std::max(high, it->offset + it->length);
        bytes += it->length;
    }
    const bool together = high - low <= 2 * bytes;
    const std::string block
        = together ? m_spool.read(low, static_cast<std::uint32_t>(high - low)) : std::string();
    for (auto it = begin; it != end; ++it)
        shows.push_back(
            {&*it,
             together ? block.substr(it->offset - low, it->length) : m_spool.read(it->offset, it->length)});
    // Shows that start together are ordered by their text, so the order of the input files
    // (or of a sorted copy of them) never changes the result; of two with the same heading the
    // one that says more comes first and is the one kept.
    const auto key = [](const Loaded& l) {
        return std::make_tuple(l.show->weekday, l.show->start, firstLine(l.bytes),
                               -std::int64_t(l.bytes.size()), std::string_view(l.bytes));
    };
    std::sort(shows.begin(), shows.end(),
              [&key](const Loaded& a, const Loaded& b) { return key(a) < key(b); });

    std::string file = label.name + ", " + weekDateText(monday) + " - "
        + weekDateText(monday + std::chrono::days(6)) + std::string(kCrLf);
    std::size_t next = 0;
    for (int weekday = 0; weekday < 7; ++weekday) {
        file += kCrLf; // the day separator
        for (; next < shows.size() && shows[next].show->weekday == weekday; ++next) {
            const Loaded& current = shows[next];
            const bool duplicate = next > 0 && shows[next - 1].show->weekday == weekday
                && shows[next - 1].show->start == current.show->start
                && firstLine(shows[next - 1].bytes) == firstLine(current.bytes);
            if (!duplicate) {
                file += current.bytes;
                ++written;
            }
        }
    }
    return file;
}

} // namespace brevio::exchange

#include "core/exchange/week_builder.h"

#include "core/exchange/day_layout.h"
#include "core/exchange/exchange_errors.h"
#include "core/exchange/show_lines.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace brevio::exchange {

namespace {

std::string_view firstLine(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\r'));
}

} // namespace

WeekBuilder::WeekBuilder(ListingOptions options)
    : m_options(std::move(options))
{
    if (m_options.bareTimeZone)
        m_bareClock.emplace(*m_options.bareTimeZone);
}

void WeekBuilder::readBareTimes(XmltvProgramme& programme)
{
    const auto read = [this](XmltvTime& time) {
        if (time.zoneWritten)
            return;
        const std::chrono::sys_seconds reading = time.utc;
        time.utc = m_bareClock->moment(reading);
        time.offsetMinutes = static_cast<int>((reading - time.utc).count() / 60);
    };
    read(programme.start);
    if (programme.stop)
        read(*programme.stop);
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
    if (m_bareClock)
        readBareTimes(programme);
    auto it = m_channelIndex.find(programme.channel);
    if (it == m_channelIndex.end()) {
        // No <channel> element (yet): the channel is named by its id.
        it = m_channelIndex.emplace(programme.channel, static_cast<std::uint32_t>(m_channels.size())).first;
        m_channels.push_back(XmltvChannel{programme.channel, {}, programme.line});
        m_declared.push_back(false);
    }
    const std::size_t lostBefore = m_loss.count;
    const std::string lines
        = showLines(programme, localClock(programme.start.utc).minutes, m_options.languages, &m_loss);
    if (lostBefore == 0 && m_loss.count > 0)
        m_lossLine = programme.line;
    // The block is chosen once all shows are known (layOut).
    m_shows.push_back({programme.start.utc.time_since_epoch().count(),
                       programme.stop ? programme.stop->utc.time_since_epoch().count() : kNoStop,
                       m_spool.append(lines), static_cast<std::uint32_t>(lines.size()), it->second, 0, 0});
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
    m_channelsInOrder = used;
    layOut();
    groupByWeek();
    m_prepared = true;
}

void WeekBuilder::layOut()
{
    std::sort(m_shows.begin(), m_shows.end(), [this](const Show& a, const Show& b) {
        return std::tie(m_rank[a.channel], a.start, a.offset)
            < std::tie(m_rank[b.channel], b.start, b.offset);
    });
    std::optional<DayLayout> layout;
    for (std::size_t i = 0; i < m_shows.size(); ++i) {
        Show& show = m_shows[i];
        if (i == 0 || m_shows[i - 1].channel != show.channel)
            layout.emplace(m_options.dayStartMinutes);
        const BlockPlace place = layout->place(std::chrono::sys_seconds(std::chrono::seconds(show.start)));
        show.monday = static_cast<std::int32_t>(place.monday.time_since_epoch().count());
        show.weekday = static_cast<std::uint8_t>(place.weekday);
    }
}

void WeekBuilder::groupByWeek()
{
    // Laid out in channel and time order, the shows are dealt to their weeks keeping that order:
    // one pass instead of a second sort of every show, so the window is not kept waiting. Within
    // a week each channel's shows then lie together in time order, which is all the look-ups
    // and the day blocks need.
    std::map<std::int32_t, std::size_t> next;
    for (const Show& show : m_shows)
        ++next[show.monday];
    std::size_t at = 0;
    for (auto& [monday, first] : next)
        at += std::exchange(first, at);
    std::vector<Show> grouped(m_shows.size());
    for (const Show& show : m_shows)
        grouped[next[show.monday]++] = show;
    m_shows = std::move(grouped);
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

WeekBuilder::ShowRange WeekBuilder::channelWeek(std::int32_t monday, std::uint32_t rank) const
{
    using Key = std::pair<std::int32_t, std::uint32_t>;
    const auto keyOf = [this](const Show& show) { return Key(show.monday, m_rank[show.channel]); };
    const Key key(monday, rank);
    const auto begin = std::lower_bound(m_shows.begin(), m_shows.end(), key,
                                        [&](const Show& show, const Key& k) { return keyOf(show) < k; });
    return {begin, std::upper_bound(begin, m_shows.cend(), key, [&](const Key& k, const Show& show) {
                return k < keyOf(show);
            })};
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
        std::vector<const Show*> records;
        for (auto it = begin; it != end; ++it)
            records.push_back(&*it);
        std::array<std::string, 7> days;
        ChannelWeekFile file{m_labels[channel], {}, 0};
        for (const Loaded& loaded : loadShows(records)) {
            days[loaded.show->weekday] += loaded.bytes;
            ++file.shows;
        }
        file.bytes = channelFileText(channelFileHeader(m_labels[channel].name, monday), days);
        take(file);
        begin = end;
    }
}

std::size_t WeekBuilder::channelCount()
{
    prepare();
    return m_channelsInOrder.size();
}

std::vector<std::pair<std::string, std::string>> WeekBuilder::channelNames()
{
    prepare();
    std::vector<std::pair<std::string, std::string>> names;
    for (const std::uint32_t channel : m_channelsInOrder)
        names.emplace_back(m_channels[channel].id, m_labels[channel].name);
    return names;
}

void WeekBuilder::forEachChannel(const std::function<void(ListingChannel&)>& take)
{
    prepare();
    const auto mondays = weeks();
    for (const std::uint32_t channel : m_channelsInOrder) {
        std::vector<const Show*> records;
        for (const auto monday : mondays) {
            const auto [begin, end]
                = channelWeek(static_cast<std::int32_t>(monday.time_since_epoch().count()), m_rank[channel]);
            for (auto it = begin; it != end; ++it)
                records.push_back(&*it);
        }
        ListingChannel listed{m_channels[channel], m_labels[channel], {}};
        for (Loaded& loaded : loadShows(records)) {
            const Show& show = *loaded.show;
            listed.shows.push_back({std::chrono::sys_seconds(std::chrono::seconds(show.start)),
                                    show.stop == kNoStop ? std::nullopt
                                                         : std::optional(std::chrono::sys_seconds(
                                                             std::chrono::seconds(show.stop))),
                                    std::move(loaded.bytes)});
        }
        take(listed);
    }
}

std::vector<WeekBuilder::Loaded> WeekBuilder::loadShows(const std::vector<const Show*>& records)
{
    std::vector<Loaded> shows;
    if (records.empty())
        return shows;
    shows.reserve(records.size());
    // A channel's shows mostly lie together in the spool (listings come channel by channel):
    // then one read fetches them all.
    std::uint64_t low = records.front()->offset, high = 0, bytes = 0;
    for (const Show* show : records) {
        low = std::min(low, show->offset);
        high = std::max(high, show->offset + show->length);
        bytes += show->length;
    }
    const bool together = high - low <= 2 * bytes;
    const std::string block
        = together ? m_spool.read(low, static_cast<std::uint32_t>(high - low)) : std::string();
    for (const Show* show : records)
        shows.push_back({show,
                         together ? block.substr(show->offset - low, show->length)
                                  : m_spool.read(show->offset, show->length)});
    // Shows that start together are ordered by their text, so the order of the input files
    // (or of a sorted copy of them) never changes the result; of two with the same heading the
    // one that says more comes first and is the one kept. Start order is block order too: the
    // layout never puts a later show into an earlier block.
    const auto key = [](const Loaded& l) {
        return std::make_tuple(l.show->start, firstLine(l.bytes), -std::int64_t(l.bytes.size()),
                               std::string_view(l.bytes));
    };
    std::sort(shows.begin(), shows.end(),
              [&key](const Loaded& a, const Loaded& b) { return key(a) < key(b); });
    const auto duplicate
        = std::unique(shows.begin(), shows.end(), [](const Loaded& kept, const Loaded& next) {
              return kept.show->start == next.show->start && firstLine(kept.bytes) == firstLine(next.bytes);
          });
    shows.erase(duplicate, shows.end());
    return shows;
}

} // namespace brevio::exchange

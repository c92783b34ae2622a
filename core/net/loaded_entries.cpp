#include "core/net/loaded_entries.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <string>

namespace brevio::net {

namespace {

// An entry whose name and file name hold no ':' occurs in the list only with its ':' on one of
// the list's colons, its name ending the colon-free run before that colon and its file name
// starting the run after it. So the question becomes one about the list's colons: is there one
// whose run before ends with the name and whose run after starts with the file name? Sorted by
// their runs, the colons fitting each half form a range; the entry occurs when some colon lies
// in both ranges.
using Index = std::uint32_t;

class Colons
{
public:
    explicit Colons(std::string_view list)
        : m_list(list)
        , m_reversed(list.rbegin(), list.rend())
    {
        for (std::size_t at = list.find(':'); at != list.npos; at = list.find(':', at + 1))
            m_at.push_back(static_cast<Index>(at));
    }

    Index count() const { return static_cast<Index>(m_at.size()); }

    // The run before colon c backwards, so that "ends with" becomes "starts with".
    std::string_view before(Index c) const
    {
        const std::size_t start = c == 0 ? 0 : m_at[c - 1] + 1;
        return std::string_view(m_reversed).substr(m_list.size() - m_at[c], m_at[c] - start);
    }
    std::string_view after(Index c) const
    {
        const std::size_t end = c + 1 < m_at.size() ? m_at[c + 1] : m_list.size();
        return m_list.substr(m_at[c] + 1, end - m_at[c] - 1);
    }

private:
    std::string_view m_list;
    std::string m_reversed;
    std::vector<Index> m_at;
};

// The colons sorted by one of their runs; the ones whose run starts with a text are a range.
template <class Run>
class RunOrder
{
public:
    RunOrder(Index count, Run run)
        : m_order(count)
        , m_run(run)
    {
        std::iota(m_order.begin(), m_order.end(), Index{0});
        std::sort(m_order.begin(), m_order.end(), [&](Index a, Index b) { return m_run(a) < m_run(b); });
    }

    // Places [first, last) of the colons whose run starts with `prefix`.
    std::pair<Index, Index> startingWith(std::string_view prefix) const
    {
        const auto first = std::partition_point(m_order.begin(), m_order.end(),
                                                [&](Index c) { return m_run(c) < prefix; });
        const auto last = std::partition_point(first, m_order.end(),
                                               [&](Index c) { return m_run(c).starts_with(prefix); });
        return {static_cast<Index>(first - m_order.begin()), static_cast<Index>(last - m_order.begin())};
    }

    const std::vector<Index>& order() const { return m_order; }

private:
    std::vector<Index> m_order;
    Run m_run;
};

// How many of the places added so far lie below a bound (a Fenwick tree).
class PlaceCounts
{
public:
    explicit PlaceCounts(Index size)
        : m_tree(std::size_t{size} + 1, 0)
    {
    }
    void add(Index place)
    {
        for (std::size_t i = std::size_t{place} + 1; i < m_tree.size(); i += i & (~i + 1))
            ++m_tree[i];
    }
    Index below(Index bound) const
    {
        Index n = 0;
        for (std::size_t i = bound; i > 0; i -= i & (~i + 1))
            n += m_tree[i];
        return n;
    }

private:
    std::vector<Index> m_tree;
};

bool occursIn(std::string_view list, const store::ChannelEntry& entry)
{
    return list.find(entry.name + ":" + entry.fileName) != list.npos;
}

} // namespace

std::vector<bool> loadedEntries(const std::vector<store::ChannelEntry>& entries, std::string_view joinedList)
{
    std::vector<bool> loaded(entries.size(), false);
    if (joinedList.size() >= std::numeric_limits<Index>::max()) {
        for (std::size_t e = 0; e < entries.size(); ++e)
            loaded[e] = occursIn(joinedList, entries[e]);
        return loaded;
    }
    const Colons colons(joinedList);
    const RunOrder byBefore(colons.count(), [&](Index c) { return colons.before(c); });
    const RunOrder byAfter(colons.count(), [&](Index c) { return colons.after(c); });
    std::vector<Index> afterPlace(colons.count());
    for (Index place = 0; place < colons.count(); ++place)
        afterPlace[byAfter.order()[place]] = place;

    // Each entry asks how many colons with an after-place in [low, high) have a before-place
    // below `sweep`, once at the start of its before-range and once at its end; the colons are
    // added in before-order as the sweep passes them, so the difference counts the colons in
    // both ranges.
    struct Ask
    {
        Index sweep;
        Index low, high;
        bool closes;
        std::size_t entry;
    };
    std::vector<Ask> asks;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const store::ChannelEntry& entry = entries[e];
        if (entry.name.find(':') != entry.name.npos || entry.fileName.find(':') != entry.fileName.npos) {
            loaded[e] = occursIn(joinedList, entry); // never from a catalogue, whose fields end at ':'
            continue;
        }
        const auto [beforeFirst, beforeLast]
            = byBefore.startingWith(std::string(entry.name.rbegin(), entry.name.rend()));
        const auto [afterFirst, afterLast] = byAfter.startingWith(entry.fileName);
        if (beforeFirst == beforeLast || afterFirst == afterLast)
            continue;
        asks.push_back({beforeFirst, afterFirst, afterLast, false, e});
        asks.push_back({beforeLast, afterFirst, afterLast, true, e});
    }
    std::sort(asks.begin(), asks.end(), [](const Ask& a, const Ask& b) { return a.sweep < b.sweep; });

    PlaceCounts counts(colons.count());
    std::vector<Index> countedBefore(entries.size(), 0);
    Index added = 0;
    for (const Ask& ask : asks) {
        for (; added < ask.sweep; ++added)
            counts.add(afterPlace[byBefore.order()[added]]);
        const Index inRange = counts.below(ask.high) - counts.below(ask.low);
        if (ask.closes)
            loaded[ask.entry] = inRange > countedBefore[ask.entry];
        else
            countedBefore[ask.entry] = inRange;
    }
    return loaded;
}

} // namespace brevio::net

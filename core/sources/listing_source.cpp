#include "core/sources/listing_source.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace brevio::sources {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// What follows "http://" or "https://"; none for any other address.
std::optional<std::string_view> afterWebScheme(std::string_view address)
{
    for (const std::string_view scheme : {"http://", "https://"})
        if (startsWithNoCase(address, scheme))
            return address.substr(scheme.size());
    return std::nullopt;
}

// The host of what follows the scheme: no login before it, no port after it.
std::string_view hostPart(std::string_view rest)
{
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (authority.starts_with('['))
        return authority.substr(0, authority.find(']') + 1);
    return authority.substr(0, authority.find(':'));
}

bool hasControlOrBlank(std::string_view text, bool blanksAllowed)
{
    return std::any_of(text.begin(), text.end(), [blanksAllowed](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f || (!blanksAllowed && byte == ' ');
    });
}

} // namespace

std::optional<std::string> addressProblem(std::string_view address)
{
    if (address.empty())
        return "No address is given.";
    if (const auto rest = afterWebScheme(address)) {
        if (hasControlOrBlank(address, false))
            return "A web address may hold no blanks or control characters: " + std::string(address);
        if (hostPart(*rest).empty() || hostPart(*rest) == "[]")
            return "The web address names no host: " + std::string(address);
        return std::nullopt;
    }
    if (isLocalAddress(address)) {
        if (hasControlOrBlank(address, true))
            return "A file's path may hold no control characters.";
        return std::nullopt;
    }
    return "'" + std::string(address)
        + "' is no source address: give an http:// or https:// address, or the absolute path of a file "
          "(beginning with /).";
}

bool isLocalAddress(std::string_view address)
{
    return address.starts_with('/');
}

std::string defaultSourceName(std::string_view address)
{
    if (const auto rest = afterWebScheme(address))
        return std::string(hostPart(*rest));
    const std::string_view name = address.substr(address.find_last_of('/') + 1);
    return std::string(name.empty() ? address : name);
}

int clampedInterval(int minutes)
{
    return std::clamp(minutes, kShortestIntervalMinutes, kLongestIntervalMinutes);
}

std::chrono::minutes retryDelay(int failures, int intervalMinutes)
{
    if (failures <= 0)
        return std::chrono::minutes(0);
    const long long delay = 10LL << std::min(failures - 1, 20);
    return std::chrono::minutes(std::min<long long>(delay, clampedInterval(intervalMinutes)));
}

bool isDue(const ListingSource& source, Seconds now)
{
    if (!source.enabled)
        return false;
    const SourceState& state = source.state;
    const auto interval = std::chrono::minutes(clampedInterval(source.intervalMinutes));
    // A next try further off than any wait would be is a clock set back: it does not hold.
    if (state.failures > 0 && state.nextTry && now < *state.nextTry && *state.nextTry - now <= interval)
        return false;
    if (state.failures > 0 || !state.lastSuccess || now < *state.lastSuccess)
        return true;
    return now >= *state.lastSuccess + interval;
}

bool isCurrent(const ListingSource& source, Seconds now)
{
    const SourceState& state = source.state;
    const auto interval = std::chrono::minutes(clampedInterval(source.intervalMinutes));
    return state.failures == 0 && state.lastSuccess && now >= *state.lastSuccess
        && now < *state.lastSuccess + interval;
}

void recordFailure(ListingSource& source, Seconds now, std::string error)
{
    SourceState& state = source.state;
    state.lastAttempt = now;
    ++state.failures;
    state.nextTry = now + retryDelay(state.failures, source.intervalMinutes);
    state.lastError = std::move(error);
}

std::map<std::string, std::size_t> channelsGivenAbove(const std::vector<ListingSource>& sources,
                                                      std::size_t index)
{
    std::map<std::string, std::size_t> given;
    for (std::size_t i = 0; i < std::min(index, sources.size()); ++i)
        if (sources[i].enabled)
            for (const std::string& name : sources[i].kept)
                given.emplace(name, i); // the first, highest, stays
    return given;
}

bool readsAlike(const ListingSource& a, const ListingSource& b)
{
    const std::set<std::string> keptA(a.kept.begin(), a.kept.end());
    const std::set<std::string> keptB(b.kept.begin(), b.kept.end());
    return a.address == b.address && keptA == keptB && a.timeZone == b.timeZone
        && a.dayStartMinutes == b.dayStartMinutes && a.languages == b.languages;
}

bool takeEdit(ListingSource& stored, const ListingSource& edited)
{
    const bool reread = !readsAlike(stored, edited);
    SourceState state = stored.state;
    if (stored.address != edited.address) {
        state = SourceState{};
    } else if (reread) {
        state.etag.clear();
        state.lastModified.clear();
        state.fileSize.reset();
        state.fileTime.reset();
    }
    stored = edited;
    stored.intervalMinutes = clampedInterval(edited.intervalMinutes);
    stored.state = std::move(state);
    return reread;
}

ListingSource* findSource(std::vector<ListingSource>& sources, std::string_view address)
{
    const auto found = std::find_if(sources.begin(), sources.end(),
                                    [&](const ListingSource& s) { return s.address == address; });
    return found == sources.end() ? nullptr : &*found;
}

void takeChannelNames(ListingSource& source, const std::vector<std::string>& names)
{
    const bool keepNew
        = source.keepAll || (!source.state.channelsListed && names.size() <= kMostChannelsKeptUnasked);
    std::set<std::string> known(source.kept.begin(), source.kept.end());
    known.insert(source.offered.begin(), source.offered.end());
    for (const std::string& name : names)
        if (known.insert(name).second)
            (keepNew ? source.kept : source.offered).push_back(name);
    source.state.channelsListed = true;
}

bool applyRefresh(std::vector<ListingSource>& stored, const ListingSource& refreshed)
{
    ListingSource* same = findSource(stored, refreshed.address);
    if (!same)
        return false;
    same->kept = refreshed.kept;
    same->offered = refreshed.offered;
    same->state = refreshed.state;
    return true;
}

} // namespace brevio::sources

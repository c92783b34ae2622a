#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Listing sources: XMLTV guides at an address (a web address, or a file a grabber writes) that
// the program fetches again on its own and merges into the week store.
namespace brevio::sources {

using Seconds = std::chrono::sys_seconds;

inline constexpr int kDefaultIntervalMinutes = 12 * 60;
inline constexpr int kShortestIntervalMinutes = 15;
inline constexpr int kLongestIntervalMinutes = 7 * 24 * 60;
// A first refresh keeps every channel of a source that gives at most this many; of a larger one
// the user picks.
inline constexpr std::size_t kMostChannelsKeptUnasked = 100;

// What the last refreshes of a source left; the validators are those of the last listing merged.
struct SourceState
{
    std::optional<Seconds> lastSuccess; // merged, or found unchanged
    std::optional<Seconds> lastAttempt;
    int failures = 0; // in a row, since the last success
    std::optional<Seconds> nextTry; // after a failure: not before
    std::string lastError; // UTF-8; empty after a success
    bool channelsListed = false; // a listing has been read: its channels are known
    int channelsGiven = 0; // channels merged by the last listing
    std::vector<std::string> weeks; // week dates ("dd.mm.yyyy") the last listing covered
    // Conditional requests: the last merged reply's validators ...
    std::string etag;
    std::string lastModified;
    // ... or a local file's size and modification time (nanoseconds since the epoch).
    std::optional<std::uint64_t> fileSize;
    std::optional<std::int64_t> fileTime;

    bool operator==(const SourceState&) const = default;
};

struct ListingSource
{
    std::string name; // UTF-8
    std::string address; // http://, https:// or an absolute path
    bool enabled = true;
    int intervalMinutes = kDefaultIntervalMinutes;
    std::string timeZone; // for times without an offset; empty: this machine's
    int dayStartMinutes = 5 * 60;
    std::vector<std::string> languages{"ru"}; // preferred, in order; any other after them
    bool keepAll = false; // every channel, those that appear later too
    std::vector<std::string> kept; // channel names (windows-1251) merged into the store
    std::vector<std::string> offered; // seen but not kept: the user has not chosen them
    SourceState state;

    bool operator==(const ListingSource&) const = default;
};

// Why `address` cannot be a source's address (English, for a message), or none. Accepted: an
// http:// or https:// address with a host, or the absolute path of a file.
std::optional<std::string> addressProblem(std::string_view address);
bool isLocalAddress(std::string_view address); // an absolute path, not a web address

// The name a source gets when none is given: the address's host, or the file's name.
std::string defaultSourceName(std::string_view address);

// The interval within its bounds.
int clampedInterval(int minutes);

// Whether a refresh is due now: enabled, not waiting after a failure, and never refreshed,
// failed last, or older than its interval.
bool isDue(const ListingSource& source, Seconds now);
// Whether the guide is as fresh as the source promises: refreshed within the interval, and the
// refreshes since then did not fail.
bool isCurrent(const ListingSource& source, Seconds now);

// How long a source waits after its `failures`-th failure in a row: ten minutes, doubling with
// each further failure, never longer than its interval.
std::chrono::minutes retryDelay(int failures, int intervalMinutes);

// The source's state after a failed refresh at `now`: the error kept, the next try put off.
void recordFailure(ListingSource& source, Seconds now, std::string error);

// The channel names that sources above `index` (enabled ones) keep, each with the index of the
// highest of them: that source gives the channel, so this one does not.
std::map<std::string, std::size_t> channelsGivenAbove(const std::vector<ListingSource>& sources,
                                                      std::size_t index);

// Whether the two read and merge a listing alike: the same address, kept channels (in any
// order), time zone, day start and languages.
bool readsAlike(const ListingSource& a, const ListingSource& b);

// Puts what the user set for a source (`edited`: name, address, switch, interval, import
// settings, channel choice) into `stored`, keeping its state. A source that now reads its
// listing otherwise (see readsAlike) forgets what made its next fetch conditional, so that the
// listing is read and merged again, and at another address it starts afresh. True when the
// listing is to be read again.
bool takeEdit(ListingSource& stored, const ListingSource& edited);

// The source of `address` in `sources`, or none.
ListingSource* findSource(std::vector<ListingSource>& sources, std::string_view address);

// A listing's channel names (in its order) made known to the source: the first listing read
// keeps all of them when they are few (or the source keeps all), else offers them; later ones
// offer only the names not seen before, unless the source keeps all.
void takeChannelNames(ListingSource& source, const std::vector<std::string>& names);

// Puts what a refresh learnt of `refreshed` (its state and channel lists) into `stored`, the list
// as the settings hold it now, which another process may have changed meanwhile: into the source
// of the same address. False when there is none any more.
bool applyRefresh(std::vector<ListingSource>& stored, const ListingSource& refreshed);

} // namespace brevio::sources

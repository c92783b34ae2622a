#include "core/sources/source_refresh.h"

#include "core/exchange/exchange_errors.h"
#include "core/exchange/week_builder.h"
#include "core/exchange/xmltv_reader.h"
#include "core/sources/refresh_lock.h"

#include <map>
#include <set>

namespace brevio::sources {

namespace {

using Outcome = RefreshReport::Outcome;

exchange::ListingOptions listingOptions(const ListingSource& source)
{
    exchange::ListingOptions options;
    options.dayStartMinutes = source.dayStartMinutes;
    options.languages = source.languages;
    options.bareTimeZone = source.timeZone;
    return options;
}

void recordSuccess(SourceState& state, Seconds now)
{
    state.lastSuccess = now;
    state.lastAttempt = now;
    state.failures = 0;
    state.nextTry.reset();
    state.lastError.clear();
}

// Reads the fetched listing whole and merges what the source keeps; `source` is a copy that
// replaces the stored one only when all went well.
void mergeFetched(ListingSource& source, const FetchedListing& fetched, const std::set<std::string>& taken,
                  const FetchOptions& options, const RefreshProgress& progress, RefreshReport& report)
{
    exchange::WeekBuilder listing(listingOptions(source));
    try {
        exchange::readXmltvFile(
            fetched.file, listing,
            [&](std::uint64_t done, std::uint64_t total) {
                return !progress || progress(RefreshStep::Reading, done, total);
            },
            options.unpack);
    } catch (const exchange::XmltvError& e) {
        // A fault names the file, and a download's is a hidden one: the address says more.
        std::string text = e.what();
        if (const std::string file = fetched.file.string(); fetched.download && text.starts_with(file))
            text.replace(0, file.size(), source.address);
        throw Error(text);
    }
    if (listing.programmeCount() == 0)
        throw Error("The listing holds no programmes.");

    const auto channels = listing.channelNames();
    std::vector<std::string> names;
    for (const auto& channel : channels)
        names.push_back(channel.second);
    takeChannelNames(source, names);

    const std::set<std::string> kept(source.kept.begin(), source.kept.end());
    std::set<std::string> merged;
    for (const auto& [id, name] : channels) {
        if (!kept.contains(name))
            ++report.channelsOffered;
        else if (taken.contains(name))
            ++report.channelsTaken;
        else
            merged.insert(id);
    }
    report.channelsMerged = merged.size();
    report.summary = exchange::mergeListing(
        listing, [&](std::string_view id) { return merged.contains(std::string(id)); },
        [&](exchange::ImportStep step, std::uint64_t done, std::uint64_t total) {
            return step != exchange::ImportStep::Writing || !progress
                || progress(RefreshStep::Writing, done, total);
        });

    SourceState& state = source.state;
    state.channelsGiven = static_cast<int>(report.channelsMerged);
    state.weeks.clear();
    for (const auto monday : listing.weeks())
        state.weeks.push_back(exchange::weekDateText(monday));
    state.etag = fetched.etag;
    state.lastModified = fetched.lastModified;
    state.fileSize = fetched.fileSize;
    state.fileTime = fetched.fileTime;
}

} // namespace

RefreshReport refreshSource(std::vector<ListingSource>& sources, std::size_t index, Seconds now,
                            const FetchOptions& options, const RefreshLock&, const RefreshProgress& progress)
{
    RefreshReport report;
    ListingSource& source = sources.at(index);
    try {
        if (!source.timeZone.empty() && !exchange::isKnownTimeZone(source.timeZone))
            throw Error("The system knows no time zone '" + source.timeZone + "'.");
        const FetchedListing fetched
            = fetchListing(source, options, [&](std::uint64_t done, std::uint64_t total) {
                  return !progress || progress(RefreshStep::Downloading, done, total);
              });
        ListingSource refreshed = source;
        if (fetched.unchanged) {
            report.outcome = Outcome::Unchanged;
        } else {
            std::set<std::string> taken;
            for (const auto& given : channelsGivenAbove(sources, index))
                taken.insert(given.first);
            mergeFetched(refreshed, fetched, taken, options, progress, report);
            report.outcome = Outcome::Merged;
        }
        recordSuccess(refreshed.state, now);
        source = std::move(refreshed);
    } catch (const exchange::Cancelled&) {
        report = RefreshReport{};
        report.outcome = Outcome::Cancelled;
    } catch (const std::exception& e) {
        report = RefreshReport{};
        report.error = e.what();
        recordFailure(source, now, report.error);
    }
    return report;
}

} // namespace brevio::sources

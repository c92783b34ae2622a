#pragma once

#include "core/exchange/store_import.h"
#include "core/sources/listing_source.h"
#include "core/sources/source_fetch.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brevio::sources {

class RefreshLock;

enum class RefreshStep {
    Downloading, // bytes received, of the announced length (0: none announced)
    Reading, // bytes of the listing read, of its size
    Writing // channels merged, of the listing's channels
};

// Told how far a refresh is, often; false cancels it, and the store stays as it was.
using RefreshProgress = std::function<bool(RefreshStep step, std::uint64_t done, std::uint64_t total)>;

struct RefreshReport
{
    enum class Outcome {
        Merged, // a listing was read whole and merged
        Unchanged, // the source has nothing new
        Failed, // the store is as it was; the error is in the source's state too
        Cancelled // the store is as it was; the source's state too
    };
    Outcome outcome = Outcome::Failed;
    std::string error;
    std::size_t channelsMerged = 0; // the kept channels the listing gave
    std::size_t channelsTaken = 0; // kept, but given by a source above
    std::size_t channelsOffered = 0; // of the listing, not kept
    exchange::ImportSummary summary; // what the merge did to the store
};

// Refreshes `sources[index]` now, due or not, into the week store of the current folder:
// fetches its listing (fetchListing), reads it whole with the source's time zone, day start and
// languages, learns its channels (takeChannelNames) and merges the kept channels that no source
// above gives (mergeListing: each one's stored shows within the listing's span give way to the
// listing's, nothing else changes). Only a listing that reads whole is merged; a failure leaves
// the store as it was and goes into the source's state (recordFailure), a success clears it and
// keeps what makes the next fetch conditional. `lock` is held for the store meanwhile.
RefreshReport refreshSource(std::vector<ListingSource>& sources, std::size_t index, Seconds now,
                            const FetchOptions& options, const RefreshLock& lock,
                            const RefreshProgress& progress = {});

} // namespace brevio::sources

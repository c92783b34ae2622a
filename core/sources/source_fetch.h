#pragma once

#include "core/exchange/unpacking.h"
#include "core/net/http_config.h"
#include "core/sources/listing_source.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace brevio::sources {

// Told how many bytes of a download arrived, of how many (0: not known); false cancels.
using FetchProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// "Brevio/<version>": how a fetch names itself to a source's server.
inline constexpr const char* kSourceUserAgent = "Brevio/" BREVIO_VERSION;

struct FetchOptions
{
    net::HttpClientConfig http; // proxy and time-out; the rest is set per fetch
    std::uint64_t maxDownloadBytes = std::uint64_t(1) << 30;
    exchange::UnpackLimits unpack;
};

class DownloadFile;

// What a fetch brought: nothing new, or a listing to read whole before anything is merged.
struct FetchedListing
{
    bool unchanged = false; // a 304, or a local file of the same size and time
    std::filesystem::path file; // the listing: a download beside the store, or the local file
    std::shared_ptr<DownloadFile> download; // removes the download when the last copy goes
    // Recorded once the listing is merged: what makes the next fetch conditional.
    std::string etag;
    std::string lastModified;
    std::optional<std::uint64_t> fileSize;
    std::optional<std::int64_t> fileTime;
};

// Fetches a source's listing. A web address gets a GET (HTTP/1.1, gzip accepted and decoded,
// redirects only to http and https) carrying If-None-Match / If-Modified-Since from the last
// merged reply; its body goes into a hidden file in the current folder (the store), under the
// cap. A local file is only looked at: read again only when its size or time changed. Throws
// Error with a message for the source's state, exchange::Cancelled when `progress` said stop.
// The reply is checked to be a listing at all (see checkListingKind).
FetchedListing fetchListing(const ListingSource& source, const FetchOptions& options,
                            const FetchProgress& progress = {});

// Throws Error when a file cannot be a listing: empty, or a web page (a login page a server
// gives with status 200), judged by its first unpacked bytes; the unpacking's own faults too,
// naming the file as `shownAs`.
void checkListingKind(const std::filesystem::path& file, const std::string& shownAs,
                      const exchange::UnpackLimits& limits);

} // namespace brevio::sources

// A listing source refreshed as `brevio --refresh` does it: a gzip-compressed XMLTV listing served
// by the demo's static server on loopback, fetched, read whole and merged into an empty store,
// timed; then the same source again, unchanged (the server's 304 for its ETag), timed; and the
// longest time without a progress report, where the window turns its event loop.
//
//   bench_refresh LISTING.xml.gz
#include "core/sources/refresh_lock.h"
#include "core/sources/source_refresh.h"
#include "tools/static_server.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace brevio::sources;
using SteadyClock = std::chrono::steady_clock;

namespace {

double millisecondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_refresh LISTING.xml.gz\n");
        return 2;
    }
    const fs::path listing = fs::absolute(argv[1]);
    const fs::path work = fs::temp_directory_path() / ("brevio-refresh-bench-" + std::to_string(::getpid()));
    fs::create_directories(work / "served");
    fs::create_directories(work / "store");
    fs::copy_file(listing, work / "served/listings.xml.gz");
    fs::current_path(work / "store");

    brevio::tools::StaticServer server(work / "served");
    const int port = server.bind(0);
    std::thread serving([&] { server.run(); });

    std::vector<ListingSource> sources(1);
    sources[0].address = "http://127.0.0.1:" + std::to_string(port) + "/listings.xml.gz";
    sources[0].keepAll = true;
    const auto lock = RefreshLock::acquire();
    const auto now = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
    SteadyClock::time_point lastReport = SteadyClock::now();
    double longestGap = 0;
    const RefreshProgress progress = [&](RefreshStep, std::uint64_t, std::uint64_t) {
        longestGap = std::max(longestGap, millisecondsSince(lastReport));
        lastReport = SteadyClock::now();
        return true;
    };

    int status = 0;
    const auto started = SteadyClock::now();
    lastReport = started;
    const RefreshReport fetched = refreshSource(sources, 0, now, FetchOptions{}, *lock, progress);
    const double fetchMs = millisecondsSince(started);
    longestGap = std::max(longestGap, millisecondsSince(lastReport)); // the last step has no report after it
    if (fetched.outcome != RefreshReport::Outcome::Merged) {
        std::fprintf(stderr, "bench_refresh: the refresh failed: %s\n", fetched.error.c_str());
        status = 1;
    }
    std::printf("refresh: %.2f s, %zu channels, %zu shows, %zu channel files from a %.0f MB download; "
                "longest time without a progress report %.0f ms\n",
                fetchMs / 1000, fetched.channelsMerged, fetched.summary.shows, fetched.summary.channelFiles,
                double(fs::file_size(listing)) / 1e6, longestGap);

    const auto again = SteadyClock::now();
    const RefreshReport unchanged = refreshSource(sources, 0, now, FetchOptions{}, *lock);
    std::printf("unchanged: %.1f ms (%s)\n", millisecondsSince(again),
                unchanged.outcome == RefreshReport::Outcome::Unchanged ? "304" : unchanged.error.c_str());
    if (unchanged.outcome != RefreshReport::Outcome::Unchanged)
        status = 1;

    server.stop();
    serving.join();
    fs::current_path(work.parent_path());
    fs::remove_all(work);
    return status;
}

#include "core/sources/source_commands.h"

#include "core/sources/refresh_lock.h"
#include "core/sources/source_refresh.h"
#include "core/store/temp_files.h"

#include <algorithm>
#include <ctime>

namespace brevio::sources {

namespace {

constexpr const char* kProgram = "brevio: ";

// "2026-02-03 14:05" in this machine's time.
std::string localTimeText(Seconds moment)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string weeksText(const std::vector<std::string>& weeks)
{
    if (weeks.empty())
        return "no week";
    return weeks.size() == 1 ? "the week of " + weeks.front()
                             : "the weeks of " + weeks.front() + " to " + weeks.back();
}

std::string count(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void printReport(const ListingSource& source, const RefreshReport& report, std::ostream& out)
{
    using Outcome = RefreshReport::Outcome;
    if (report.outcome == Outcome::Unchanged) {
        out << source.name << ": unchanged since the last refresh\n";
        return;
    }
    if (report.outcome != Outcome::Merged)
        return; // said with the sources that are not current
    out << source.name << ": " << count(report.channelsMerged, "channel", "channels") << " merged, "
        << weeksText(source.state.weeks);
    if (report.channelsTaken > 0)
        out << "; " << count(report.channelsTaken, "channel is", "channels are")
            << " given by a source above";
    if (report.channelsOffered > 0)
        out << "; " << count(report.channelsOffered, "channel is", "channels are") << " offered, not kept";
    out << "\n";
}

void printNotCurrent(const ListingSource& source, Seconds now, std::ostream& err)
{
    const SourceState& state = source.state;
    err << kProgram << source.name << ": ";
    if (state.failures == 0) {
        err << "not refreshed yet\n";
        return;
    }
    err << state.lastError;
    if (state.nextTry && *state.nextTry > now)
        err << " (" << count(static_cast<std::size_t>(state.failures), "failure", "failures")
            << " in a row; next try after " << localTimeText(*state.nextTry) << ")";
    err << "\n";
}

} // namespace

int refreshSources(SourceListStore& list, Seconds now, const FetchOptions& options, std::ostream& out,
                   std::ostream& err, std::chrono::milliseconds lockWait)
{
    std::vector<ListingSource> sources = list.load();
    if (sources.empty()) {
        out << "There are no listing sources; add one with 'brevio --add-source ADDRESS'.\n";
        return 0;
    }
    const auto lock = RefreshLock::acquire(lockWait);
    if (!lock) {
        err << kProgram << "another refresh of this store did not end within "
            << std::chrono::duration_cast<std::chrono::seconds>(lockWait).count()
            << " s; nothing was refreshed\n";
        return 1;
    }
    store::removeStaleStoreTempFiles();
    // The list as it is once the store is ours: another refresh may just have stored it.
    sources = list.load();
    int faults = 0;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (!isDue(sources[i], now))
            continue;
        printReport(sources[i], refreshSource(sources, i, now, options, *lock), out);
        std::vector<ListingSource> stored = list.load();
        if (applyRefresh(stored, sources[i])) {
            if (const auto fault = list.save(stored)) {
                err << kProgram << *fault << "\n";
                ++faults;
            }
        }
    }
    for (const ListingSource& source : sources) {
        if (source.enabled && !isCurrent(source, now)) {
            printNotCurrent(source, now, err);
            ++faults;
        }
    }
    return faults == 0 ? 0 : 1;
}

int addSource(SourceListStore& list, std::string_view address, std::string_view name, std::ostream& out,
              std::ostream& err)
{
    if (const auto problem = addressProblem(address)) {
        err << kProgram << *problem << "\n";
        return 2;
    }
    std::vector<ListingSource> sources = list.load();
    if (const ListingSource* same = findSource(sources, address)) {
        err << kProgram << address << " is the listing source '" << same->name << "' already\n";
        return 2;
    }
    ListingSource source;
    source.address = address;
    source.name = name.empty() ? defaultSourceName(address) : std::string(name);
    source.keepAll = true;
    sources.push_back(source);
    if (const auto fault = list.save(sources)) {
        err << kProgram << *fault << "\n";
        return 1;
    }
    out << "Added the listing source '" << source.name << "' (" << source.address
        << "), keeping every channel it gives; 'brevio --refresh' fetches it.\n";
    return 0;
}

} // namespace brevio::sources

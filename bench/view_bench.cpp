// Speed of the viewing page's heavy paths on a generated week store: a channel click (the
// channel file cut into seven filled day texts), the whole "now" view, the week search
// (reading the week once, then a search as the user types) and the week's XMLTV and JTV exports.
//
//   bench_view [--channels=N] [benchmark flags]
//
// N is the number of channels in the store (300 by default); the test run uses a few.

#include "schedule_store.h"

#include "core/exchange/jtv_writer.h"
#include "core/exchange/week_listing.h"
#include "core/exchange/xmltv_export.h"
#include "core/store/cp1251.h"
#include "core/view/day_view.h"
#include "core/view/now_view.h"
#include "core/view/pane_text.h"
#include "core/view/week_search.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

constexpr local_days kMonday{2004y / January / 12};

brevio::bench::GeneratedStore g_store;

// A store in a fresh temporary folder, made the current folder while it lives.
class BenchFolder
{
public:
    BenchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "brevio-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
        m_previous = fs::current_path();
        fs::current_path(m_path);
    }
    ~BenchFolder()
    {
        std::error_code ec;
        fs::current_path(m_previous, ec);
        fs::remove_all(m_path, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
    fs::path m_previous;
};

void channelClick(benchmark::State& state)
{
    int index = 0;
    std::size_t shownBytes = 0;
    brevio::view::ChannelDays days;
    for (auto _ : state) {
        brevio::view::loadChannelDays(g_store.weekFolder, index, days);
        for (const auto& pane : days.panes) {
            const std::string text = brevio::view::paneText(pane);
            shownBytes += text.size();
            benchmark::DoNotOptimize(text.data());
        }
        index = (index + 1) % g_store.channels;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(shownBytes));
    state.counters["avg_file_kb"] = static_cast<double>(g_store.channelBytes) / g_store.channels / 1024.0;
}

void nowView(benchmark::State& state)
{
    // Thursday evening with the longest look-ahead.
    const local_seconds now = kMonday + days(3) + hours(20) + minutes(10);
    std::vector<std::string> lines;
    for (auto _ : state) {
        brevio::view::buildNowView(now, 5, lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_store.channelBytes));
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["channels"] = g_store.channels;
}

// What the search window does when it opens: every file of the week read once, folded.
void weekSearchLoad(benchmark::State& state)
{
    std::size_t shows = 0;
    for (auto _ : state) {
        const brevio::view::WeekSearch week(g_store.weekFolder);
        shows = week.showCount();
        benchmark::DoNotOptimize(&week);
    }
    state.counters["shows"] = static_cast<double>(shows);
}

// One keystroke: the whole week searched for the field's text. The texts range from one found
// in a fifth of the descriptions ("ёжика", written "ЁЖИКА" in the listings) to none at all.
void weekSearchFind(benchmark::State& state, const char* utf8Query)
{
    static const brevio::view::WeekSearch week(g_store.weekFolder);
    const std::string query = brevio::utf8ToCp1251(utf8Query);
    std::size_t found = 0;
    for (auto _ : state) {
        const auto hits = week.find(query);
        found = hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_store.channelBytes));
    state.counters["found"] = static_cast<double>(found);
    state.counters["shows"] = static_cast<double>(week.showCount());
}

// "Export XMLTV…" and the JTV dialog's "Экспорт" for every channel, the file's bytes made in
// memory (what the export then writes in one piece).
void weekExport(benchmark::State& state, bool jtv)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto week = brevio::exchange::readWeekListing("12.01.2004");
        brevio::exchange::ExportCount count;
        bytes = jtv ? brevio::exchange::weekToJtv(week).archive.size()
                    : brevio::exchange::weekToXmltv(week, count).size();
    }
    state.counters["file_kb"] = static_cast<double>(bytes) / 1024.0;
}

BENCHMARK(channelClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(nowView)->Unit(benchmark::kMillisecond);
BENCHMARK(weekSearchLoad)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekSearchFind, oneLetter, "е")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekSearchFind, yo, "ежик")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekSearchFind, title, "фонарей")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekSearchFind, nothing, "Щзщ")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekExport, xmltv, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(weekExport, jtv, true)->Unit(benchmark::kMillisecond);

// Takes --channels=N out of the arguments; the rest belongs to the benchmark library.
int takeChannelCount(int& argc, char** argv)
{
    int channels = 300;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        constexpr const char* flag = "--channels=";
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            channels = std::atoi(argv[i] + std::strlen(flag));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return channels;
}

} // namespace

int main(int argc, char** argv)
{
    const int channels = takeChannelCount(argc, argv);
    if (channels < 1) {
        std::cerr << "--channels needs a number of at least 1\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    BenchFolder folder;
    g_store = brevio::bench::writeStore(folder.path(), {channels, kMonday, 2004});
    std::cerr << "store: " << g_store.channels << " channels, " << g_store.channelBytes / 1024
              << " KB, files " << g_store.smallestFile / 1024 << "-" << g_store.largestFile / 1024 << " KB\n";

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

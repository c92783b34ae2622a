// Speed of the programme grid on a generated week: opening it once the week is in memory (the
// day's model, the widget and its first painting), a full repaint of a 1920x1080 view, and a
// scripted scroll of 120 steps painted one by one, with its longest frame. Before the
// benchmarks it prints the resident memory the week and the grid take.
//
//   bench_grid [--channels=N] [--channel-kb=K] [benchmark flags]
//
// N channels (300 by default) with files of K KB on average (9, the demo server's size).
// Without a display the offscreen platform is used.

#include "schedule_store.h"

#include "core/session/clock.h"
#include "core/view/grid_model.h"
#include "gui/grid/programme_grid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

using namespace std::chrono;
using brevio::ProgrammeGrid;
using brevio::view::GridDay;
using brevio::view::LoadedWeek;

constexpr local_days kMonday{2004y / January / 12};
constexpr int kWednesday = 2;
constexpr const char* kWeekDate = "12.01.2004";

// Wednesday evening of the week: "now" is on the grid, as when a viewer opens it.
brevio::FixedClock g_clock(kMonday + days(kWednesday) + hours(20) + minutes(10));
std::unique_ptr<LoadedWeek> g_week;

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The grid shown at the size of a full-HD screen.
class ShownGrid
{
public:
    explicit ShownGrid(const GridDay* day)
        : m_grid(g_clock)
    {
        m_grid.resize(1920, 1080);
        m_grid.setModel(day);
        m_grid.show();
        QCoreApplication::processEvents();
    }
    ProgrammeGrid& operator*() { return m_grid; }
    ProgrammeGrid* operator->() { return &m_grid; }
    // Paints the whole view into the window's backing store, at once.
    void repaint() { m_grid.viewport()->repaint(); }

private:
    ProgrammeGrid m_grid;
};

void openGrid(benchmark::State& state)
{
    for (auto _ : state) {
        GridDay day(*g_week, kWeekDate, kWednesday, {});
        ShownGrid grid(&day);
        grid.repaint();
    }
}

void dayModel(benchmark::State& state)
{
    for (auto _ : state) {
        GridDay day(*g_week, kWeekDate, kWednesday, {});
        benchmark::DoNotOptimize(day.rowCount());
    }
}

void fullRepaint(benchmark::State& state)
{
    const GridDay day(*g_week, kWeekDate, kWednesday, {});
    ShownGrid grid(&day);
    grid->setMinutesPerScreen(static_cast<int>(state.range(0)));
    for (auto _ : state)
        grid.repaint();
}

// 120 steps: down a row at a time, then along the day a quarter of an hour at a time, a zoom
// in and out, then back up a screen at a time; each step painted as a frame.
void scriptedScroll(benchmark::State& state)
{
    const GridDay day(*g_week, kWeekDate, kWednesday, {});
    ShownGrid grid(&day);
    double longest = 0;
    double longestCpu = 0;
    for (auto _ : state) {
        QScrollBar* v = grid->verticalScrollBar();
        QScrollBar* h = grid->horizontalScrollBar();
        v->setValue(0);
        h->setValue(0);
        for (int step = 0; step < 120; ++step) {
            const auto start = steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            if (step < 50)
                v->setValue(v->value() + v->singleStep());
            else if (step < 100)
                h->setValue(h->value() + h->singleStep());
            else if (step < 105)
                grid->setMinutesPerScreen(grid->minutesPerScreen() * 3 / 2);
            else if (step < 110)
                grid->setMinutesPerScreen(grid->minutesPerScreen() * 2 / 3);
            else
                v->setValue(v->value() - v->pageStep());
            grid.repaint();
            longest = std::max(longest, duration<double, std::milli>(steady_clock::now() - start).count());
            longestCpu = std::max(longestCpu,
                                  1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        }
    }
    state.counters["longest_frame_ms"] = longest;
    state.counters["longest_frame_cpu_ms"] = longestCpu; // all threads of the process
}

BENCHMARK(dayModel)->Unit(benchmark::kMillisecond);
BENCHMARK(openGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(fullRepaint)
    ->Arg(ProgrammeGrid::kMinMinutesPerScreen)
    ->Arg(ProgrammeGrid::kDefaultMinutesPerScreen)
    ->Arg(ProgrammeGrid::kMaxMinutesPerScreen)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(scriptedScroll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const int channels = brevio::bench::takeCount(argc, argv, "--channels=", 300);
    const int kilobytes = brevio::bench::takeCount(argc, argv, "--channel-kb=", 9);
    if (channels < 1 || kilobytes < 1) {
        std::cerr << "--channels and --channel-kb need a number of at least 1\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir work;
    const std::filesystem::path root = work.path().toStdString();
    const auto store = brevio::bench::writeStore(root, {channels, kMonday, 2004, kilobytes});
    std::filesystem::current_path(root);
    std::cerr << "store: " << store.channels << " channels, " << store.channelBytes / 1024 << " KB (files "
              << store.smallestFile / 1024 << "-" << store.largestFile / 1024 << " KB)\n";

    // The memory the grid holds: the week as read, the day's model, the widget after a paint.
    const double before = residentMegabytes();
    const auto reading = steady_clock::now();
    g_week = std::make_unique<LoadedWeek>(store.weekFolder);
    const double read = duration<double, std::milli>(steady_clock::now() - reading).count();
    const double withWeek = residentMegabytes();
    {
        const GridDay day(*g_week, kWeekDate, kWednesday, {});
        ShownGrid grid(&day);
        grid.repaint();
        std::cerr << "week read in " << read << " ms; resident memory: week " << withWeek - before
                  << " MB, with the day's grid shown and painted (its 8 MB backing store included) "
                  << residentMegabytes() - before << " MB\n";
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

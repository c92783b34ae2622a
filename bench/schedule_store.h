#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>

// A generated week store for the benchmarks: realistic channel files in windows-1251.
namespace brevio::bench {

struct StoreShape
{
    int channels = 300;
    std::chrono::local_days monday; // the week's Monday
    unsigned seed = 2004;
    int channelKilobytes = 60; // the mean size of a channel file (from 2/3 to 4/3 of it)
};

struct GeneratedStore
{
    std::string weekFolder; // "ddmmyyyy/"
    int channels = 0;
    std::size_t channelBytes = 0; // all channel files together
    std::size_t smallestFile = 0;
    std::size_t largestFile = 0;
};

// One channel file: a header line, seven day blocks of shows from the morning to past
// midnight, most with description lines, and some shows after midnight.
std::string channelFile(int channel, unsigned seed, int kilobytes = 60);

// Writes the week folder (aplp.dat and the channel files) and times.dat into `root`.
GeneratedStore writeStore(const std::filesystem::path& root, const StoreShape& shape);

// A store of many weeks as the start finds it: dats.dat and the first-run marker, `weeks`
// week folders ending with shape.monday, each with the channel list of shape.channels channels
// and a file per channel, and eight selected lists in the newest week. The newest week has
// full channel files (writeStore); the older ones short files, since the start lists their
// folders but reads none of them.
GeneratedStore writeWeeks(const std::filesystem::path& root, const StoreShape& shape, int weeks);

// Takes --name=N (`flag` is "--name=") out of the command line and returns N, else
// `fallback`; the rest of the arguments belongs to the benchmark library.
int takeCount(int& argc, char** argv, const char* flag, int fallback);

} // namespace brevio::bench

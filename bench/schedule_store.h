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
std::string channelFile(int channel, unsigned seed);

// Writes the week folder (aplp.dat and the channel files) and times.dat into `root`.
GeneratedStore writeStore(const std::filesystem::path& root, const StoreShape& shape);

} // namespace brevio::bench

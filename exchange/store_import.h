#pragma once

#include "exchange/week_builder.h"
#include "store/cp1251.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace brevio::exchange {

enum class ImportStep { Reading, Writing };

// Told after each step of the work how far it is; false cancels (Cancelled is thrown and
// nothing is changed).
using ImportProgress = std::function<bool(ImportStep step, std::uint64_t done, std::uint64_t total)>;

struct ImportSummary
{
    std::vector<std::string> addedWeeks; // new lines of the week list, in order
    std::vector<std::string> extendedWeeks; // weeks already in the store that got channels
    std::size_t channelFiles = 0;
    std::size_t shows = 0;
    Cp1251Loss loss; // characters that became '?'
    long lossLine = 0;
    UndeclaredChannels undeclared; // taken under their channel ids
};

// Adds the weeks of XMLTV files to the week store of the current (working) folder, as a
// download from a schedule server would: a week folder with its channel files and channel list
// aplp.dat, and the week's line appended to dats.dat, after any line end the file lacks.
// A week folder that exists already gets the listing's channels: a channel whose name is in
// its channel list has that file replaced, any other is added under a file name not yet used.
// The files are all read before anything is written; then every file is staged beside its
// place and moved into place only when all are ready, so a week is listed only when all its
// files are in place, and an error or a cancel leaves the store as it was.
// A listing without programmes changes nothing and returns an empty summary.
ImportSummary importListings(const std::vector<std::filesystem::path>& files, const ListingOptions& options,
                             const ImportProgress& progress = {});

} // namespace brevio::exchange

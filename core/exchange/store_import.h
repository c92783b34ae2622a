#pragma once

#include "core/exchange/week_builder.h"
#include "core/store/cp1251.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::exchange {

enum class ImportStep { Reading, Writing };

// Told after each step of the work how far it is; false cancels (Cancelled is thrown and
// nothing is changed).
using ImportProgress = std::function<bool(ImportStep step, std::uint64_t done, std::uint64_t total)>;

// What an import did to one week of the store.
struct ImportedWeek
{
    std::string date; // as the week list has it (a new week: "dd.mm.yyyy")
    bool newWeek = false; // the week list gained it
    std::vector<std::string> addedChannels; // names (windows-1251), in the channel list's order
    std::vector<std::string> replacedChannels; // channels the store had, now with the listing's span
};

struct ImportSummary
{
    std::vector<ImportedWeek> weeks; // every week written, earliest first
    std::vector<std::string> addedWeeks; // new lines of the week list, earliest first
    std::size_t channelFiles = 0; // written
    std::size_t shows = 0; // of the listings, written
    Cp1251Loss loss; // characters that became '?'
    long lossLine = 0;
    UndeclaredChannels undeclared; // taken under their channel ids
};

// Adds the weeks of XMLTV files to the week store of the current (working) folder, as a
// download from a schedule server would (a week folder with its channel files and channel list
// aplp.dat, the week's line in dats.dat), merged with what the store has: see mergeListing.
// The files are all read before anything is written.
ImportSummary importListings(const std::vector<std::filesystem::path>& files, const ListingOptions& options,
                             const ImportProgress& progress = {});

// Merges the shows of listings read into `listing` into the week store of the current folder,
// channel by channel (those `keep` accepts by their XMLTV id; all without it), by moments in
// the process's time zone with the listing's day start: a channel's stored shows that start
// within the listing's span for it give way to the listing's shows, its other shows stay byte
// for byte, and its weeks are laid into day blocks again (see mergeChannel). A channel is found in a week by
// its name in the channel list; a channel the week lacks is added under a file name not yet used. A new week
// gets a folder, and a week the week list lacks gets its line, in date order (see withWeekInDateOrder). Every
// file is staged beside its place and moved into place only when all are ready, the week list last, so a week
// is listed only when all its files are in place, and an error or a cancel (Cancelled) leaves
// the store as it was. While the staged files are flushed to disk, on a thread of its own,
// `progress` is told the last step again every few milliseconds. A listing without programmes changes nothing
// and returns an empty summary.
ImportSummary mergeListing(WeekBuilder& listing,
                           const std::function<bool(std::string_view channelId)>& keep = {},
                           const ImportProgress& progress = {});

// The week list `text` with a line for `date` (a week date) before the first line that names a
// later day, else at its end after any line end the text lacks; lines that name no day stay
// where they are, and so do the bytes of every other line.
std::string withWeekInDateOrder(std::string_view text, std::string_view date);

} // namespace brevio::exchange

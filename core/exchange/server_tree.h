#pragma once

#include "core/exchange/week_builder.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace brevio::exchange {

struct TreeSummary
{
    std::vector<std::string> weekDates; // as written to datas.dat
    std::size_t channelFiles = 0;
    std::size_t shows = 0;
};

// Writes the schedule server's files for the given weeks into `out` (created when missing):
// per week a folder "ddmmyyyy/" with the channel files, files.dat (the catalogue
// "name1:file1:name2:file2") and data.dat (the week date); then datas.dat, the weeks on offer,
// one a line, earliest first. Each week's catalogue and date follow its channel files, and the
// week list comes last, so a client never sees a week before its files. Every file is
// replaced whole. Throws IoError when something cannot be written.
TreeSummary writeServerTree(WeekBuilder& builder, const std::vector<std::chrono::sys_days>& mondays,
                            const std::filesystem::path& out);

} // namespace brevio::exchange

#pragma once

#include "core/exchange/broadcast_day.h"
#include "tools/command_line.h"
#include "tools/demo_listing.h"
#include "tools/demo_pools.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tree a schedule server offers: datas.dat with the weeks on offer, and per week a
// folder "ddmmyyyy/" with data.dat (the week date), files.dat (the channel catalogue) and
// one file per channel.
namespace brevio::tools {

using exchange::mondayOf;

// "ddmmyyyy": the week date without its separators, the week's folder on the server.
std::string weekFolderName(std::chrono::sys_days monday);

// The catalogue "name1:file1:name2:file2" in windows-1251, without line breaks.
std::string catalogueOf(const std::vector<DemoChannel>& channels);

// Writes datas.dat and the folders of the week holding `today` and of the week after it
// into `out` (created when missing; files already there are replaced). Returns the two week
// dates, the current week first. Throws std::runtime_error naming the file it could not write.
std::vector<std::string> writeDemoTree(const std::filesystem::path& out, std::chrono::sys_days today,
                                       int channelCount);

} // namespace brevio::tools

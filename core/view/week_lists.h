#pragma once

#include "core/store/file_names.h"
#include "core/store/time_shifts.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A week's channel names and selected lists as the viewing page loads and saves them.
namespace brevio::view {

// A file of a week folder ("12012004/" + name; an empty folder is the working folder).
std::filesystem::path weekFile(std::string_view weekFolder, std::string_view name);

// 0 Monday .. 6 Sunday, 7 the Monday after the week; a missing file is an empty list.
using SelectedLists = std::array<std::vector<std::string>, store::kSelectedListCount>;

// The channel names of a week folder's channel list ("12012004/"), in its order. Throws
// IoError "File not found" when the channel list is missing.
std::vector<std::string> loadChannelNames(std::string_view weekFolder);

// The eight selected lists of a week folder into `out`. A file that cannot be read leaves its
// list empty and the others are still read; the first such failure is thrown at the end.
void loadSelectedLists(std::string_view weekFolder, SelectedLists& out);

// Writes a selected list (index as in SelectedLists) to its file, each line ended by CR LF,
// replacing the file as a whole. Throws IoError when it cannot be written.
void saveSelectedList(std::string_view weekFolder, int index, const std::vector<std::string>& lines);

// The channel's shift from times.dat in the working folder; none when that file is missing.
// Throws ConvertError when the channel's line holds no integers.
store::TimeShift readChannelShift(std::string_view channelName);

} // namespace brevio::view

#pragma once

#include "core/store/time_shifts.h"

#include <string>
#include <string_view>
#include <vector>

// Upkeep of the week store from the settings page: channel shifts, deleting a channel from a
// week and deleting a whole week. Files are bytes in the working folder's encoding.
namespace brevio::view {

// A channel list without one channel.
struct ChannelRemoval
{
    std::string channelList; // the remaining lines, each followed by CR LF
    std::vector<std::string> channelFiles; // file names of the lines left out, ':' removed
    int removedLines = 0;
};

// Leaves out every line whose name (text before the first ':') equals `channel` exactly; the
// other lines keep their order. A line without a file name names no file.
ChannelRemoval withoutChannel(std::string_view channelList, std::string_view channel);

// Rewrites the channel list of `weekFolder` ("12012004/") without `channel` and deletes the
// channel's files there; a file that cannot be deleted is not reported. Every file name is
// checked before anything is written (UnsafeNameError), a missing channel list is IoError
// "File not found". Returns the number of lines removed.
int deleteChannel(std::string_view weekFolder, std::string_view channel);

// Stores a channel's shift in times.dat of the working folder (created when missing): the
// channel's lines replaced in place, or one line appended.
void storeChannelShift(std::string_view channel, store::TimeShift shift);

// Replaces the week list file with `weeks`, one a line.
void storeWeekList(const std::vector<std::string>& weeks);

// Deletes the folder of a week (its files, read-only ones too, and subfolders). Refuses an
// unsafe or empty week date with UnsafeNameError before touching anything. True when the
// folder existed and everything in it went.
bool deleteWeekFolder(std::string_view weekDate);

} // namespace brevio::view

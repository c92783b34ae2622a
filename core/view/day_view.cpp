#include "core/view/day_view.h"

#include "core/store/channel_file.h"
#include "core/store/channel_list.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/view/pane_text.h"
#include "core/view/time_text.h"
#include "core/view/week_lists.h"

#include <filesystem>

namespace brevio::view {

void appendChannelDays(DayPanes& panes, std::vector<std::string> fileLines, const store::TimeShift& shift)
{
    // Only shown lines are shifted, so a bad time in the header or after Sunday stays harmless.
    auto blocks = store::dayBlocks(std::move(fileLines));
    for (std::size_t day = 0; day < blocks.size(); ++day) {
        auto& pane = panes[day];
        pane.reserve(pane.size() + blocks[day].size());
        for (auto& line : blocks[day]) {
            pane.push_back(withShiftedTime(std::move(line), shift));
            cutToShownLength(pane.back()); // printed and shown alike
        }
    }
}

void loadChannelDays(std::string_view weekFolder, int index, ChannelDays& out)
{
    out = {};
    const auto listFile = weekFile(weekFolder, store::kChannelListFile);
    const auto channels = store::readLines(listFile);
    if (index < 0 || static_cast<std::size_t>(index) >= channels.size())
        return;

    auto entry = store::splitChannelLine(channels[static_cast<std::size_t>(index)]);
    out.found = true;
    out.channelName = entry.name;
    // A line without a file name names no file; "File not found" under the channel list's
    // name says so better than a complaint about an unsafe name.
    if (entry.fileName.empty())
        throw IoError(2, listFile.native());
    store::checkBareFileName(entry.fileName);
    auto fileLines = store::readLines(weekFile(weekFolder, entry.fileName));

    for (auto& pane : out.panes)
        pane.push_back(entry.name);
    const auto shift = readChannelShift(entry.name);
    appendChannelDays(out.panes, std::move(fileLines), shift);
}

void fillChannelDays(std::string_view channelName, const std::vector<std::string>& fileLines,
                     const store::TimeShift& shift, ChannelDays& out)
{
    out.found = true;
    out.channelName = channelName;
    for (auto& pane : out.panes)
        pane.assign(1, out.channelName);
    appendChannelDays(out.panes, fileLines, shift);
}

} // namespace brevio::view

#include "core/view/week_maintenance.h"

#include "core/store/channel_list.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/week_lists.h"

#include <algorithm>
#include <filesystem>

namespace brevio::view {

ChannelRemoval withoutChannel(std::string_view channelList, std::string_view channel)
{
    ChannelRemoval result;
    std::vector<std::string> kept;
    for (auto& line : store::splitLines(channelList)) {
        store::ChannelEntry entry = store::splitChannelLine(line);
        if (entry.name != channel) {
            kept.push_back(std::move(line));
            continue;
        }
        ++result.removedLines;
        std::erase(entry.fileName, ':');
        if (!entry.fileName.empty())
            result.channelFiles.push_back(std::move(entry.fileName));
    }
    result.channelList = store::joinLinesCrLf(kept);
    return result;
}

int deleteChannel(std::string_view weekFolder, std::string_view channel)
{
    const auto listPath = weekFile(weekFolder, store::kChannelListFile);
    const ChannelRemoval removal = withoutChannel(store::readFile(listPath), channel);
    // Names read back from the file are deleted, so none may reach outside the week folder.
    for (const auto& name : removal.channelFiles)
        store::checkBareFileName(name);
    store::replaceFile(listPath, removal.channelList);
    for (const auto& name : removal.channelFiles)
        store::removeFile(weekFile(weekFolder, name));
    return removal.removedLines;
}

void storeChannelShift(std::string_view channel, store::TimeShift shift)
{
    const std::filesystem::path timesFile(store::kTimeShiftFile);
    const std::string old = store::fileExists(timesFile) ? store::readFile(timesFile) : std::string();
    store::replaceFile(timesFile, store::withTimeShift(old, channel, shift));
}

void storeWeekList(const std::vector<std::string>& weeks)
{
    store::replaceFile(std::string(store::kWeekListFile), store::joinLinesCrLf(weeks));
}

bool deleteWeekFolder(std::string_view weekDate)
{
    std::string folder = store::checkedWeekFolder(weekDate, store::FolderUse::Write);
    // Without the trailing separator a link in the folder's place is removed, not followed.
    folder.pop_back();
    return store::removeFolderTree(folder);
}

} // namespace brevio::view

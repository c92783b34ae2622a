#include "view/week_lists.h"

#include "store/channel_list.h"
#include "store/file_io.h"
#include "store/line_reader.h"

#include <filesystem>

namespace brevio::view {

std::filesystem::path weekFile(std::string_view weekFolder, std::string_view name)
{
    std::string path(weekFolder);
    path += name;
    return path;
}

SelectedLists loadSelectedLists(std::string_view weekFolder)
{
    SelectedLists lists;
    for (int i = 0; i < store::kSelectedListCount; ++i) {
        const auto path = weekFile(weekFolder, store::selectedListFile(i));
        if (store::fileExists(path))
            lists[static_cast<std::size_t>(i)] = store::splitPaneLines(store::readFile(path));
    }
    return lists;
}

std::vector<std::string> loadChannelNames(std::string_view weekFolder)
{
    std::vector<std::string> names;
    for (const auto& line : store::readLines(weekFile(weekFolder, store::kChannelListFile)))
        names.push_back(store::splitChannelLine(line).name);
    return names;
}

void saveSelectedList(std::string_view weekFolder, int index, const std::vector<std::string>& lines)
{
    store::replaceFile(weekFile(weekFolder, store::selectedListFile(index)), store::joinLinesCrLf(lines));
}

store::TimeShift readChannelShift(std::string_view channelName)
{
    const std::filesystem::path timesFile(store::kTimeShiftFile);
    if (!store::fileExists(timesFile))
        return {};
    return store::findTimeShift(store::readFile(timesFile), channelName);
}

} // namespace brevio::view

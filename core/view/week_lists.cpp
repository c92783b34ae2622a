#include "core/view/week_lists.h"

#include "core/store/channel_list.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/line_reader.h"

#include <exception>
#include <filesystem>

namespace brevio::view {

std::filesystem::path weekFile(std::string_view weekFolder, std::string_view name)
{
    std::string path(weekFolder);
    path += name;
    return path;
}

std::vector<std::string> loadChannelNames(std::string_view weekFolder)
{
    std::vector<std::string> names;
    for (const auto& line : store::readLines(weekFile(weekFolder, store::kChannelListFile)))
        names.push_back(store::splitChannelLine(line).name);
    return names;
}

void loadSelectedLists(std::string_view weekFolder, SelectedLists& out)
{
    out = {};
    std::exception_ptr firstFailure;
    for (int i = 0; i < store::kSelectedListCount; ++i) {
        const auto path = weekFile(weekFolder, store::selectedListFile(i));
        try {
            if (store::fileExists(path))
                out[static_cast<std::size_t>(i)] = store::splitPaneLines(store::readFile(path));
        } catch (const IoError&) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    }
    if (firstFailure)
        std::rethrow_exception(firstFailure);
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
    return store::TimeShiftTable(store::readFile(timesFile)).shiftOf(channelName);
}

} // namespace brevio::view

#include "tools/demo_data.h"

#include "core/store/cp1251.h"
#include "core/store/file_io.h"

#include <stdexcept>

namespace brevio::tools {

std::string weekFolderName(std::chrono::sys_days monday)
{
    std::string name = weekDate(monday);
    name.erase(5, 1);
    name.erase(2, 1);
    return name;
}

std::string catalogueOf(const std::vector<DemoChannel>& channels)
{
    std::string text;
    for (const auto& channel : channels) {
        if (!text.empty())
            text += ':';
        text += channel.name + ':' + channel.file;
    }
    return utf8ToCp1251(text);
}

std::vector<std::string> writeDemoTree(const std::filesystem::path& out, std::chrono::sys_days today,
                                       int channelCount)
{
    const auto channels = demoChannels(channelCount);
    const auto thisMonday = mondayOf(today);
    const std::vector<std::chrono::sys_days> mondays{thisMonday, thisMonday + std::chrono::days(7)};

    std::filesystem::create_directories(out);
    std::vector<std::string> dates;
    std::string weekList;
    for (const auto monday : mondays) {
        dates.push_back(weekDate(monday));
        weekList += dates.back() + "\r\n";

        const auto folder = out / weekFolderName(monday);
        std::filesystem::create_directories(folder);
        store::replaceFile(folder / "data.dat", dates.back());
        store::replaceFile(folder / "files.dat", catalogueOf(channels));
        for (const auto& channel : channels)
            store::replaceFile(folder / channel.file, channelWeekFile(channel, monday));
    }
    // Last, so that a reader who sees the week list finds the weeks complete.
    store::replaceFile(out / "datas.dat", weekList);
    return dates;
}

} // namespace brevio::tools

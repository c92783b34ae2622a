#include "core/view/loaded_week.h"

#include "core/store/cp1251.h"
#include "core/store/file_names.h"
#include "core/view/week_lists.h"

#include <algorithm>
#include <sys/stat.h>

namespace brevio::view {

FileStamps::Stamp FileStamps::stampOf(std::string path)
{
    Stamp stamp{std::move(path)};
    struct stat info
    {
    };
    if (::stat(stamp.path.c_str(), &info) == 0) {
        stamp.exists = true;
        stamp.size = static_cast<long long>(info.st_size);
        stamp.modified = static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    }
    return stamp;
}

void FileStamps::add(std::string path)
{
    m_stamps.push_back(stampOf(std::move(path)));
}

bool FileStamps::upToDate() const
{
    return std::all_of(m_stamps.begin(), m_stamps.end(),
                       [](const Stamp& stamp) { return stampOf(stamp.path) == stamp; });
}

LoadedWeek::LoadedWeek(std::string weekFolder)
    : m_folder(std::move(weekFolder))
{
    // Stamped before reading: a file that changes meanwhile makes the week out of date.
    m_stamps.add(weekFile(m_folder, store::kChannelListFile).string());
    m_stamps.add(std::string(store::kTimeShiftFile));
    readWeekChannels(m_folder, {}, [&](ChannelWeek& channel) {
        if (!channel.fileName.empty())
            m_stamps.add(weekFile(m_folder, channel.fileName).string());
        if (!channel.problem.empty())
            m_problems.push_back(cp1251ToUtf8(channel.name) + ": " + channel.problem);
        m_channels.push_back(std::move(channel));
    });
}

std::shared_ptr<const LoadedWeek> WeekCache::week(const std::string& weekFolder)
{
    if (auto held = m_last.lock(); held && held->weekFolder() == weekFolder && held->upToDate())
        return held;
    auto read = std::make_shared<const LoadedWeek>(weekFolder);
    m_last = read;
    return read;
}

} // namespace brevio::view

#include "store/temp_files.h"

#include "store/file_names.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace brevio::store {

namespace {

constexpr std::string_view kTempSuffix = ".tmp";

bool allDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isRunning(pid_t pid)
{
    if (pid == ::getpid())
        return false; // this process has not written yet: the file is an older run's
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

std::string tempSiblingName(std::string_view targetName, pid_t pid, unsigned token, unsigned count)
{
    std::string stamp = '.' + std::to_string(pid) + '-' + std::to_string(token) + '-' + std::to_string(count);
    stamp += kTempSuffix;
    // The name must fit where the target's name just fits (NAME_MAX): the target's part gives way.
    constexpr std::size_t kMaxNameBytes = 255;
    return "." + std::string(targetName.substr(0, kMaxNameBytes - 1 - stamp.size())) + stamp;
}

std::optional<pid_t> tempSiblingOwner(std::string_view fileName)
{
    if (!fileName.starts_with('.') || !fileName.ends_with(kTempSuffix))
        return std::nullopt;
    fileName.remove_suffix(kTempSuffix.size());
    const auto dot = fileName.rfind('.');
    if (dot == 0 || dot == fileName.npos)
        return std::nullopt; // no target name in front
    const std::string_view stamp = fileName.substr(dot + 1);
    const auto dash1 = stamp.find('-');
    const auto dash2 = dash1 == stamp.npos ? stamp.npos : stamp.find('-', dash1 + 1);
    if (dash2 == stamp.npos)
        return std::nullopt;
    const std::string_view pid = stamp.substr(0, dash1);
    if (!allDigits(pid) || !allDigits(stamp.substr(dash1 + 1, dash2 - dash1 - 1))
        || !allDigits(stamp.substr(dash2 + 1)))
        return std::nullopt;
    pid_t owner = 0;
    const auto [end, ec] = std::from_chars(pid.data(), pid.data() + pid.size(), owner);
    if (ec != std::errc() || end != pid.data() + pid.size() || owner <= 0)
        return std::nullopt;
    return owner;
}

int removeStaleTempFiles(const fs::path& folder) noexcept
{
    // readdir and the folder's descriptor rather than paths: the start sweeps every week folder,
    // hundreds of files each, and only names beginning with '.' can be ours.
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            continue;
        const auto owner = tempSiblingOwner(entry->d_name);
        struct stat st;
        // Only plain files of our own naming; a link or folder of that name stays.
        if (!owner || ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)
            || isRunning(*owner))
            continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

int removeStaleStoreTempFiles() noexcept
{
    int removed = removeStaleTempFiles(".");
    DIR* dir = ::opendir(".");
    if (!dir)
        return removed;
    const int dirFd = ::dirfd(dir);
    const std::string channelList(kChannelListFile);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN))
            continue;
        struct stat st;
        // A week folder always holds its channel list; other folders are not ours.
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
            continue;
        const std::string list = std::string(name) + "/" + channelList;
        if (::fstatat(dirFd, list.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode))
            removed += removeStaleTempFiles(name);
    }
    ::closedir(dir);
    return removed;
}

} // namespace brevio::store

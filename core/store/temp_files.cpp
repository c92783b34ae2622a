#include "core/store/temp_files.h"

#include "core/store/file_io.h"
#include "core/store/file_names.h"

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
constexpr std::string_view kStagingMark = ".import-";
constexpr std::size_t kMaxNameBytes = 255; // NAME_MAX

// "." + as much of the target's name as fits + `stamp`.
std::string hiddenSibling(std::string_view targetName, const std::string& stamp)
{
    return "." + std::string(targetName.substr(0, kMaxNameBytes - 1 - stamp.size())) + stamp;
}

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

// A process id written in decimal; none for anything else.
std::optional<pid_t> processId(std::string_view text)
{
    pid_t pid = 0;
    if (!allDigits(text))
        return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (ec != std::errc() || end != text.data() + text.size() || pid <= 0)
        return std::nullopt;
    return pid;
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
    return hiddenSibling(targetName, stamp);
}

std::string stagingName(std::string_view targetName, pid_t pid, unsigned count)
{
    return hiddenSibling(targetName,
                         std::string(kStagingMark) + std::to_string(pid) + '-' + std::to_string(count));
}

std::optional<pid_t> stagingOwner(std::string_view fileName)
{
    const auto mark = fileName.rfind(kStagingMark);
    if (!fileName.starts_with('.') || mark == fileName.npos || mark < 2)
        return std::nullopt; // not hidden, or no target name in front
    const std::string_view stamp = fileName.substr(mark + kStagingMark.size());
    const auto dash = stamp.find('-');
    if (dash == stamp.npos || !allDigits(stamp.substr(dash + 1)))
        return std::nullopt;
    return processId(stamp.substr(0, dash));
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
    if (!allDigits(stamp.substr(dash1 + 1, dash2 - dash1 - 1)) || !allDigits(stamp.substr(dash2 + 1)))
        return std::nullopt;
    return processId(stamp.substr(0, dash1));
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
        const auto rewriter = tempSiblingOwner(entry->d_name);
        const auto importer = rewriter ? std::nullopt : stagingOwner(entry->d_name);
        struct stat st;
        // Only plain files of our own naming and an import's folders; a link stays.
        if ((!rewriter && !importer) || ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const bool file = S_ISREG(st.st_mode);
        const bool stagedFolder = importer && S_ISDIR(st.st_mode);
        if ((!file && !stagedFolder) || isRunning(rewriter ? *rewriter : *importer))
            continue;
        if (file ? ::unlinkat(dirFd, entry->d_name, 0) == 0 : removeFolderTree(folder / entry->d_name))
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

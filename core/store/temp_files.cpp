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
constexpr std::string_view kJournalPrefix = ".moves.";
constexpr std::string_view kJournalSuffix = ".journal";
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

std::string movesJournalName(pid_t pid, unsigned count)
{
    return std::string(kJournalPrefix) + std::to_string(pid) + '-' + std::to_string(count)
        + std::string(kJournalSuffix);
}

std::optional<pid_t> movesJournalOwner(std::string_view fileName)
{
    if (!fileName.starts_with(kJournalPrefix) || !fileName.ends_with(kJournalSuffix))
        return std::nullopt;
    fileName.remove_prefix(kJournalPrefix.size());
    fileName.remove_suffix(kJournalSuffix.size());
    const auto dash = fileName.find('-');
    if (dash == fileName.npos || !allDigits(fileName.substr(dash + 1)))
        return std::nullopt;
    return processId(fileName.substr(0, dash));
}

std::string movesJournalText(const std::vector<std::pair<fs::path, fs::path>>& moves)
{
    std::string text;
    for (const auto& [staged, target] : moves) {
        text += staged.string();
        text += '\0';
        text += target.string();
        text += '\0';
    }
    return text;
}

int completeStaleMoves(const fs::path& folder) noexcept
{
    int completed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const auto owner = movesJournalOwner(entry.path().filename().native());
        if (!owner || isRunning(*owner) || !entry.is_regular_file(ec))
            continue;
        try {
            const std::string text = readFile(entry.path());
            std::vector<std::string> paths;
            for (std::size_t at = 0, end; (end = text.find('\0', at)) != text.npos; at = end + 1)
                paths.push_back(text.substr(at, end - at));
            // What is no longer staged was moved before the kill.
            for (std::size_t i = 0; i + 1 < paths.size(); i += 2)
                if (fs::exists(fs::symlink_status(paths[i], ec)))
                    ::rename(paths[i].c_str(), paths[i + 1].c_str());
        } catch (...) {
            continue; // unreadable: the sweep removes what it staged
        }
        removeFile(entry.path());
        ++completed;
    }
    return completed;
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

namespace {

// The working folder's week folders (those holding a channel list).
std::vector<std::string> weekFolders() noexcept
{
    std::vector<std::string> folders;
    DIR* dir = ::opendir(".");
    if (!dir)
        return folders;
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
            folders.emplace_back(name);
    }
    ::closedir(dir);
    return folders;
}

} // namespace

int removeStaleStoreTempFiles() noexcept
{
    // An interrupted commit is completed before anything it staged could be taken for litter.
    for (const std::string& folder : weekFolders())
        completeStaleMoves(folder);
    completeStaleMoves(".");
    int removed = removeStaleTempFiles(".");
    for (const std::string& folder : weekFolders())
        removed += removeStaleTempFiles(folder);
    return removed;
}

} // namespace brevio::store

#include "core/session/work_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace brevio {

namespace fs = std::filesystem;

fs::path dataHomeWorkFolder(std::string_view xdgDataHome, std::string_view home)
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    fs::path base;
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/')
        base = fs::path(xdgDataHome);
    else if (!home.empty())
        base = fs::path(home) / ".local" / "share";
    else
        return {};
    return base.lexically_normal() / "Brevio";
}

fs::path userDataHomeWorkFolder()
{
    const char* xdgDataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    return dataHomeWorkFolder(xdgDataHome ? xdgDataHome : "", home ? home : "");
}

std::vector<std::string> workFolderOptions(const fs::path& folder, const fs::path& dataHome)
{
    // The same folder by another spelling (a link, a final separator) is the same folder.
    std::error_code ec;
    if (!dataHome.empty() && fs::equivalent(folder, dataHome, ec))
        return {std::string(kDataHomeOption)};
    return {std::string(kWorkdirOption), fs::absolute(folder, ec).lexically_normal().string()};
}

std::optional<std::string> enterWorkFolder(const fs::path& folder)
{
    if (folder.empty())
        return std::string("no folder given");
    // Component by component, so that every folder made here is the user's alone: it holds the
    // personal lists and the log of failed transfers.
    fs::path partial;
    for (const fs::path& part : folder.lexically_normal()) {
        partial /= part;
        if (part.empty() || part == "/")
            continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return partial.string() + ": " + std::strerror(errno);
    }
    if (::chdir(folder.c_str()) != 0)
        return folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

} // namespace brevio

#include "store/week_folder.h"

#include "store/errors.h"

namespace brevio::store {

namespace {

// The week date without its two separators (6th, then 3rd character).
std::string strippedWeekDate(std::string_view weekDate)
{
    std::string name(weekDate);
    if (name.size() >= 6)
        name.erase(5, 1);
    if (name.size() >= 3)
        name.erase(2, 1);
    return name;
}

std::string withSeparator(std::string name)
{
    if (!name.empty() && name.back() != '/')
        name += '/';
    return name;
}

bool isDotName(std::string_view name)
{
    return name == "." || name == "..";
}

} // namespace

std::string weekFolderName(std::string_view weekDate)
{
    return withSeparator(strippedWeekDate(weekDate));
}

std::string checkedWeekFolder(std::string_view weekDate, FolderUse use)
{
    std::string name = strippedWeekDate(weekDate);
    // A NUL would silently cut the path short at the system call, so it is refused as well.
    if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos || isDotName(name))
        throw UnsafeNameError(weekDate);
    if (use == FolderUse::Write && name.empty())
        throw UnsafeNameError::noWeekFolder();
    return withSeparator(std::move(name));
}

void checkBareFileName(std::string_view name)
{
    if (name.empty() || isDotName(name) || name.find_first_of(std::string_view("/\\\0", 3)) != name.npos)
        throw UnsafeNameError(name);
}

} // namespace brevio::store

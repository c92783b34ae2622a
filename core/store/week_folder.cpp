#include "core/store/week_folder.h"

#include "core/store/errors.h"
#include "core/store/file_names.h"

#include <algorithm>

namespace brevio::store {

namespace {

using Reason = UnsafeNameError::Reason;

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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isDateSeparator(char c)
{
    const bool letterOrDigit = isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return c >= ' ' && c <= '~' && !letterOrDigit && c != '/' && c != '\\';
}

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// The day of a text already known to be shaped "dd?mm?yyyy"; not ok() when no calendar has it.
std::chrono::year_month_day dayOfShapedDate(std::string_view date)
{
    const auto number = [date](std::size_t at, std::size_t count) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + count; ++i)
            value = value * 10 + unsigned(date[i] - '0');
        return value;
    };
    return {std::chrono::year(int(number(6, 4))), std::chrono::month(number(3, 2)),
            std::chrono::day(number(0, 2))};
}

bool isShapedLikeWeekDate(std::string_view text)
{
    if (text.size() != 10)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool separatorPlace = i == 2 || i == 5;
        if (separatorPlace ? !isDateSeparator(text[i]) : !isDigit(text[i]))
            return false;
    }
    return true;
}

// The files a week folder keeps besides its channel files.
bool isWeekOwnFile(std::string_view name)
{
    if (equalsIgnoringCase(name, kChannelListFile) || equalsIgnoringCase(name, kChannelListTemp))
        return true;
    for (int day = 0; day < kSelectedListCount; ++day) {
        if (equalsIgnoringCase(name, selectedListFile(day)))
            return true;
    }
    return false;
}

} // namespace

std::string weekFolderName(std::string_view weekDate)
{
    return withSeparator(strippedWeekDate(weekDate));
}

bool isWeekDate(std::string_view text)
{
    return isShapedLikeWeekDate(text) && dayOfShapedDate(text).ok();
}

std::optional<std::chrono::sys_days> weekDateDay(std::string_view weekDate)
{
    if (!isWeekDate(weekDate))
        return std::nullopt;
    return std::chrono::sys_days(dayOfShapedDate(weekDate));
}

bool sameWeek(std::string_view a, std::string_view b)
{
    return a == b || (isWeekDate(a) && isWeekDate(b) && strippedWeekDate(a) == strippedWeekDate(b));
}

std::string checkedWeekFolder(std::string_view weekDate, FolderUse use)
{
    if (weekDate.empty()) {
        if (use == FolderUse::Write)
            throw UnsafeNameError::noWeekFolder();
        return {};
    }
    if (!isWeekDate(weekDate))
        throw UnsafeNameError(weekDate, Reason::NotAWeekDate);
    return withSeparator(strippedWeekDate(weekDate));
}

void checkBareFileName(std::string_view name)
{
    if (name.empty())
        throw UnsafeNameError(name, Reason::Empty);
    checkNoControlCharacters(name);
    if (name == "." || name == ".." || name.find_first_of("/\\") != name.npos)
        throw UnsafeNameError(name, Reason::LeadsOutside);
    if (isWeekOwnFile(name))
        throw UnsafeNameError(name, Reason::WeekOwnFile);
}

void checkNoControlCharacters(std::string_view text)
{
    if (std::any_of(text.begin(), text.end(), isControl))
        throw UnsafeNameError(text, Reason::ControlCharacter);
}

} // namespace brevio::store

#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace brevio::store {

// Week folder name rule: delete the 6th then the 3rd character (positions before either
// deletion; a shorter text loses only what it has), empty stays empty, otherwise append the
// separator '/' unless it already ends with one. "12.01.2004" -> "12012004/".
std::string weekFolderName(std::string_view weekDate);

// A week date: ten characters "dd?mm?yyyy", digits in the six digit places, each '?' a
// printable ASCII sign that is neither a letter, a digit nor a path separator, and the digits a
// day of the calendar ("29.02.2027" is no week date, "29.02.2028" is one).
bool isWeekDate(std::string_view text);

// Two texts of the same week: equal, or week dates that differ only in their separators and so
// name the same week folder ("07.12.2026", "07-12-2026", "07:12:2026").
bool sameWeek(std::string_view a, std::string_view b);

// The day a week date names, for the few places that need the calendar (exports, the dates
// beside weekdays); none unless it is a week date of a real day.
std::optional<std::chrono::sys_days> weekDateDay(std::string_view weekDate);

enum class FolderUse { Read, Write };

// The week folder of a week date from a server or a file. Throws UnsafeNameError unless the
// date is a week date; an empty date stands for the working folder itself when reading, and is
// refused for FolderUse::Write (a folder about to be created, written into or deleted).
std::string checkedWeekFolder(std::string_view weekDate, FolderUse use);

// A channel file name inside a week folder (from a server or aplp.dat): throws UnsafeNameError
// when it is empty, "." or "..", holds '/', '\\' or a control character, or names one of the
// week's own files (aplp.dat, aplp.tmp, the selected lists; letters in any case).
void checkBareFileName(std::string_view name);

// Throws UnsafeNameError when `text` (a channel name) holds a control character.
void checkNoControlCharacters(std::string_view text);

} // namespace brevio::store

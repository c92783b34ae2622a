#pragma once

#include <string>
#include <string_view>

namespace brevio::store {

// Week folder name rule: delete the 6th then the 3rd character (positions before either
// deletion; a shorter text loses only what it has), empty stays empty, otherwise append the
// separator '/' unless it already ends with one. "12.01.2004" -> "12012004/".
std::string weekFolderName(std::string_view weekDate);

enum class FolderUse { Read, Write };

// Same as weekFolderName but refuses (throws UnsafeNameError) a name that would lead outside
// the working folder: the stripped name contains '/' or '\\', or is "." or "..", or (for
// FolderUse::Write, i.e. a folder about to be created, written into or deleted) is empty.
std::string checkedWeekFolder(std::string_view weekDate, FolderUse use);

// A bare file name inside a week folder (channel file names from a server or aplp.dat):
// throws UnsafeNameError when empty, "." or "..", or containing '/', '\\' or a NUL byte.
void checkBareFileName(std::string_view name);

} // namespace brevio::store

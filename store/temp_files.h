#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// The names of the files a whole-file rewrite writes beside its target before renaming them
// over it, and the sweep that removes those a killed process left behind.
namespace brevio::store {

// ".<target>.<pid>-<token>-<count>.tmp": hidden, next to its target, and owned by a process.
std::string tempSiblingName(std::string_view targetName, pid_t pid, unsigned token, unsigned count);

// The writing process of a name of that form; none for any other name.
std::optional<pid_t> tempSiblingOwner(std::string_view fileName);

// Removes, in `folder` only (no deeper), the regular files of that form whose writer no longer
// runs (or is this process, which has written nothing yet when it sweeps). Returns how many
// went. Never throws.
int removeStaleTempFiles(const std::filesystem::path& folder) noexcept;

// The sweep at start: the working folder and each week folder in it (a folder holding a
// channel list). Returns how many files went.
int removeStaleStoreTempFiles() noexcept;

} // namespace brevio::store

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

// The names of the files a whole-file rewrite writes beside its target before renaming them
// over it, of what an import stages beside its place, and the sweep that removes those a
// killed process left behind.
namespace brevio::store {

// ".<target>.<pid>-<token>-<count>.tmp": hidden, next to its target, and owned by a process.
std::string tempSiblingName(std::string_view targetName, pid_t pid, unsigned token, unsigned count);

// The writing process of a name of that form; none for any other name.
std::optional<pid_t> tempSiblingOwner(std::string_view fileName);

// ".<target>.import-<pid>-<count>": a file or folder an import writes in full beside its place
// before moving it there (and the copy of a file it replaces, kept until the move is done).
std::string stagingName(std::string_view targetName, pid_t pid, unsigned count);

// The importing process of a name of that form; none for any other name.
std::optional<pid_t> stagingOwner(std::string_view fileName);

// ".moves.<pid>-<count>.journal": the moves a commit of staged changes makes, written whole
// before the first of them, so that what a kill interrupts can be completed.
std::string movesJournalName(pid_t pid, unsigned count);
std::optional<pid_t> movesJournalOwner(std::string_view fileName);

// A journal's text: each move as the staged path and the target path, each ended by a NUL.
std::string
movesJournalText(const std::vector<std::pair<std::filesystem::path, std::filesystem::path>>& moves);

// Completes the moves of every journal in `folder` whose process no longer runs (as the sweep
// judges it): what is still staged is moved into place, then the journal goes. Returns how many
// journals were completed. Never throws.
int completeStaleMoves(const std::filesystem::path& folder) noexcept;

// Removes, in `folder` only (no deeper), what a process that no longer runs (or is this one,
// which has written nothing yet when it sweeps) left under a name of either form: regular
// files of both, and the folders an import stages with all they hold. Links and anything
// else stay. Returns how many entries went. Never throws.
int removeStaleTempFiles(const std::filesystem::path& folder) noexcept;

// The sweep at start: the working folder and each week folder in it (a folder holding a
// channel list). Interrupted commits are completed first (completeStaleMoves), then what is
// left is removed. Returns how many entries went.
int removeStaleStoreTempFiles() noexcept;

} // namespace brevio::store

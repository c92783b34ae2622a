#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Paths are std::filesystem::path; relative ones resolve in the current folder, which is the
// program's working folder. Failures throw brevio::IoError.
namespace brevio::store {

bool fileExists(const std::filesystem::path& p); // a regular file
// A whole plain file; IoError (2 = File not found; 5 for a folder, pipe or device).
std::string readFile(const std::filesystem::path& p);
// The same into `buffer`, whose memory is kept for the next file: for reading many files in a
// row. Returns the bytes, valid until the buffer changes.
std::string_view readFileInto(const std::filesystem::path& p, std::string& buffer);
std::vector<std::string> readLines(const std::filesystem::path& p); // splitLines(readFile(p))

// When a rewritten file reaches the disk: at once, or with the next syncFileSystem() (many
// files written in a row; one flush of the whole file system costs far less than one each).
enum class FileSync { Now, Later };

enum class TempFileKind {
    Unnamed, // an unnamed file (O_TMPFILE) where the file system allows it, else Named
    Named, // a hidden sibling written in place
};

// Safe whole-file rewrite: writes the new content into a file in the target's folder, flushes
// it to disk, then renames it over the target; a crash never leaves half a file. The new file
// is unnamed until it is complete, so a kill leaves nothing behind, except in the moment
// between naming and renaming (or on file systems without unnamed files); what a kill leaves
// there bears a name that removeStaleTempFiles (store/temp_files.h) knows. The temp file is
// removed on failure. Keeps the target's permission bits if it exists. A symbolic link is
// written through: the file it names is replaced, the link stays.
void replaceFile(const std::filesystem::path& p, std::string_view bytes, FileSync sync = FileSync::Now,
                 TempFileKind kind = TempFileKind::Unnamed);

// Flushes everything written to the file system that holds `p` to disk (IoError on failure).
void syncFileSystem(const std::filesystem::path& p);

void appendToFile(const std::filesystem::path& p, std::string_view bytes); // creates when missing
void createEmptyIfMissing(const std::filesystem::path& p);
bool removeFile(const std::filesystem::path& p) noexcept; // true when it is gone afterwards
void createFolder(const std::filesystem::path& p); // no error if it exists; IoError otherwise

// Deletes a folder and everything in it (read-only files and folders too); true when all went.
// False, and nothing deleted, when there is no such folder. Symbolic links inside are removed,
// never followed; a link given as the folder itself is removed alone.
bool removeFolderTree(const std::filesystem::path& p) noexcept;

} // namespace brevio::store

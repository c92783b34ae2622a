#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace brevio::test {

// Every entry below a folder by its path relative to the folder: a file's content, nothing for
// a folder, the target for a link (links are not followed).
using FileTree = std::map<std::string, std::optional<std::string>>;
FileTree fileTree(const std::filesystem::path& root);

// The paths created, changed or removed between two trees.
std::set<std::string> changedPaths(const FileTree& before, const FileTree& after);

} // namespace brevio::test

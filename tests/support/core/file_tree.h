#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace brevio::test {

// Every entry below a folder (files, folders, links; links are not followed), by its path
// relative to the folder, with what it is and a digest of its content.
using FileTree = std::map<std::string, std::string>;
FileTree fileTree(const std::filesystem::path& root);

// The paths created, changed or removed between two trees.
std::set<std::string> changedPaths(const FileTree& before, const FileTree& after);

} // namespace brevio::test

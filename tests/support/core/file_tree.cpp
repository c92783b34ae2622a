#include "support/core/file_tree.h"

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace brevio::test {

FileTree fileTree(const fs::path& root)
{
    FileTree tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        std::optional<std::string> content;
        if (it->is_symlink()) {
            content = "-> " + fs::read_symlink(it->path()).string();
        } else if (!it->is_directory()) {
            std::ifstream in(it->path(), std::ios::binary);
            content.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        tree[fs::relative(it->path(), root).string()] = std::move(content);
    }
    return tree;
}

std::set<std::string> changedPaths(const FileTree& before, const FileTree& after)
{
    std::set<std::string> changed;
    for (const auto& [path, content] : after) {
        if (const auto old = before.find(path); old == before.end() || old->second != content)
            changed.insert(path);
    }
    for (const auto& entry : before) {
        if (!after.contains(entry.first))
            changed.insert(entry.first);
    }
    return changed;
}

} // namespace brevio::test

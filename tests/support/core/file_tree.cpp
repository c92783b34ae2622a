#include "support/core/file_tree.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace brevio::test {

FileTree fileTree(const fs::path& root)
{
    FileTree tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        std::string what;
        if (it->is_symlink()) {
            what = "link to " + fs::read_symlink(path).string();
        } else if (it->is_directory()) {
            what = "folder";
        } else {
            std::ifstream in(path, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            what = "file of " + std::to_string(bytes.size()) + " bytes, "
                + std::to_string(std::hash<std::string>{}(bytes));
        }
        tree[fs::relative(path, root).string()] = what;
    }
    return tree;
}

std::set<std::string> changedPaths(const FileTree& before, const FileTree& after)
{
    std::set<std::string> changed;
    for (const auto& [path, what] : after) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != what)
            changed.insert(path);
    }
    for (const auto& entry : before) {
        if (!after.contains(entry.first))
            changed.insert(entry.first);
    }
    return changed;
}

} // namespace brevio::test

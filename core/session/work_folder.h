#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevio {

// The option that keeps the working folder in the data home; launchers start the program with it.
inline constexpr std::string_view kDataHomeOption = "--data-home";
// The option that names the working folder.
inline constexpr std::string_view kWorkdirOption = "--workdir";

// The working folder of a program started from the applications menu: "Brevio" in the user's
// data home, which is $XDG_DATA_HOME when that is an absolute path, else ~/.local/share.
// Empty when neither the variable nor the home folder gives a place.
std::filesystem::path dataHomeWorkFolder(std::string_view xdgDataHome, std::string_view home);

// The same for this user: $XDG_DATA_HOME and $HOME as the program finds them.
std::filesystem::path userDataHomeWorkFolder();

// The options that start the program on the working folder `folder` again: --data-home when it is
// the data home's folder `dataHome`, otherwise --workdir and the folder.
std::vector<std::string> workFolderOptions(const std::filesystem::path& folder,
                                           const std::filesystem::path& dataHome);

// Makes `folder` the current folder, creating it and any missing parent readable by the user
// alone (mode 0700; folders that exist keep their mode). The reason on failure, none on success.
std::optional<std::string> enterWorkFolder(const std::filesystem::path& folder);

} // namespace brevio

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brevio {

// The option that keeps the working folder in the data home; launchers start the program with it.
inline constexpr std::string_view kDataHomeOption = "--data-home";

// The working folder of a program started from the applications menu: "Brevio" in the user's
// data home, which is $XDG_DATA_HOME when that is an absolute path, else ~/.local/share.
// Empty when neither the variable nor the home folder gives a place.
std::filesystem::path dataHomeWorkFolder(std::string_view xdgDataHome, std::string_view home);

// Makes `folder` the current folder, creating it and any missing parent readable by the user
// alone (mode 0700; folders that exist keep their mode). The reason on failure, none on success.
std::optional<std::string> enterWorkFolder(const std::filesystem::path& folder);

} // namespace brevio

#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brevio {

// A launcher in the freedesktop desktop-entry format: the desktop shortcut to the program and
// the companion alarm's log-on start. Texts are UTF-8, as that format requires.
struct Launcher
{
    std::string name;
    std::string comment;
    std::string executable; // full path
    std::vector<std::string> arguments;
    std::string workingFolder; // empty: none given
    std::string icon; // a name of the icon theme; empty: none given
};

// The file's text. Lines end with LF: readers of this format take a CR as part of the value.
std::string desktopEntryText(const Launcher& launcher);

// Escapes of the format: a value string (backslash, line breaks, tab) and one argument of the
// Exec key (quoted, with its reserved characters and '%' escaped; the result is still a raw
// value that desktopEntryText escapes as a string).
std::string escapeEntryValue(std::string_view value);
std::string quoteExecArgument(std::string_view argument);

// The companion alarm program in the program's folder, and its log-on entry.
inline constexpr std::string_view kCompanionProgram = "chimeo";
inline constexpr std::string_view kCompanionEntryFile = "chimeo.desktop";
// The desktop shortcut's file name.
inline constexpr std::string_view kShortcutFile = "brevio.desktop";

// Puts the companion's entry into `autostartFolder` (on), making the folder where it is missing,
// or takes it out (off). False when the folder cannot be made or the entry cannot be written or
// removed.
bool setCompanionAutostart(const std::filesystem::path& autostartFolder, bool on,
                           const std::string& programFolder);

// The program's icon in the icon theme, and the name of the launcher the package installs.
inline constexpr std::string_view kApplicationId = "org.morvane.Brevio";

// Writes the program's launcher into `desktopFolder`, replacing an earlier one. It starts the
// program with `arguments` (those that choose the working folder of the session that made it).
// False when the folder is missing, the file cannot be written, or a path is no UTF-8 text, which
// is all the format can hold.
bool writeDesktopShortcut(const std::filesystem::path& desktopFolder, const std::string& executable,
                          const std::vector<std::string>& arguments);

} // namespace brevio

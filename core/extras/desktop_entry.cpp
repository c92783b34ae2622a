#include "core/extras/desktop_entry.h"

#include "core/session/work_folder.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"

#include <system_error>

namespace brevio {

namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& folder)
{
    std::error_code ec;
    return !folder.empty() && fs::is_directory(folder, ec);
}

std::string withFinalSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// Writes through a file beside the target, so a half-written launcher never shows up.
bool writeEntry(const fs::path& file, const Launcher& launcher)
{
    try {
        store::replaceFile(file, desktopEntryText(launcher));
        return true;
    } catch (const Error&) {
        return false;
    }
}

} // namespace

std::string escapeEntryValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string quoteExecArgument(std::string_view argument)
{
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    out += '"';
    return out;
}

std::string desktopEntryText(const Launcher& launcher)
{
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n";
    text += "Name=" + escapeEntryValue(launcher.name) + "\n";
    if (!launcher.comment.empty())
        text += "Comment=" + escapeEntryValue(launcher.comment) + "\n";
    std::string exec = quoteExecArgument(launcher.executable);
    for (const std::string& argument : launcher.arguments)
        exec += " " + quoteExecArgument(argument);
    text += "Exec=" + escapeEntryValue(exec) + "\n";
    if (!launcher.workingFolder.empty())
        text += "Path=" + escapeEntryValue(launcher.workingFolder) + "\n";
    if (!launcher.icon.empty())
        text += "Icon=" + escapeEntryValue(launcher.icon) + "\n";
    text += "Terminal=false\n";
    return text;
}

bool setCompanionAutostart(const fs::path& autostartFolder, bool on, const std::string& programFolder)
{
    const fs::path entry = autostartFolder / kCompanionEntryFile;
    if (!on)
        return !isFolder(autostartFolder) || store::removeFile(entry);
    // A fresh desktop often has no autostart folder yet: the first log-on start makes it.
    std::error_code ec;
    if (!autostartFolder.empty())
        fs::create_directories(autostartFolder, ec);
    if (!isFolder(autostartFolder))
        return false;
    const std::string folder = withFinalSeparator(programFolder);
    return writeEntry(entry, {"Chimeo", "", folder + std::string(kCompanionProgram), {}, folder, ""});
}

bool writeDesktopShortcut(const fs::path& desktopFolder, const std::string& executable)
{
    if (!isFolder(desktopFolder))
        return false;
    // The program's own folder is no place for data once it is installed: the shortcut starts
    // it the way the applications menu does.
    const bool written = writeEntry(desktopFolder / kShortcutFile,
                                    {"Brevio",
                                     "Телепрограмма",
                                     executable,
                                     {std::string(kDataHomeOption)},
                                     "",
                                     std::string(kApplicationId)});
    if (written) {
        // Desktops start only launchers that are marked executable.
        std::error_code ec;
        fs::permissions(desktopFolder / kShortcutFile,
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
    }
    return written;
}

} // namespace brevio

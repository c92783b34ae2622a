#include "core/extras/desktop_entry.h"

#include "core/session/work_folder.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"

#include <algorithm>
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

// Well-formed UTF-8: no stray or missing continuation byte, no overlong form, no surrogate, nothing
// past U+10FFFF.
bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1
            : lead < 0xC2              ? 0
            : lead < 0xE0              ? 2
            : lead < 0xF0              ? 3
            : lead < 0xF5              ? 4
                                       : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return false;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
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

bool writeDesktopShortcut(const fs::path& desktopFolder, const std::string& executable,
                          const std::vector<std::string>& arguments)
{
    if (!isFolder(desktopFolder) || !isUtf8(executable)
        || !std::all_of(arguments.begin(), arguments.end(), [](const std::string& a) { return isUtf8(a); }))
        return false;
    const bool written
        = writeEntry(desktopFolder / kShortcutFile,
                     {"Brevio", "Телепрограмма", executable, arguments, "", std::string(kApplicationId)});
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

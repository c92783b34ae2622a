// Launcher files (desktop shortcut, companion log-on start) and the about picture's decoder.
#include "core/extras/desktop_entry.h"
#include "core/extras/jpeg_image.h"
#include "core/store/file_io.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace brevio;
using brevio::test::TempDir;

namespace {

std::string aboutPicture()
{
    const char* source = std::getenv("BREVIO_SOURCE_DIR");
    return store::readFile(std::filesystem::path(source ? source : ".") / "resources" / "about.jpg");
}

} // namespace

TEST(ExtrasDesktopEntry, ExecQuotesThePathSoThatShellAndFieldCharactersStayLiteral)
{
    EXPECT_EQ(quoteExecArgument("/opt/my tv/brevio"), "\"/opt/my tv/brevio\"");
    // Reserved characters get a backslash, '%' is doubled (it would start a field code).
    EXPECT_EQ(quoteExecArgument("/a\"b`c$d\\e%f"), "\"/a\\\"b\\`c\\$d\\\\e%%f\"");
    // The quoted argument is then a string value: its backslashes are escaped once more.
    const std::string text = desktopEntryText({"X", "", "/a\\b", {}, "", ""});
    EXPECT_NE(text.find("Exec=\"/a\\\\\\\\b\"\n"), std::string::npos) << text;
    // A line break in a name cannot start a key of its own.
    EXPECT_EQ(escapeEntryValue("a\nb\rc\td"), "a\\nb\\rc\\td");
}

TEST(ExtrasDesktopEntry, ShortcutStartsTheProgramWithItsOptionsQuotedAndIsReplacedUnchanged)
{
    TempDir desktop;
    const std::vector<std::string> options = {"--workdir", "/home/u/my tv/$x%"};
    ASSERT_TRUE(writeDesktopShortcut(desktop.path(), "/opt/brevio/brevio", options));
    const std::string first = desktop.read("brevio.desktop");
    EXPECT_EQ(first.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(first.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(first.find("\nExec=\"/opt/brevio/brevio\" \"--workdir\" \"/home/u/my tv/\\\\$x%%\"\n"),
              std::string::npos)
        << first;
    EXPECT_EQ(first.find("\nPath="), std::string::npos);
    EXPECT_NE(first.find("\nIcon=org.morvane.Brevio\n"), std::string::npos);
    EXPECT_EQ(first.find('\r'), std::string::npos);
    const auto perms = std::filesystem::status(desktop / "brevio.desktop").permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);

    desktop.write("brevio.desktop", "stale");
    ASSERT_TRUE(writeDesktopShortcut(desktop.path(), "/opt/brevio/brevio", options));
    EXPECT_EQ(desktop.read("brevio.desktop"), first);
}

TEST(ExtrasDesktopEntry, ShortcutNeedsAnExistingDesktopFolderAndPathsTheFormatCanHold)
{
    TempDir home;
    EXPECT_FALSE(writeDesktopShortcut(home / "Desktop", "/opt/brevio/brevio", {"--data-home"}));
    EXPECT_FALSE(std::filesystem::exists(home / "Desktop"));
    EXPECT_FALSE(writeDesktopShortcut({}, "/opt/brevio/brevio", {"--data-home"}));

    // The format holds UTF-8 text only: a folder named in another encoding makes no launcher.
    struct Case
    {
        const char* folder;
        bool written;
    };
    const Case cases[] = {
        {"/home/u/Телепрограмма", true},     {"/home/u/\xF0\x9F\x93\xBA", true}, // four bytes
        {"/home/u/\xD2\xE5\xEB\xE5", false}, // windows-1251
        {"/home/u/\xC0\xAF", false}, // an overlong '/'
        {"/home/u/\xED\xA0\x80", false}, // a surrogate
        {"/home/u/\xE2\x82", false}, // cut short
        {"/home/u/\xF4\x90\x80\x80", false}, // past U+10FFFF
    };
    for (const Case& c : cases) {
        home.write("Desktop/brevio.desktop", "earlier");
        EXPECT_EQ(writeDesktopShortcut(home / "Desktop", "/opt/brevio/brevio", {"--workdir", c.folder}),
                  c.written)
            << c.folder;
        EXPECT_EQ(home.read("Desktop/brevio.desktop") != "earlier", c.written) << c.folder;
    }
}

TEST(ExtrasDesktopEntry, CompanionAutostartMakesItsFolderAndIsGoneWhenOff)
{
    TempDir config;
    const auto autostart = config / "autostart";
    // Off without a folder: nothing to take out, and no folder made for it.
    EXPECT_TRUE(setCompanionAutostart(autostart, false, "/opt/brevio"));
    EXPECT_FALSE(std::filesystem::exists(autostart));
    // On a fresh desktop the folder is made (a file in its place cannot be).
    config.write("blocked", "");
    EXPECT_FALSE(setCompanionAutostart(config / "blocked" / "autostart", true, "/opt/brevio"));
    ASSERT_TRUE(setCompanionAutostart(autostart, true, "/opt/brevio"));
    const std::string entry = config.read("autostart/chimeo.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/brevio/chimeo\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nName=Chimeo\n"), std::string::npos);

    // Started from another folder: the entry follows the program.
    ASSERT_TRUE(setCompanionAutostart(autostart, true, "/home/u/tv/"));
    EXPECT_NE(config.read("autostart/chimeo.desktop").find("Exec=\"/home/u/tv/chimeo\""), std::string::npos);

    EXPECT_TRUE(setCompanionAutostart(autostart, false, "/home/u/tv"));
    EXPECT_FALSE(config.exists("autostart/chimeo.desktop"));
    // Switching off twice is fine.
    EXPECT_TRUE(setCompanionAutostart(autostart, false, "/home/u/tv"));
}

TEST(ExtrasJpeg, DecodesTheAboutPicture)
{
    const auto image = decodeJpeg(aboutPicture());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 65);
    EXPECT_EQ(image->height, 57);
    ASSERT_EQ(image->pixels.size(), 65u * 57u * 3u);
    // Top-left corner is white, the set's frame teal (green and blue well above red).
    EXPECT_GT(image->pixels[0], 230);
    const std::size_t frame = (30u * 65u + 5u) * 3u;
    EXPECT_LT(image->pixels[frame], 60);
    EXPECT_GT(image->pixels[frame + 1], 90);
    EXPECT_GT(image->pixels[frame + 2], 90);
}

TEST(ExtrasJpeg, BrokenDataIsRefusedWithoutEndingTheProgram)
{
    const std::string good = aboutPicture();
    EXPECT_FALSE(decodeJpeg(""));
    EXPECT_FALSE(decodeJpeg("not a picture at all"));
    // Only the header: libjpeg's own handler would exit() here.
    EXPECT_FALSE(decodeJpeg(good.substr(0, 20)));
    // Cut half-way through the scan: libjpeg pads the missing rows (with a warning), so the
    // picture still comes back whole in size.
    const auto cut = decodeJpeg(good.substr(0, good.size() / 2));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->width, 65);
    EXPECT_EQ(cut->pixels.size(), 65u * 57u * 3u);
}

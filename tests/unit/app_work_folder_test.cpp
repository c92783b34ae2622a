// Where the program keeps its files when started from the applications menu or with --workdir.
#include "core/session/work_folder.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

using namespace brevio;
using brevio::test::ScopedCurrentDir;
using brevio::test::TempDir;
namespace fs = std::filesystem;

TEST(AppWorkFolder, DataHomeFollowsTheBaseDirectoryRules)
{
    struct Case
    {
        const char* xdgDataHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"", "/home/u", "/home/u/.local/share/Brevio"},
        {"/data/me", "/home/u", "/data/me/Brevio"},
        {"/data/me/", "/home/u", "/data/me/Brevio"},
        // A relative value is invalid and ignored.
        {"data", "/home/u", "/home/u/.local/share/Brevio"},
        {"/x", "", "/x/Brevio"},
        {"", "", ""},
        {"rel", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataHomeWorkFolder(c.xdgDataHome, c.home), fs::path(c.expected))
            << c.xdgDataHome << " | " << c.home;
}

TEST(AppWorkFolder, MissingFoldersAreMadeForTheUserAloneAndEnteredFailuresLeaveTheCurrentFolder)
{
    TempDir root;
    ScopedCurrentDir keep(root.path());
    root.write("file", "x");
    for (const fs::path& bad : {root / "file" / "Brevio", root / "file", fs::path()}) {
        EXPECT_TRUE(enterWorkFolder(bad).has_value()) << bad;
        EXPECT_EQ(fs::current_path(), fs::canonical(root.path()));
    }
    // A folder that exists keeps its mode; the ones made are the user's alone.
    fs::permissions(root.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_EQ(enterWorkFolder(root / "share" / "deep/"), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "share" / "deep"));
    for (const fs::path& made : {root / "share", root / "share" / "deep"})
        EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
    EXPECT_EQ(fs::status(root.path()).permissions() & fs::perms::group_read, fs::perms::group_read);
}

TEST(AppWorkFolder, AShortcutStartsOnTheDataHomeByItsOptionAndOnAnyOtherFolderByName)
{
    TempDir root;
    const fs::path dataHome = root / "share" / "Brevio";
    fs::create_directories(dataHome);
    fs::create_directories(root / "tv");
    fs::create_directory_symlink(dataHome, root / "link");
    using Options = std::vector<std::string>;
    struct Case
    {
        const char* what;
        fs::path folder;
        fs::path dataHome;
        Options expected;
    };
    const Case cases[] = {
        {"the data home", dataHome, dataHome, {"--data-home"}},
        {"the data home by a link", root / "link", dataHome, {"--data-home"}},
        {"the data home with a final separator", dataHome, root / "share" / "Brevio/", {"--data-home"}},
        {"another folder", root / "tv", dataHome, {"--workdir", (root / "tv").string()}},
        {"a data home not made yet", root / "tv", root / "none", {"--workdir", (root / "tv").string()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(workFolderOptions(c.folder, c.dataHome), c.expected) << c.what;
}

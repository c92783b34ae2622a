// Where the program keeps its files when started from the applications menu or with --workdir.
#include "app/work_folder.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(AppWorkFolder, MissingFoldersAreMadeForTheUserAloneAndEntered)
{
    TempDir root;
    ScopedCurrentDir keep(root.path());
    const fs::path folder = root / "share" / "deep" / "Brevio";
    ASSERT_EQ(enterWorkFolder(folder), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::canonical(folder));
    for (const fs::path& made : {root / "share", root / "share" / "deep", folder}) {
        struct stat st
        {
        };
        ASSERT_EQ(::stat(made.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }

    // A folder that exists keeps its mode; a relative name is taken from the current folder.
    fs::create_directory(root / "shared");
    fs::permissions(root / "shared", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_EQ(::chdir(root.path().c_str()), 0);
    ASSERT_EQ(enterWorkFolder("shared/tv/"), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "shared" / "tv"));
    EXPECT_EQ(fs::status(root / "shared").permissions() & fs::perms::group_read, fs::perms::group_read);
}

TEST(AppWorkFolder, AFolderThatCannotBeMadeOrEnteredIsReportedAndTheCurrentFolderStays)
{
    TempDir root;
    ScopedCurrentDir keep(root.path());
    root.write("file", "x");
    for (const fs::path& bad : {root / "file" / "Brevio", root / "file", fs::path()}) {
        const auto failure = enterWorkFolder(bad);
        ASSERT_TRUE(failure.has_value()) << bad;
        EXPECT_FALSE(failure->empty());
        EXPECT_EQ(fs::current_path(), fs::canonical(root.path()));
    }
}

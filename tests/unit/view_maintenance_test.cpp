#include "core/store/errors.h"
#include "core/store/time_shifts.h"
#include "core/view/week_maintenance.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brevio::view {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class MaintenanceTest : public ::testing::Test
{
protected:
    MaintenanceTest()
        : m_cwd(m_dir.path())
    {
    }

    test::TempDir m_dir;
    test::ScopedCurrentDir m_cwd;
};

TEST(WithoutChannel, LeavesOutEveryLineOfExactlyThatNameAndKeepsTheOrder)
{
    const auto removal
        = withoutChannel("Sport:s.txt\r\nSport 2:s2.txt\nNews:n.txt\r\nSport:old.txt\r\nsport:x", "Sport");
    EXPECT_EQ(removal.channelList, "Sport 2:s2.txt\r\nNews:n.txt\r\nsport:x\r\n");
    EXPECT_EQ(removal.channelFiles, (Names{"s.txt", "old.txt"}));
    EXPECT_EQ(removal.removedLines, 2);
}

TEST(WithoutChannel, AnUnknownChannelChangesNothingButTheLineEnds)
{
    const auto removal = withoutChannel("A:a\nB:b", "C");
    EXPECT_EQ(removal.channelList, "A:a\r\nB:b\r\n");
    EXPECT_TRUE(removal.channelFiles.empty());
    EXPECT_EQ(removal.removedLines, 0);
}

TEST(WithoutChannel, ColonsLeaveTheFileNameAndAnEmptyOneNamesNoFile)
{
    const auto removal = withoutChannel("K:a:b.txt\r\nK:\r\nK\r\n", "K");
    EXPECT_EQ(removal.channelList, "");
    EXPECT_EQ(removal.channelFiles, (Names{"ab.txt"}));
    EXPECT_EQ(removal.removedLines, 3);
}

TEST_F(MaintenanceTest, DeletingAChannelRewritesTheListAndRemovesOnlyItsFile)
{
    m_dir.write("12012004/aplp.dat", "Kanal 1:k1.txt\r\nZwei:z.txt\r\n");
    m_dir.write("12012004/k1.txt", "schedule");
    m_dir.write("12012004/z.txt", "schedule");
    m_dir.write("k1.txt", "same name in the working folder");

    EXPECT_EQ(deleteChannel("12012004/", "Kanal 1"), 1);
    EXPECT_EQ(m_dir.read("12012004/aplp.dat"), "Zwei:z.txt\r\n");
    EXPECT_FALSE(m_dir.exists("12012004/k1.txt"));
    EXPECT_TRUE(m_dir.exists("12012004/z.txt"));
    EXPECT_TRUE(m_dir.exists("k1.txt"));
    EXPECT_FALSE(m_dir.exists("12012004/aplp.tmp"));

    // Its file already gone (deleted by hand): not reported.
    m_dir.write("12012004/aplp.dat", "Zwei:z.txt\r\nGone:gone.txt\r\n");
    EXPECT_EQ(deleteChannel("12012004/", "Gone"), 1);
    EXPECT_EQ(m_dir.read("12012004/aplp.dat"), "Zwei:z.txt\r\n");
}

TEST_F(MaintenanceTest, AChannelFileNameLeadingOutsideIsRefusedBeforeAnythingChanges)
{
    const std::string list = "Bad:../victim.txt\r\nZwei:z.txt\r\n";
    m_dir.write("12012004/aplp.dat", list);
    m_dir.write("victim.txt", "keep me");
    EXPECT_THROW(deleteChannel("12012004/", "Bad"), UnsafeNameError);
    EXPECT_EQ(m_dir.read("12012004/aplp.dat"), list);
    EXPECT_TRUE(m_dir.exists("victim.txt"));
}

TEST_F(MaintenanceTest, DeletingAChannelOfAWeekWithoutChannelListIsFileNotFound)
{
    EXPECT_THROW(deleteChannel("12012004/", "Kanal"), IoError);
    EXPECT_FALSE(m_dir.exists("12012004/aplp.dat"));
}

TEST_F(MaintenanceTest, AShiftIsAppendedThenReplacedInPlace)
{
    storeChannelShift("Sport", {-1, 30});
    EXPECT_EQ(m_dir.read("times.dat"), "Sport|-1|30\r\n");

    m_dir.write("times.dat", "Sport|-1|30\r\nSport 2|2|0\r\nNews|1|1\r\nSport|5|5\r\n");
    storeChannelShift("Sport", {0, 0});
    EXPECT_EQ(m_dir.read("times.dat"), "Sport|0|0\r\nSport 2|2|0\r\nNews|1|1\r\nSport|0|0\r\n");
    EXPECT_TRUE(store::TimeShiftTable(m_dir.read("times.dat")).shiftOf("Sport").isZero());

    storeChannelShift("sport", {3, -45});
    EXPECT_EQ(m_dir.read("times.dat"),
              "Sport|0|0\r\nSport 2|2|0\r\nNews|1|1\r\nSport|0|0\r\nsport|3|-45\r\n");
    EXPECT_FALSE(m_dir.exists("times.tmp"));
}

TEST_F(MaintenanceTest, TheWeekListIsWrittenOneWeekALine)
{
    m_dir.write("dats.dat", "05.01.2004\r\n12.01.2004\r\n19.01.2004\r\n");
    storeWeekList({"05.01.2004", "19.01.2004"});
    EXPECT_EQ(m_dir.read("dats.dat"), "05.01.2004\r\n19.01.2004\r\n");
    storeWeekList({});
    EXPECT_EQ(m_dir.read("dats.dat"), "");
}

TEST_F(MaintenanceTest, AWeekFolderGoesWithReadOnlyFilesAndSubfolders)
{
    m_dir.write("12012004/aplp.dat", "K:k.txt\r\n");
    m_dir.write("12012004/k.txt", "x");
    m_dir.write("12012004/sub/deeper.txt", "x");
    fs::permissions(m_dir / "12012004/k.txt", fs::perms::owner_read);
    fs::permissions(m_dir / "12012004/sub", fs::perms::owner_read | fs::perms::owner_exec);
    m_dir.write("19012004/aplp.dat", "K:k.txt\r\n");

    EXPECT_TRUE(deleteWeekFolder("12.01.2004"));
    EXPECT_FALSE(fs::exists(m_dir / "12012004"));
    EXPECT_TRUE(m_dir.exists("19012004/aplp.dat"));
    // Gone already: the deletion failed.
    EXPECT_FALSE(deleteWeekFolder("12.01.2004"));
}

TEST_F(MaintenanceTest, AWeekDateThatNamesNoSafeFolderIsRefused)
{
    m_dir.write("outside/keep.txt", "x");
    EXPECT_THROW(deleteWeekFolder(""), UnsafeNameError);
    EXPECT_THROW(deleteWeekFolder("..x"), UnsafeNameError);
    EXPECT_THROW(deleteWeekFolder("ou/tside/"), UnsafeNameError);
    EXPECT_TRUE(m_dir.exists("outside/keep.txt"));

    // A link in a week folder's place is removed, never followed.
    fs::create_directory_symlink(m_dir / "outside", m_dir / "26012004");
    EXPECT_TRUE(deleteWeekFolder("26.01.2004"));
    EXPECT_FALSE(fs::is_symlink(m_dir / "26012004"));
    EXPECT_TRUE(m_dir.exists("outside/keep.txt"));
}

} // namespace
} // namespace brevio::view

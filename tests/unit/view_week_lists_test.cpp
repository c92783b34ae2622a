#include "core/store/errors.h"
#include "core/view/week_lists.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

namespace brevio::view {
namespace {

using Lines = std::vector<std::string>;

class WeekListsTest : public ::testing::Test
{
protected:
    WeekListsTest()
        : m_cwd(m_dir.path())
    {
    }

    test::TempDir m_dir;
    test::ScopedCurrentDir m_cwd;
};

TEST_F(WeekListsTest, LoadsChannelNamesInOrderAndTheListsThatExist)
{
    m_dir.write("12012004/aplp.dat", "Kanal 1:k1.txt\r\nZwei:z.txt\nA:b:c\r\n");
    m_dir.write("12012004/selvt", "19.45 Film\r\nabout - Kanal 1\r\n20.00 News - Zwei\r\n");
    m_dir.write("12012004/selsledpn", "00.30 Night - A\rnext\n");
    EXPECT_EQ(loadChannelNames("12012004/"), (Lines{"Kanal 1", "Zwei", "A"}));
    SelectedLists lists;
    loadSelectedLists("12012004/", lists);
    EXPECT_TRUE(lists[0].empty());
    EXPECT_EQ(lists[1], (Lines{"19.45 Film", "about - Kanal 1", "20.00 News - Zwei"}));
    EXPECT_EQ(lists[7], (Lines{"00.30 Night - A", "next"}));
}

TEST_F(WeekListsTest, AWeekWithoutChannelListIsFileNotFoundButKeepsItsLists)
{
    m_dir.write("12012004/selpn", "19.45 Film - Kanal\r\n");
    EXPECT_THROW(loadChannelNames("12012004/"), IoError);
    SelectedLists lists;
    loadSelectedLists("12012004/", lists);
    EXPECT_EQ(lists[0], (Lines{"19.45 Film - Kanal"}));
}

// Reading the memory of this process at offset 0 fails whoever we are, root included.
TEST_F(WeekListsTest, AnUnreadableListIsReportedAfterTheOthersAreRead)
{
    m_dir.write("12012004/selpn", "07.00 Mon - K\r\n");
    std::filesystem::create_symlink("/proc/self/mem", m_dir / "12012004/selvt");
    std::filesystem::create_symlink("/proc/self/mem", m_dir / "12012004/selsr");
    m_dir.write("12012004/selsledpn", "00.30 Night - K\r\n");
    SelectedLists lists;
    try {
        loadSelectedLists("12012004/", lists);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.file(), "12012004/selvt"); // the first of the two
    }
    EXPECT_EQ(lists[0], Lines{"07.00 Mon - K"});
    EXPECT_TRUE(lists[1].empty());
    EXPECT_EQ(lists[7], Lines{"00.30 Night - K"});
}

TEST_F(WeekListsTest, SavingWritesEveryLineWithCrLfAndCreatesTheFile)
{
    m_dir.write("12012004/aplp.dat", "");
    saveSelectedList("12012004/", 6, {"19.45 Film", "about - Kanal", "21.00 Late - Zwei"});
    EXPECT_EQ(m_dir.read("12012004/selvs"), "19.45 Film\r\nabout - Kanal\r\n21.00 Late - Zwei\r\n");
    saveSelectedList("12012004/", 6, {});
    EXPECT_TRUE(m_dir.exists("12012004/selvs"));
    EXPECT_EQ(m_dir.read("12012004/selvs"), "");
    SelectedLists lists;
    loadSelectedLists("12012004/", lists);
    EXPECT_TRUE(lists[6].empty());
    EXPECT_THROW(saveSelectedList("19012004/", 0, {"x"}), IoError);
}

TEST_F(WeekListsTest, AChannelWithoutShiftLineOrTimesFileIsNotShifted)
{
    EXPECT_TRUE(readChannelShift("Kanal").isZero());
    m_dir.write("times.dat", "Kanal|2|-15\r\nOther|x|y\r\n");
    const auto shift = readChannelShift("Kanal");
    EXPECT_EQ(shift.hours, 2);
    EXPECT_EQ(shift.minutes, -15);
    EXPECT_TRUE(readChannelShift("kanal").isZero());
    EXPECT_THROW(readChannelShift("Other"), ConvertError);
}

} // namespace
} // namespace brevio::view

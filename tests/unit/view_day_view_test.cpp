#include "core/store/errors.h"
#include "core/view/day_view.h"
#include "core/view/pane_text.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

namespace brevio::view {
namespace {

using Lines = std::vector<std::string>;

const std::string kChannelFile = "Kanal 1, 12.01-18.01\r\n"
                                 "\r\n"
                                 "6.00 Morning\r\n"
                                 "A.B. Author reads\r\n"
                                 "23.30 Film\r\n"
                                 "About a dog\r\n"
                                 " \r\n"
                                 "7:00 Tuesday news\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "\r\n"
                                 "9.00 Sunday mass\r\n"
                                 "\r\n"
                                 "10.00 After the week\r\n";

TEST(ChannelDaysTest, CutsDaysAndShiftsOnlyTimedLines)
{
    DayPanes panes;
    appendChannelDays(panes, {"Header 12.01", "", "6.00 Morning", "About it", "23.30 Film", " ", "7:00 News"},
                      {1, 0});
    EXPECT_EQ(panes[0], (Lines{"", "07:00 6.00 Morning", "About it", "00:30 23.30 Film"}));
    EXPECT_EQ(panes[1], (Lines{" ", "08:00 7:00 News"}));
    for (int day = 2; day < kWeekDays; ++day)
        EXPECT_TRUE(panes[day].empty()) << day;

    // An over-long line is cut after its shifted time, for the panes and the print alike.
    DayPanes cut;
    appendChannelDays(cut, {"", "6.00 " + std::string(3 * kShownLineBytes, 'x')}, {1, 0});
    EXPECT_EQ(cut[0][1], "07:00 6.00 " + std::string(kShownLineBytes - 11, 'x') + kCutMark);
}

TEST(ChannelDaysTest, DropsEverythingFromTheEighthSeparatorOn)
{
    DayPanes panes;
    appendChannelDays(panes, {"", "1", "", "2", "", "3", "", "4", "", "5", "", "6", "", "7", "", "8"}, {});
    EXPECT_EQ(panes[6], (Lines{"", "7"}));
    EXPECT_EQ(panes[0], (Lines{"", "1"}));
}

TEST(ChannelDaysTest, AnImpossibleTimeStopsFillingButKeepsEarlierLines)
{
    DayPanes panes;
    Lines file{"", "6.00 Morning", " ", "7.00 News", "24.10 Broken", "8.00 Later", "", "9.00 Wednesday"};
    EXPECT_THROW(appendChannelDays(panes, file, {0, 10}), InvalidTimeError);
    EXPECT_EQ(panes[0], (Lines{"", "06:10 6.00 Morning"}));
    EXPECT_EQ(panes[1], (Lines{" ", "07:10 7.00 News"}));
    EXPECT_TRUE(panes[2].empty());
}

class LoadChannelDaysTest : public ::testing::Test
{
protected:
    LoadChannelDaysTest()
        : m_cwd(m_dir.path())
    {
        m_dir.write("12012004/aplp.dat",
                    "One:one.txt\r\nTwo:two.txt\r\nThree:three.txt\r\nFour:four.txt\r\n"
                    "Kanal 1:k1.txt\r\nSix:six.txt\r\n");
        m_dir.write("12012004/k1.txt", kChannelFile);
        m_dir.write("12012004/one.txt", "\r\n1.00 One's show\r\n");
    }

    test::TempDir m_dir;
    test::ScopedCurrentDir m_cwd;
    ChannelDays m_days;
};

TEST_F(LoadChannelDaysTest, TheFifthLineGivesTheFifthChannel)
{
    loadChannelDays("12012004/", 4, m_days);
    EXPECT_TRUE(m_days.found);
    EXPECT_EQ(m_days.channelName, "Kanal 1");
    EXPECT_EQ(m_days.panes[0],
              (Lines{"Kanal 1", "", "6.00 Morning", "A.B. Author reads", "23.30 Film", "About a dog"}));
    EXPECT_EQ(m_days.panes[1], (Lines{"Kanal 1", " ", "7:00 Tuesday news"}));
    EXPECT_EQ(m_days.panes[2], (Lines{"Kanal 1", ""}));
    EXPECT_EQ(m_days.panes[6], (Lines{"Kanal 1", "", "9.00 Sunday mass"}));
}

TEST_F(LoadChannelDaysTest, TheLastMatchingTimesLineShiftsTheChannel)
{
    m_dir.write("times.dat", "Kanal 1|5|0\r\nkanal 1|3|0\r\nKanal 1|1|0\r\nOne|x|y\r\n");
    loadChannelDays("12012004/", 4, m_days);
    EXPECT_EQ(
        m_days.panes[0],
        (Lines{"Kanal 1", "", "07:00 6.00 Morning", "A.B. Author reads", "00:30 23.30 Film", "About a dog"}));
}

TEST_F(LoadChannelDaysTest, AnIndexPastTheListFillsNothing)
{
    loadChannelDays("12012004/", 6, m_days);
    EXPECT_FALSE(m_days.found);
    loadChannelDays("12012004/", -1, m_days);
    EXPECT_FALSE(m_days.found);
    EXPECT_TRUE(m_days.panes[0].empty());
}

TEST_F(LoadChannelDaysTest, AMissingChannelListOrFileIsFileNotFound)
{
    try {
        loadChannelDays("19012004/", 0, m_days);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "File not found\n19012004/aplp.dat");
    }
    EXPECT_FALSE(m_days.found);

    EXPECT_THROW(loadChannelDays("12012004/", 1, m_days), IoError);
    EXPECT_EQ(m_days.channelName, "Two");
    for (const auto& pane : m_days.panes)
        EXPECT_TRUE(pane.empty());
}

TEST_F(LoadChannelDaysTest, ABadTimesLineLeavesOnlyTheChannelName)
{
    m_dir.write("times.dat", "One|1|0\r\nKanal 1|1|half\r\n");
    try {
        loadChannelDays("12012004/", 4, m_days);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'half' is not a valid integer value");
    }
    for (const auto& pane : m_days.panes)
        EXPECT_EQ(pane, (Lines{"Kanal 1"}));
}

TEST_F(LoadChannelDaysTest, AFileNameLeadingOutOfTheWeekIsRefused)
{
    m_dir.write("secret.txt", kChannelFile);
    m_dir.write("12012004/aplp.dat", "Evil:../secret.txt\r\nNo file\r\n");
    EXPECT_THROW(loadChannelDays("12012004/", 0, m_days), UnsafeNameError);
    EXPECT_TRUE(m_days.panes[0].empty());
    EXPECT_THROW(loadChannelDays("12012004/", 1, m_days), IoError);
}

} // namespace
} // namespace brevio::view

#include "core/print/print_document.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

namespace brevio::print {
namespace {

using view::DayPanes;

std::string cp(std::string_view utf8)
{
    return utf8ToCp1251(utf8);
}

const DayCaptions kCaptions{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<bool, 7> kAllDays{true, true, true, true, true, true, true};

TEST(SelectedShowsDocumentTest, EmptyListsGiveTheSkeleton)
{
    const Lines expected{cp("Отобранные телепередачи"),
                         "",
                         "Monday",
                         "",
                         "",
                         "Tuesday",
                         "",
                         "",
                         "Wednesday",
                         "",
                         "",
                         "Thursday",
                         "",
                         "",
                         "Friday",
                         "",
                         "",
                         "Saturday",
                         "",
                         "",
                         "Sunday",
                         "",
                         "",
                         cp("Следующий Понедельник"),
                         ""};
    EXPECT_EQ(selectedShowsDocument(kCaptions, {}), expected);
}

TEST(SelectedShowsDocumentTest, EachListUnderItsDayAndTheNextMondayLast)
{
    SelectedLists lists;
    lists[0] = {"7.00 News - Kanal", "description"};
    lists[6] = {"23.00 Film - Kanal"};
    lists[7] = {"0:30 Late - Kanal"};
    const Lines doc = selectedShowsDocument(kCaptions, lists);
    EXPECT_EQ((Lines(doc.begin() + 2, doc.begin() + 7)),
              (Lines{"Monday", "", "7.00 News - Kanal", "description", ""}));
    EXPECT_EQ((Lines(doc.end() - 7, doc.end())),
              (Lines{"Sunday", "", "23.00 Film - Kanal", "", cp("Следующий Понедельник"), "",
                     "0:30 Late - Kanal"}));
}

class WeekScheduleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_work.write("12012004/aplp.dat", "Kanal 1:k1.txt\r\nKanal 2:k2.txt\r\nKanal 3:k3.txt\r\n");
        // Header, seven days and what follows the eighth separator.
        m_work.write("12012004/k1.txt",
                     "Kanal 1 header 9.00\r\n\r\n23.30 Film\r\nAbout a dog\r\n \r\n"
                     "7:00 Tue\r\n\r\n\r\n\r\n\r\n\r\n9.00 Sun\r\n\r\n10.00 After\r\n");
        // Only two days.
        m_work.write("12012004/k2.txt", "\r\n6.00 Mon2\r\n\r\n6.00 Tue2\r\n");
        m_work.write("times.dat", "Kanal 1|1|0\r\n");
    }

    DayPanes collect(const std::vector<bool>& checked)
    {
        DayPanes days;
        collectCheckedChannels("12012004/", checked, days);
        return days;
    }

    test::TempDir m_work;
    test::ScopedCurrentDir m_cd{m_work.path()};
};

TEST_F(WeekScheduleTest, CheckedChannelsInListOrderWithShiftAndWithoutHeaderOrEighthDay)
{
    const DayPanes days = collect({true, true, false});
    EXPECT_EQ(days[0],
              (Lines{"", "Kanal 1", "", "00:30 23.30 Film", "About a dog", "", "Kanal 2", "", "6.00 Mon2"}));
    EXPECT_EQ(days[1], (Lines{"", "Kanal 1", " ", "08:00 7:00 Tue", "", "Kanal 2", "", "6.00 Tue2"}));
    // A channel with fewer days still gives its empty line and name to every day.
    EXPECT_EQ(days[2], (Lines{"", "Kanal 1", "", "", "Kanal 2"}));
    EXPECT_EQ(days[6], (Lines{"", "Kanal 1", "", "10:00 9.00 Sun", "", "Kanal 2"}));
}

TEST_F(WeekScheduleTest, NoChannelCheckedGivesCaptionsAndEmptyLinesOnly)
{
    const DayPanes days = collect({false, false, false});
    const std::array<bool, 7> someDays{true, false, false, false, false, false, true};
    EXPECT_EQ(weekScheduleDocument(kCaptions, someDays, days),
              (Lines{cp("Телепрограмма на неделю"), "", "Monday", "", "", "Sunday", ""}));
}

TEST_F(WeekScheduleTest, OnlyCheckedDaysArePrintedEachClosedByAnEmptyLineButSunday)
{
    const DayPanes days = collect({false, true});
    EXPECT_EQ(weekScheduleDocument(kCaptions, {false, true, false, false, false, false, false}, days),
              (Lines{cp("Телепрограмма на неделю"), "", "Tuesday", "", "", "Kanal 2", "", "6.00 Tue2", ""}));
    const Lines all = weekScheduleDocument(kCaptions, kAllDays, days);
    EXPECT_EQ(all.back(), "Kanal 2");
    EXPECT_EQ(all.size(), 2u + 7 * 2 + 6 + (4 + 4 + 5 * 2));
}

TEST_F(WeekScheduleTest, FailuresOfTheWeekFiles)
{
    // A checklist longer than the channel list asks for no more channels than the list has.
    EXPECT_NO_THROW(collect({false, false, false, true}));

    m_work.write("12012004/aplp.dat", "Kanal 1:k1.txt\r\nKanal 9:missing.txt\r\nBad:../k1.txt\r\n");
    EXPECT_THROW(collect({false, true}), IoError);
    EXPECT_THROW(collect({false, false, true}), UnsafeNameError);

    m_work.write("times.dat", "Kanal 1|x|0\r\n");
    EXPECT_THROW(collect({true}), ConvertError);

    DayPanes days;
    EXPECT_THROW(collectCheckedChannels("01012000/", {}, days), IoError);
}

} // namespace
} // namespace brevio::print

#include "store/errors.h"
#include "store/file_names.h"
#include "store/week_folder.h"

#include <gtest/gtest.h>

namespace brevio::store {

TEST(WeekFolderName, DropsBothSeparatorsOfAWeekDate)
{
    EXPECT_EQ(weekFolderName("12.01.2004"), "12012004/");
    EXPECT_EQ(weekFolderName("05.01.2004"), "05012004/");
    EXPECT_EQ(weekFolderName("05/01/2004"), "05012004/");
}

TEST(WeekFolderName, ShortTextLosesOnlyWhatItHas)
{
    EXPECT_EQ(weekFolderName(""), "");
    EXPECT_EQ(weekFolderName("1"), "1/");
    EXPECT_EQ(weekFolderName("12"), "12/");
    EXPECT_EQ(weekFolderName("12."), "12/");
    EXPECT_EQ(weekFolderName("12.01"), "1201/");
    EXPECT_EQ(weekFolderName("12.01."), "1201/");
    EXPECT_EQ(weekFolderName("12.01.2004 extra"), "12012004 extra/");
}

TEST(WeekFolderName, NoSecondSeparatorWhenItEndsWithOne)
{
    EXPECT_EQ(weekFolderName("ab.cd.ef/"), "abcdef/");
}

TEST(CheckedWeekFolder, PassesOrdinaryDatesAndAllowsTheWorkingFolderForReading)
{
    EXPECT_EQ(checkedWeekFolder("12.01.2004", FolderUse::Write), "12012004/");
    EXPECT_EQ(checkedWeekFolder("", FolderUse::Read), "");
    EXPECT_THROW(checkedWeekFolder("", FolderUse::Write), UnsafeNameError);
    // Only the name that is left counts: these separators are the ones removed.
    EXPECT_EQ(checkedWeekFolder("ab/cd/ef", FolderUse::Write), "abcdef/");
}

TEST(CheckedWeekFolder, RefusesNamesLeadingOutside)
{
    for (const FolderUse use : {FolderUse::Read, FolderUse::Write}) {
        EXPECT_THROW(checkedWeekFolder("..", use), UnsafeNameError);
        EXPECT_THROW(checkedWeekFolder(".", use), UnsafeNameError);
        EXPECT_THROW(checkedWeekFolder("..x", use), UnsafeNameError); // stripped to ".."
        EXPECT_THROW(checkedWeekFolder("a/b.cd.efgh", use), UnsafeNameError);
        EXPECT_THROW(checkedWeekFolder("12.01.20\\4", use), UnsafeNameError);
        EXPECT_THROW(checkedWeekFolder("/etc/passwd", use), UnsafeNameError);
        EXPECT_THROW(checkedWeekFolder(std::string_view("12.01.2\0004", 10), use), UnsafeNameError);
    }
}

TEST(BareFileName, RefusesEmptyDotsSeparatorsAndNul)
{
    EXPECT_NO_THROW(checkBareFileName("k1.txt"));
    EXPECT_NO_THROW(checkBareFileName("..."));
    EXPECT_NO_THROW(checkBareFileName("\xCA\xE0\xED\xE0\xEB 1.txt"));
    for (const std::string_view bad : {std::string_view(""), std::string_view("."), std::string_view(".."),
                                       std::string_view("../dats.dat"), std::string_view("sub/k1.txt"),
                                       std::string_view("..\\k1"), std::string_view("k1\0.txt", 7)}) {
        EXPECT_THROW(checkBareFileName(bad), UnsafeNameError) << bad;
    }
}

TEST(SelectedLists, OneFilePerDayAndTheMondayAfter)
{
    const char* expected[] = {"selpn", "selvt", "selsr", "selcht", "selpt", "selsb", "selvs", "selsledpn"};
    for (int day = 0; day < kSelectedListCount; ++day)
        EXPECT_EQ(selectedListFile(day), expected[day]);
    EXPECT_THROW(selectedListFile(-1), ListIndexError);
    EXPECT_THROW(selectedListFile(kSelectedListCount), ListIndexError);
}

} // namespace brevio::store

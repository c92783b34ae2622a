#include "core/store/errors.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

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

// Why `check` refused its name; nothing when it did not.
std::optional<UnsafeNameError::Reason> refusalOf(const std::function<void()>& check)
{
    try {
        check();
    } catch (const UnsafeNameError& refusal) {
        return refusal.reason();
    }
    return std::nullopt;
}

TEST(CheckedWeekFolder, PassesWeekDatesAndAllowsTheWorkingFolderForReading)
{
    EXPECT_EQ(checkedWeekFolder("12.01.2004", FolderUse::Write), "12012004/");
    EXPECT_EQ(checkedWeekFolder("12-01 2004", FolderUse::Read), "12012004/");
    EXPECT_EQ(checkedWeekFolder("", FolderUse::Read), "");
    EXPECT_THROW(checkedWeekFolder("", FolderUse::Write), UnsafeNameError);
}

TEST(CheckedWeekFolder, RefusesAnythingButAWeekDate)
{
    using namespace std::string_literals;
    for (const FolderUse use : {FolderUse::Read, FolderUse::Write}) {
        for (const std::string& date :
             std::vector<std::string>{"..", ".", "..x", ".s.sh.", "a/b.cd.efgh", "ab/cd/ef", "12/01/2004",
                                      "12.01.20\\4", "/etc/passwd", "12.01.2\0004"s, "14.12\r\n2026", "2026",
                                      "12.01.2004\r", "12.01.2004\x1a", "12.Ab.2004",
                                      "12\xA0"
                                      "01.2004",
                                      "12.01.2004 extra"}) {
            EXPECT_EQ(refusalOf([&] { checkedWeekFolder(date, use); }), UnsafeNameError::Reason::NotAWeekDate)
                << date;
        }
    }
}

TEST(WeekDate, ADayOfTheCalendarUnderAnySeparator)
{
    for (const char* date : {"29.02.2028", "29.02.2000", "31.12.2026", "07:12:2026", "07-12-2026"})
        EXPECT_TRUE(isWeekDate(date)) << date;
    for (const char* date :
         {"29.02.2027", "29.02.1900", "31-04-2026", "00.01.2004", "12.13.2004", "12.00.2004"})
        EXPECT_FALSE(isWeekDate(date)) << date;
    EXPECT_EQ(refusalOf([] { checkedWeekFolder("29.02.2027", FolderUse::Read); }),
              UnsafeNameError::Reason::NotAWeekDate);
}

TEST(SameWeek, DatesThatNameOneFolderAreOneWeek)
{
    EXPECT_TRUE(sameWeek("07.12.2026", "07-12-2026"));
    EXPECT_TRUE(sameWeek("07:12:2026", "07.12.2026"));
    EXPECT_TRUE(sameWeek("", ""));
    EXPECT_FALSE(sameWeek("07.12.2026", "14.12.2026"));
    EXPECT_FALSE(sameWeek("07.12.2026", ""));
    // Texts that are no week dates are the same only when equal, though they lose the same
    // characters.
    EXPECT_FALSE(sameWeek("07a12b2026", "07c12d2026"));
    EXPECT_FALSE(sameWeek("29.02.2027", "29-02-2027"));
}

TEST(BareFileName, RefusesWhatWouldLeaveOrOverwriteTheWeek)
{
    using Reason = UnsafeNameError::Reason;
    using namespace std::string_literals;
    EXPECT_NO_THROW(checkBareFileName("k1.txt"));
    EXPECT_NO_THROW(checkBareFileName("..."));
    EXPECT_NO_THROW(checkBareFileName("aplp.dat.txt"));
    EXPECT_NO_THROW(checkBareFileName("\xCA\xE0\xED\xE0\xEB 1.txt"));
    EXPECT_NO_THROW(checkBareFileName(std::string(255, 'n')));
    const std::map<Reason, std::vector<std::string>> refused{
        {Reason::Empty, {""}},
        {Reason::LeadsOutside, {".", "..", "../dats.dat", "sub/k1.txt", "..\\k1"}},
        {Reason::ControlCharacter, {"k1\0.txt"s, "k1\r\n.txt", "k1\x1a", "k1\x7f"}},
        {Reason::WeekOwnFile, {"aplp.dat", "APLP.TMP", "SelCht", "selsledpn"}}};
    for (const auto& [reason, names] : refused)
        for (const std::string& name : names)
            EXPECT_EQ(refusalOf([&] { checkBareFileName(name); }), reason) << name;
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

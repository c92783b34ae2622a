#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/texts/accessible_names.h"
#include "core/texts/caption_table.h"
#include "core/texts/string_table.h"
#include "core/texts/text_ids.h"

#include <gtest/gtest.h>

namespace brevio {

TEST(Cp1251, RoundTripsEveryAssignedByte)
{
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(byte)), byte) << "byte " << b;
    }
}

TEST(Cp1251, KnowsCyrillicAndPunctuation)
{
    EXPECT_EQ(cp1251ToUtf8("\xCF\xED"), "Пн");
    EXPECT_EQ(cp1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
    EXPECT_EQ(utf8ToCp1251("Сейчас: — «x»"), "\xD1\xE5\xE9\xF7\xE0\xF1: \x97 \xABx\xBB");
}

TEST(Cp1251, UnmappableAndMalformedInputBecomesQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1251("a€b"),
              "a\x88"
              "b");
    EXPECT_EQ(utf8ToCp1251("漢"), "?");
    EXPECT_EQ(utf8ToCp1251("x\xD0"), "x?"); // sequence cut short at the end
    EXPECT_EQ(utf8ToCp1251("\xC3("), "?(");
}

TEST(Cp1251, FoldsLatinAndCyrillicCapitalsOnly)
{
    EXPECT_EQ(foldCase1251(utf8ToCp1251("АЯ ЁЇІҐЎ Zz №1")), utf8ToCp1251("ая ёїіґў zz №1"));
}

TEST(Errors, CarryTheRuntimeWording)
{
    EXPECT_STREQ(IoError(2).what(), "File not found");
    EXPECT_STREQ(IoError(5).what(), "I/O error 5");
    EXPECT_STREQ(IoError::fromErrno(ENOENT).what(), "File not found");
    // The file a failure is about stands under the runtime's text, decoded for the box.
    EXPECT_STREQ(IoError::fromErrno(ENOENT, "12012004/\xEA\xE0\xED\xE0\xEB.txt").what(),
                 "File not found\n12012004/канал.txt");
    EXPECT_STREQ(IoError::fromErrno(EACCES, "times.dat").what(), "I/O error 5\ntimes.dat");
    EXPECT_EQ(IoError::fromErrno(ENOSPC, "dats.dat").file(), "dats.dat");
    EXPECT_STREQ(ConvertError("\xE0\xE1\xE2").what(), "'абв' is not a valid integer value");
    EXPECT_STREQ(InvalidTimeError("25.70").what(), "'25.70' is not a valid time");
    EXPECT_STREQ(ListIndexError(-1).what(), "List index out of bounds (-1)");
    EXPECT_NE(std::string(UnsafeNameError("../x").what()).find("'../x' would lead outside"),
              std::string::npos);
    EXPECT_NE(std::string(UnsafeNameError::noWeekFolder().what()).find("No week is chosen"),
              std::string::npos);
}

TEST(StringTable, HoldsBothLanguagesAtTheirOffsets)
{
    EXPECT_EQ(loadString(2), "View TV Programs");
    EXPECT_EQ(loadString(2 + kRussianOffset), "Просмотр телепрограмм");
    EXPECT_EQ(loadString(36 + kRussianOffset), "Параметры проски"); // the table's own spelling
    EXPECT_EQ(loadString(64),
              "Mark The Channels You Want To Receive And Push The \"Recieve TV Programs\" Button.");
    EXPECT_EQ(loadString(75 + kRussianOffset), "Connection Failed");
    EXPECT_EQ(loadString(114 + kRussianOffset), "Канал успешно удален");
}

TEST(StringTable, EveryTextAndEveryControlsTextIsInBothLanguages)
{
    // English ids 1-199 and 400-599, each with its Russian text 200 further.
    for (const int first : {1, 400}) {
        for (int id = first; id < first + kRussianOffset - 1; ++id)
            EXPECT_EQ(loadString(id).empty(), loadString(id + kRussianOffset).empty()) << id;
    }
    const auto inBoth = [](TextId id) {
        return !textOf(id, kEnglishOffset).empty() && !textOf(id, kRussianOffset).empty();
    };
    for (const CaptionEntry& entry : kCaptionTable)
        EXPECT_TRUE(inBoth(entry.id)) << entry.control;
    for (const AccessibleNameEntry& entry : kAccessibleNames)
        EXPECT_TRUE(inBoth(entry.id) && (!entry.argument || inBoth(*entry.argument))) << entry.control;
}

TEST(StringTable, MissingIdsGiveEmptyText)
{
    for (int id : {0, 1, 8, 9, 45, 82, 201, 400, 1000, -5})
        EXPECT_TRUE(loadString(id).empty()) << id;
}

} // namespace brevio

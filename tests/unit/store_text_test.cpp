#include "core/store/channel_file.h"
#include "core/store/channel_list.h"
#include "core/store/errors.h"
#include "core/store/int_text.h"
#include "core/store/line_reader.h"

#include <gtest/gtest.h>

#include <climits>

namespace brevio::store {

using Lines = std::vector<std::string>;

TEST(LineReader, EndsLinesAtCrLfOrLoneLf)
{
    EXPECT_EQ(splitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("\n"), (Lines{""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(LineReader, SkipsEverythingAfterCrUpToTheNextLf)
{
    EXPECT_EQ(splitLines("a\r\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\rlost\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\rlost to the end"), (Lines{"a"}));
}

TEST(LineReader, CtrlZEndsTheText)
{
    EXPECT_EQ(splitLines("a\r\nb\x1a\r\nc\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\n\x1a"), (Lines{"a"}));
    EXPECT_TRUE(splitLines("\x1a"
                           "a\r\n")
                    .empty());
    // Ctrl-Z inside the part skipped after a CR still ends the text.
    EXPECT_EQ(splitLines("a\rx\x1ay\nb"), (Lines{"a"}));
}

TEST(LineReader, KeepsHighBytesAndNulInsideLines)
{
    const std::string text("\xCA\xE0\xED\xE0\xEB\0x\r\n", 9);
    EXPECT_EQ(splitLines(text), (Lines{std::string("\xCA\xE0\xED\xE0\xEB\0x", 7)}));
}

TEST(PaneLines, EachOfCrLfCrAndLfIsOneBreak)
{
    EXPECT_EQ(splitPaneLines("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitPaneLines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitPaneLines("a\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitPaneLines("a\r\n"), (Lines{"a"}));
    EXPECT_TRUE(splitPaneLines("").empty());
}

TEST(PaneLines, RoundTripWithCrLfJoin)
{
    EXPECT_EQ(joinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinLinesCrLf({}), "");
    for (const Lines& lines : {Lines{}, Lines{""}, Lines{"x", ""}, Lines{"", "", "y"}})
        EXPECT_EQ(splitPaneLines(joinLinesCrLf(lines)), lines);
}

TEST(IntText, AcceptsLeadingBlanksAndOneSign)
{
    EXPECT_EQ(strToInt("30"), 30);
    EXPECT_EQ(strToInt("-1"), -1);
    EXPECT_EQ(strToInt("+5"), 5);
    EXPECT_EQ(strToInt("  -07"), -7);
    EXPECT_EQ(strToInt("2147483647"), INT_MAX);
    EXPECT_EQ(strToInt("-2147483648"), INT_MIN);
}

TEST(IntText, RefusesAnythingElse)
{
    for (const char* bad : {"", " ", "-", "+-1", "1 ", "\t1", "1.5", "$1F", "0x1F", "12a", "- 1",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_FALSE(tryStrToInt(bad).has_value()) << bad;
    }
    try {
        strToInt("1 ");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'1 ' is not a valid integer value");
    }
}

TEST(ChannelLine, SplitsAtTheFirstColon)
{
    const ChannelEntry plain = splitChannelLine("Kanal 1:k1.txt");
    EXPECT_EQ(plain.name, "Kanal 1");
    EXPECT_EQ(plain.fileName, "k1.txt");
    const ChannelEntry twoColons = splitChannelLine("a:b:c");
    EXPECT_EQ(twoColons.name, "a");
    EXPECT_EQ(twoColons.fileName, "b:c");
    const ChannelEntry noColon = splitChannelLine("Kanal");
    EXPECT_EQ(noColon.name, "Kanal");
    EXPECT_EQ(noColon.fileName, "");
}

TEST(DayBlocks, HeaderIsDroppedAndEachBlockStartsWithItsSeparator)
{
    const auto days = dayBlocks({"Header", "more header", "", "8.00 News", "desc", " ", "9.00 Film"});
    EXPECT_EQ(days[0], (Lines{"", "8.00 News", "desc"}));
    EXPECT_EQ(days[1], (Lines{" ", "9.00 Film"}));
    for (int d = 2; d < 7; ++d)
        EXPECT_TRUE(days[d].empty()) << d;
}

TEST(DayBlocks, LeadingBlankLineOpensMondayAtOnce)
{
    const auto days = dayBlocks({"", "7.00 Morning"});
    EXPECT_EQ(days[0], (Lines{"", "7.00 Morning"}));
}

TEST(DayBlocks, TwoSpacesAndTabsAreNoSeparator)
{
    EXPECT_TRUE(isDaySeparator(""));
    EXPECT_TRUE(isDaySeparator(" "));
    EXPECT_FALSE(isDaySeparator("  "));
    EXPECT_FALSE(isDaySeparator("\t"));
    const auto days = dayBlocks({"", "a", "  ", "b"});
    EXPECT_EQ(days[0], (Lines{"", "a", "  ", "b"}));
    EXPECT_TRUE(days[1].empty());
}

TEST(DayBlocks, FourSeparatorsFillMondayToThursday)
{
    const auto days = dayBlocks({"", "mo", "", "tu", "", "we", "", "th"});
    EXPECT_EQ(days[3], (Lines{"", "th"}));
    EXPECT_TRUE(days[4].empty() && days[5].empty() && days[6].empty());
}

TEST(DayBlocks, LinesFromTheEighthSeparatorOnBelongToNoDay)
{
    Lines lines;
    for (int d = 0; d < 9; ++d) {
        lines.push_back("");
        lines.push_back("day" + std::to_string(d));
    }
    const auto days = dayBlocks(lines);
    EXPECT_EQ(days[6], (Lines{"", "day6"}));
    for (const auto& day : days)
        EXPECT_EQ(day.size(), 2u);
}

} // namespace brevio::store

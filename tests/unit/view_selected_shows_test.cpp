#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/file_names.h"
#include "core/texts/string_table.h"
#include "core/view/selected_shows.h"
#include "core/view/text_search.h"

#include <gtest/gtest.h>

namespace brevio::view {
namespace {

using Lines = std::vector<std::string>;

// A Monday pane: channel name, separator, shows rising through the evening and past midnight.
const Lines kPane{
    "Kanal", // 0, starts at 0
    "", // 1, 6
    "19.30 News", // 2, 7
    "19.45 Film", // 3, 18
    "A film about", // 4, 29
    "a dog", // 5, 42
    "20.30 Sport", // 6, 48
    "23.30 Late", // 7, 60
    "00.30 Night", // 8, 71
};

int startOf(int line)
{
    return lineStart(kPane, line);
}

TEST(PaneTextTest, CountsOnePositionPerLineBreak)
{
    EXPECT_EQ(startOf(3), 18);
    EXPECT_EQ(lineAt(kPane, 18), 3);
    EXPECT_EQ(lineAt(kPane, 17), 2); // the end of a line belongs to it
    EXPECT_EQ(lineAt(kPane, 1000), 8);
    EXPECT_EQ(selectedText(kPane, {18, 23}), "19.45 Film\nA film about");
    EXPECT_EQ(paneLines(paneText(kPane)), kPane);
    EXPECT_TRUE(paneLines("").empty());
    EXPECT_EQ(lineText(kPane, 9), "");
}

// What a pane lays out is bounded: lines at the limit stay whole, longer ones end in the mark,
// and a text past its limit ends with a line holding the mark alone.
TEST(PaneTextTest, ShownTextCutsOverLongLinesAndTexts)
{
    const std::string limit(kShownLineBytes, 'x');
    const std::string mark(1, kCutMark);
    const struct
    {
        std::vector<std::string> lines;
        std::string shown;
    } cases[] = {
        {{}, ""},
        {{"a", "", "b"}, "a\n\nb"},
        {{limit}, limit},
        {{limit + "y", "b"}, limit + mark + "\nb"},
        {{std::string(3 * kShownLineBytes, 'z')}, std::string(kShownLineBytes, 'z') + mark},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownPaneText(c.lines), c.shown);
        EXPECT_EQ(paneLines(c.shown).size(), c.lines.size());
        for (std::string line : c.lines) {
            cutToShownLength(line);
            EXPECT_NE(c.shown.find(line), std::string::npos);
        }
    }

    const std::vector<std::string> many(3 * kShownTextBytes / kShownLineBytes, limit);
    const std::string shown = shownPaneText(many);
    EXPECT_GE(shown.size(), kShownTextBytes);
    EXPECT_LE(shown.size(), kShownTextBytes + kShownLineBytes + 2);
    EXPECT_TRUE(shown.ends_with("\n" + mark));
}

TEST(ShowBlockTest, AClickAnywhereInAShowHighlightsTheWholeShow)
{
    const Selection film{startOf(3), startOf(5) + 5 - startOf(3)};
    EXPECT_EQ(showBlockAt(kPane, startOf(3)), film);
    EXPECT_EQ(showBlockAt(kPane, startOf(5) + 2), film);
    // The last show runs to the end of the pane.
    EXPECT_EQ(showBlockAt(kPane, startOf(8) + 3), (Selection{startOf(8), 11}));
}

TEST(ShowBlockTest, TheHeaderAndEmptyLinesHighlightNothing)
{
    EXPECT_FALSE(showBlockAt(kPane, 2).has_value());
    EXPECT_FALSE(showBlockAt(kPane, startOf(1)).has_value());
    EXPECT_FALSE(showBlockAt({"Kanal", " ", "no show yet"}, 8).has_value());
}

class AddShowTest : public ::testing::Test
{
protected:
    AddShowResult add(int line, bool withEndTime = false)
    {
        const Selection block = *showBlockAt(kPane, startOf(line));
        return add(block, withEndTime);
    }

    AddShowResult add(Selection highlight, bool withEndTime = false)
    {
        AddShowResult result;
        addShowToList({kPane, highlight, "Kanal", withEndTime, m_same, m_next}, result);
        return result;
    }

    Lines m_same;
    Lines m_next;
};

TEST_F(AddShowTest, RefusesAnEmptyHighlightOrOneWithoutATime)
{
    auto result = add(Selection{startOf(3), 0});
    EXPECT_EQ(result.outcome, AddOutcome::NothingHighlighted);
    EXPECT_FALSE(result.markBold);
    result = add(Selection{startOf(4), 6});
    EXPECT_EQ(result.outcome, AddOutcome::NotATime);
    EXPECT_FALSE(result.markBold);
}

TEST_F(AddShowTest, TheFirstShowGoesToTheSameDay)
{
    const auto result = add(2);
    EXPECT_EQ(result.outcome, AddOutcome::Added);
    EXPECT_TRUE(result.markBold);
    EXPECT_EQ(result.target, TargetList::SameDay);
    EXPECT_EQ(result.targetLines, (Lines{"19.30 News - Kanal"}));

    // The channel name on line 0 is no show, even when it looks like a late one.
    const Lines pane{"21.00 TV", "", "06.00 Morning"};
    AddShowResult early;
    addShowToList({pane, {10, 13}, "21.00 TV", false, m_same, m_next}, early);
    EXPECT_EQ(early.target, TargetList::SameDay);
}

TEST_F(AddShowTest, AShowAfterMidnightGoesToTheNextDay)
{
    const auto result = add(8);
    EXPECT_EQ(result.target, TargetList::NextDay);
    EXPECT_EQ(result.targetLines, (Lines{"00.30 Night - Kanal"}));
    EXPECT_EQ(store::selectedListFile(targetListIndex(6, result.target)), "selsledpn");
    EXPECT_EQ(store::selectedListFile(targetListIndex(2, result.target)), "selcht");
    // Unless nothing above it starts later.
    EXPECT_EQ(add(7).target, TargetList::SameDay);
}

TEST_F(AddShowTest, InsertsBeforeEqualOrLaterTimesAndKeepsUntimedLinesInPlace)
{
    m_same = {"Evening:", "19:30 Quiz - Two", "19:45 Talk - Three", "21.00 Late - Four"};
    const auto result = add(Selection{startOf(3), 10});
    EXPECT_EQ(result.targetLines,
              (Lines{"Evening:", "19:30 Quiz - Two", "19.45 Film - Kanal", "19:45 Talk - Three",
                     "21.00 Late - Four"}));
}

TEST_F(AddShowTest, AHighlightOverSeveralLinesBecomesSeveralListLines)
{
    m_same = {"21.00 Late - Four"};
    const auto result = add(3);
    EXPECT_EQ(result.targetLines,
              (Lines{"19.45 Film", "A film about", "a dog - Kanal", "21.00 Late - Four"}));
}

TEST_F(AddShowTest, EndTimeComesFromTheLineAfterTheStartLine)
{
    EXPECT_EQ(add(6, true).targetLines, (Lines{"20.30 - 23.30 20.30 Sport - Kanal"}));
    // The next line is a description: no end time, nothing reported.
    EXPECT_EQ(add(3, true).targetLines, (Lines{"19.45 Film", "A film about", "a dog - Kanal"}));
    // The last show has no line after it.
    EXPECT_EQ(add(8, true).targetLines, (Lines{"00.30 Night - Kanal"}));
}

TEST_F(AddShowTest, FindsDuplicatesAsCaseBlindSubstrings)
{
    m_same = {"19.30 NEWS - KANAL 2"};
    EXPECT_EQ(add(2).outcome, AddOutcome::Duplicate);

    const Lines pane{"Kanal", "", utf8ToCp1251("19.30 Новости")};
    m_same = {utf8ToCp1251("19.30 НОВОСТИ - Kanal")};
    AddShowResult result;
    addShowToList({pane, {7, 13}, "Kanal", false, m_same, m_next}, result);
    EXPECT_EQ(result.outcome, AddOutcome::Duplicate);
    EXPECT_FALSE(result.markBold);
}

TEST_F(AddShowTest, ADuplicateInTheNextDayListStillMarksTheShow)
{
    m_next = {"00.30 night - kanal"};
    const auto result = add(8);
    EXPECT_EQ(result.outcome, AddOutcome::Duplicate);
    EXPECT_TRUE(result.markBold);
    EXPECT_TRUE(result.targetLines.empty());
}

TEST_F(AddShowTest, AnImpossibleTimeInTheListAbandonsTheAdd)
{
    m_same = {"20.00 Mid - One", "25.00 Broken - Two"};
    AddShowResult result;
    EXPECT_THROW(
        addShowToList({kPane, *showBlockAt(kPane, startOf(6)), "Kanal", false, m_same, m_next}, result),
        InvalidTimeError);
    EXPECT_TRUE(result.markBold);
    EXPECT_NE(result.outcome, AddOutcome::Added);
    EXPECT_TRUE(result.targetLines.empty());
    // It does not stand in the way of an entry that goes in before it.
    EXPECT_EQ(add(2).targetLines.front(), "19.30 News - Kanal");
}

TEST_F(AddShowTest, AnImpossibleStartTimeIsRefusedEvenForAnEmptyList)
{
    const Lines pane{"Kanal", "", "26.10 Odd"};
    AddShowResult result;
    EXPECT_THROW(addShowToList({pane, {7, 9}, "Kanal", false, m_same, m_next}, result), InvalidTimeError);
    EXPECT_TRUE(result.markBold);
}

TEST(CaseBlindSearchTest, FoldsLatinAndCyrillicCapitals)
{
    EXPECT_TRUE(containsIgnoringCase(utf8ToCp1251("Новый ФИЛЬМ про ЁЖИКА"), utf8ToCp1251("фильм про ёжика")));
    EXPECT_TRUE(containsIgnoringCase(utf8ToCp1251("ЇЖАК І ҐАНОК"), utf8ToCp1251("їжак і ґанок")));
    EXPECT_FALSE(containsIgnoringCase(utf8ToCp1251("фильм"), utf8ToCp1251("фильмы")));
    EXPECT_FALSE(containsIgnoringCase(utf8ToCp1251("Ель"), utf8ToCp1251("ёль")));
}

TEST(RemoveEntryTest, RemovesTheLineAtTheCaret)
{
    const Lines list{"19.45 Film", "A film about", "a dog - Kanal", "21.00 Late - Four"};
    const auto entry = entryAt(list, 14);
    EXPECT_EQ(entry.line, 1);
    EXPECT_EQ(entry.text, "A film about");
    EXPECT_EQ(withoutLine(list, entry.line), (Lines{"19.45 Film", "a dog - Kanal", "21.00 Late - Four"}));
    EXPECT_EQ(withoutLine(list, 4), list);
    EXPECT_TRUE(withoutLine({}, entryAt({}, 0).line).empty());
}

TEST(MessagesTest, ComeFromTheStringTableInTheChosenLanguage)
{
    EXPECT_EQ(addShowMessage(AddOutcome::NothingHighlighted, kEnglishOffset),
              std::string(loadString(105)) + "\r\n" + std::string(loadString(106)));
    EXPECT_EQ(addShowMessage(AddOutcome::Duplicate, kRussianOffset), loadString(308));
    EXPECT_EQ(addShowMessage(AddOutcome::Added, kRussianOffset), "");
    EXPECT_EQ(removalQuestion(utf8ToCp1251("19.45 Фильм - Kanal"), kRussianOffset),
              "Удалить\r\n\"19.45 Фильм - Kanal\"\r\nиз списка отобраных передач?");
}

} // namespace
} // namespace brevio::view

// The week search: what it finds, on which day and at which time it says, in which order, and
// when the week it read is out of date; the week read once for the windows open side by side.
#include "core/store/errors.h"
#include "core/texts/string_table.h"
#include "core/view/time_text.h"
#include "core/view/week_search.h"
#include "core/view/week_shows.h"
#include "support/core/week_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace brevio::view {
namespace {

using test::cp;
using test::dayFile;

// Three channels of 07.12.2026: one as its file says, one two hours ahead, one two hours
// behind, and a channel whose file is missing.
class WeekSearchTest : public ::testing::Test
{
protected:
    WeekSearchTest()
        : m_cd(m_work.path())
    {
        m_work.write("times.dat", cp("Вперёд|2|0\r\nПозже|-2|0\r\n"));
        m_work.write("07122026/aplp.dat",
                     cp("Первый:p.txt\r\nВперёд:a.txt\r\nНет файла:gone.txt\r\nПозже:l.txt\r\n"));
        m_work.write("07122026/p.txt",
                     dayFile({{"06.00 НОВОСТИ", "12:00 Ёлки-палки", "23.30 Фильм",
                               "Фильм про ёжика, фильм о друзьях", "1.10 Ночные новости"},
                              {"06.00 Новости дня"}}));
        m_work.write("07122026/a.txt", dayFile({{"07.00 Утро", "23.00 Поздние новости"}}));
        m_work.write("07122026/l.txt", dayFile({{"01.30 Ночное кино", "06.00 Новости"}}));
    }

    std::vector<std::string> found(const WeekSearch& week, const std::string& utf8Query)
    {
        std::vector<std::string> rows;
        for (const std::uint32_t i : week.find(cp(utf8Query))) {
            const FoundShow& show = week.show(i);
            rows.push_back(airDayText(airDay(show.airMinutes), "07.12.2026", kEnglishOffset) + " "
                           + formatTime(shownMinutes(show.airMinutes)) + " "
                           + cp1251ToUtf8(week.channelName(show.channel)) + ": " + cp1251ToUtf8(week.title(i))
                           + " @" + std::to_string(show.day) + "/" + std::to_string(show.line));
        }
        return rows;
    }

    test::TempDir m_work;
    test::ScopedCurrentDir m_cd;
};

TEST_F(WeekSearchTest, FindsWhatTheDayViewShowsOnTheDayItAirsInOrderOfAiring)
{
    const WeekSearch week("07122026/");
    // Each row: the day and time the results show, the channel, the heading, and where the day
    // view has the show (its pane and line).
    struct Case
    {
        const char* query;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        // Letter case ignored, Cyrillic included; a shift moves the time and, past midnight, the
        // day; a show after midnight in Monday's pane airs on Tuesday.
        {"новости",
         {"Monday 07.12 04:00 Позже: Новости @0/3", "Monday 07.12 06:00 Первый: НОВОСТИ @0/2",
          "Tuesday 08.12 01:00 Вперёд: Поздние новости @0/3",
          "Tuesday 08.12 01:10 Первый: Ночные новости @0/6", "Tuesday 08.12 06:00 Первый: Новости дня @1/2"}},
        // A shift back before Monday's midnight lands on the Sunday before the week.
        {"КИНО", {"Sunday 06.12 23:30 Позже: Ночное кино @0/2"}},
        // "ё" and "е" are one letter either way round; descriptions count, once per show.
        {"елки", {"Monday 07.12 12:00 Первый: Ёлки-палки @0/3"}},
        {"ЁЖИК", {"Monday 07.12 23:30 Первый: Фильм @0/4"}},
        {"фильм", {"Monday 07.12 23:30 Первый: Фильм @0/4"}},
        // A time is no part of the text searched; a query across lines finds nothing.
        {"06.00", {}},
        {"фильм\nпро", {}},
        {"  ", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(found(week, c.query), c.rows) << c.query;

    // The channel without its file is named, the others are searched.
    ASSERT_EQ(week.problems().size(), 1u);
    EXPECT_TRUE(week.problems()[0].starts_with("Нет файла: ")) << week.problems()[0];
}

TEST_F(WeekSearchTest, KnowsWhenTheWeekItReadHasChanged)
{
    const WeekSearch week("07122026/");
    EXPECT_TRUE(week.upToDate());
    m_work.write("07122026/gone.txt", dayFile({{"08.00 Пришёл"}}));
    EXPECT_FALSE(week.upToDate());
    const WeekSearch again("07122026/");
    EXPECT_TRUE(again.problems().empty());
    m_work.write("times.dat", cp("Вперёд|3|0\r\n"));
    EXPECT_FALSE(again.upToDate());

    EXPECT_THROW(WeekSearch("14122026/"), IoError);
}

TEST_F(WeekSearchTest, WindowsShareTheWeekReadWhileOneHoldsItAndItIsCurrent)
{
    m_work.write("14122026/aplp.dat", cp("Второй:v.txt\r\n"));
    WeekCache cache;
    auto first = cache.week("07122026/");
    EXPECT_EQ(cache.week("07122026/"), first);
    m_work.write("07122026/gone.txt", dayFile({{"08.00 Пришёл"}}));
    auto changed = cache.week("07122026/");
    EXPECT_NE(changed, first);
    EXPECT_TRUE(changed->problems().empty());
    EXPECT_EQ(cache.week("14122026/")->channels().size(), 1U);
    // Nothing is kept once no window holds it.
    const std::weak_ptr<const LoadedWeek> kept = changed;
    first.reset();
    changed.reset();
    EXPECT_TRUE(kept.expired());
}

TEST(WeekDayTextTest, NamesTheDayInTheInterfaceLanguage)
{
    EXPECT_EQ(airDayText(-1, "07.12.2026", kRussianOffset), "Воскресенье 06.12");
    EXPECT_EQ(airDayText(7, "07.12.2026", kEnglishOffset), "Monday 14.12");
    EXPECT_EQ(airDayText(2, "28-12-2026", kEnglishOffset), "Wednesday 30.12");
    EXPECT_EQ(airDayText(5, "28.12.2026", kEnglishOffset), "Saturday 02.01");
    // A week date that names no day gives the weekday alone.
    EXPECT_EQ(airDayText(1, "31.02.2026", kEnglishOffset), "Tuesday");
}

} // namespace
} // namespace brevio::view

// The news feeds turned into the news pane's lines.
#include "core/news/feeds.h"
#include "core/news/news_sources.h"
#include "core/news/parse_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace brevio::news;

namespace {

std::string arrays(const std::string& ids, const std::string& titles, const std::string& dates,
                   const std::string& subs)
{
    return "var __kp_ids = new Array ( " + ids + " );\nvar __kp_titles = new Array (" + titles
        + ");\nVAR __KP_DATES = NEW ARRAY (" + dates + ");\nvar __kp_subs = new Array (" + subs + ");\n";
}

// n quoted texts "<stem>1", ... joined by commas.
std::string quoted(const std::string& stem, int n)
{
    std::string list;
    for (int i = 1; i <= n; ++i)
        list += (i > 1 ? ", '" : "'") + stem + std::to_string(i) + "'";
    return list;
}

std::string numbers(int n)
{
    std::string list;
    for (int i = 1; i <= n; ++i)
        list += (i > 1 ? ", " : "") + std::to_string(1000 + i);
    return list;
}

const FeedSite kSite{"Site", "http://site.example/"};

} // namespace

TEST(NewsFeedsColumn, TwentyItemsTheLastIdTakesTheRestAndLinksBecomeHostAndCaption)
{
    const std::string subs
        = "'<A target=_blank href=\"http://site.example/politics/\">Politics</a>', " + quoted("sub", 19);
    const std::string script = arrays(numbers(21), quoted("title", 20), quoted("date", 20), subs);
    const auto lines = kornetLines(script, kSite, "http://site.example/jsclick.php?arid=").lines;

    ASSERT_EQ(lines.size(), 4u + 20u * 4u + 2u);
    EXPECT_EQ(lines[0], "Site");
    EXPECT_EQ(lines[1], "http://site.example/");
    EXPECT_EQ(lines[2], data("(двадцать последних новостей)"));
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "(date1) title1");
    EXPECT_EQ(lines[5], "http://site.example/jsclick.php?arid=1001");
    EXPECT_EQ(lines[6], "(site.example/politics)Politics");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "(date2) title2");
    EXPECT_EQ(lines[10], "sub1");
    // The twentieth id keeps everything after the nineteenth comma.
    EXPECT_EQ(lines[4 + 19 * 4 + 1], "http://site.example/jsclick.php?arid=1020, 1021");
    EXPECT_EQ(lines[84], data("При использовании информации, обязательна ссылка на"));
    EXPECT_EQ(lines[85], "Site ( http://site.example/ )");
}

TEST(NewsFeedsColumn, ShortArraysStillGiveTwentyItemsWithEmptyFields)
{
    const auto lines = kornetLines(arrays("7", "'only'", "'d'", "'s'"), kSite, "x?arid=").lines;
    ASSERT_EQ(lines.size(), 86u);
    EXPECT_EQ(lines[4], "(d) only");
    // Without a comma the lone id is the rest that the twentieth item takes.
    EXPECT_EQ(lines[5], "x?arid=");
    EXPECT_EQ(lines[8], "() ");
    EXPECT_EQ(lines[81], "x?arid=7");
}

TEST(NewsFeedsSports, QuotedIdsLoseTheirQuotesAndTheSubLeads)
{
    std::string ids;
    for (int i = 1; i <= 20; ++i)
        ids += (i > 1 ? ", '" : "'") + std::string("http://sport.example/n/") + std::to_string(i) + "'";
    const auto lines
        = uasportLines(arrays(ids, quoted("t", 20), quoted("d", 20), quoted("football", 20)), kSite).lines;
    ASSERT_EQ(lines.size(), 86u);
    EXPECT_EQ(lines[2], data("(двадцать последних новостей спорта)"));
    EXPECT_EQ(lines[4], "(football1) t1");
    EXPECT_EQ(lines[5], "http://sport.example/n/1");
    EXPECT_EQ(lines[6], "d1");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[81], "http://sport.example/n/20");
}

TEST(NewsFeedsAgency, EverySectionIsAnItemAndTheLastHasNoTopic)
{
    std::string ini;
    for (int i = 1; i <= 10; ++i)
        ini += "[item" + std::to_string(i) + "]\r\nhead=Head " + std::to_string(i)
            + "\r\nbody=Body&nbsp;<p>more<BR>end\r\ndate=01.01.2026\r\nurl=http://o.example/"
            + std::to_string(i) + "\r\ntopic=Topic " + std::to_string(i) + "\r\n";
    const auto lines = oreandaLines(ini, "http://o.example/").lines;
    EXPECT_EQ(lines[0], data("РИА \"Ореанда\" - десять последних новостей"));
    EXPECT_EQ(lines[1], "http://o.example/");
    EXPECT_EQ(lines[2], "");
    int items = 0;
    for (const std::string& line : lines)
        items += line == "=====";
    EXPECT_EQ(items, 10);
    // The first section's topic is the text up to the next section's "[".
    const std::vector<std::string> first(lines.begin() + 3, lines.begin() + 14);
    EXPECT_EQ(first,
              (std::vector<std::string>{"=====", "Topic 1", "Head 1", "", "Body", "more", "end", "",
                                        "01.01.2026", "http://o.example/1", ""}));
    // No "[" after the last section: its topic is empty.
    const auto last = std::find(lines.rbegin(), lines.rend(), "=====");
    EXPECT_EQ(*(last.base()), "Head 10");
}

TEST(NewsFeedsColumnAndPages, TheReplyStandsAsReceivedBetweenTheFixedLines)
{
    const auto ezhe
        = ezheLines("first\r\nsecond", "http://e.example/pravda/", "Editor", "ed@e.example").lines;
    EXPECT_EQ(ezhe,
              (std::vector<std::string>{"EZHEpravda", "http://e.example/pravda/",
                                        data("(информация добавляется в течение суток)"), "", "", "first",
                                        "second", data("При использовании информации, обязательна ссылка на"),
                                        data("ЕЖЕправду ( http://e.example/pravda/ )"),
                                        data("Ответственный редактор - Editor ( ed@e.example )")}));

    const std::string koi8 = "document.write('\xF0\xD2\xC9');";
    const auto podrobn = podrobnLines(koi8, kSite).lines;
    ASSERT_EQ(podrobn.size(), 7u);
    EXPECT_EQ(podrobn[4], koi8);
    EXPECT_EQ(podrobn[6], "Site ( http://site.example/ )");
    EXPECT_EQ(pageLines("<html>\n<b>x</b>\n</html>").lines,
              (std::vector<std::string>{"<html>", "<b>x</b>", "</html>"}));
}

TEST(NewsItems, AColumnWithoutItsTitlesArrayHoldsNoItems)
{
    // Quoted texts where the titles should be are shown as they fall, but they are no news: the
    // saved copy stays.
    std::string script = arrays(numbers(20), quoted("t", 20), quoted("d", 20), quoted("s", 20));
    script.replace(script.find("__kp_titles = new Array"), 23, "__kp_titles = new0Array");
    for (const auto& items : {kornetLines(script, kSite, "x?arid=").items, uasportLines(script, kSite).items})
        EXPECT_EQ(items, 0u);
    EXPECT_EQ(kornetLines(script, kSite, "x?arid=").lines.size(), 86u);
}

TEST(NewsItems, RepliesWithoutTheSourcesMarkersHoldNoItems)
{
    const SourceContext context{"http://src.example/", "09.12.2026", "Site", "", ""};
    for (const NewsSource& source : newsSources()) {
        EXPECT_EQ(source.lines("", context).items, 0u) << source.stem;
        EXPECT_EQ(source.lines("\r\n \t", context).items, 0u) << source.stem;
        // A random reply is news only for the sources shown as they are.
        const bool shownWhole = source.surface == Surface::Browser || source.stem == "ezhe";
        EXPECT_EQ(source.lines(std::string(5000, 'z'), context).items, shownWhole ? 1u : 0u) << source.stem;
    }
}

TEST(NewsItems, AReplyThatIsNoTextIsNoNewsEvenShownWhole)
{
    using namespace std::string_literals;
    std::mt19937 random(7);
    std::string noise(5000, 'x');
    for (char& byte : noise)
        byte = static_cast<char>(random() % 255 + 1); // no NUL
    // One control byte to 31 text bytes is still text; to 30 it is not.
    const std::string stray = std::string(31, 'a') + "\x1b";
    const std::vector<std::pair<std::string, bool>> replies{{"one\ttwo\r\nthree\fpage\n", true},
                                                            {stray, true},
                                                            {stray.substr(1), false},
                                                            {"news of the day\0"s, false},
                                                            {noise, false}};
    const SourceContext context{"http://src.example/", "09.12.2026", "Site", "", ""};
    for (const NewsSource& source : newsSources()) {
        if (source.surface == Surface::Browser || source.stem == "ezhe") {
            for (const auto& [reply, news] : replies)
                EXPECT_EQ(source.lines(reply, context).items, news ? 1u : 0u) << source.stem << ": " << reply;
        }
    }
}

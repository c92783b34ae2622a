// The parse vocabulary, the pane's line rule, the saved-news RTF files and the link rules.
#include "core/news/news_lines.h"
#include "core/news/parse_text.h"
#include "core/news/rtf.h"
#include "core/news/web_address.h"

#include <gtest/gtest.h>

using namespace brevio::news;

TEST(NewsParseText, CutAfterKeepsTheTextAfterTheMarkerIgnoringCaseUnlessExact)
{
    ParseText text("<TD Align=Center>12<td>");
    EXPECT_TRUE(text.cutAfter("<td align=center>"));
    EXPECT_EQ(text.rest(), "12<td>");

    ParseText exact("<Value>1</Value><value>2");
    EXPECT_TRUE(exact.cutAfter("<value>", Match::Exact));
    EXPECT_EQ(exact.rest(), "2");

    // Cyrillic markers are lower-cased too (windows-1251).
    const std::string cyrillicText = data("Курс: ДОЛЛАР");
    ParseText cyrillic(cyrillicText);
    EXPECT_TRUE(cyrillic.cutAfter(data("курс: ")));
    EXPECT_EQ(cyrillic.rest(), data("ДОЛЛАР"));
}

TEST(NewsParseText, AnAbsentMarkerDropsOneCharacterLessThanItsLength)
{
    ParseText text("abcdefgh");
    EXPECT_FALSE(text.cutAfter("XYZW"));
    EXPECT_EQ(text.rest(), "defgh");
    ParseText shortText("ab");
    EXPECT_FALSE(shortText.cutAfter("<NumCode>", Match::Exact));
    EXPECT_EQ(shortText.rest(), "");
    ParseText single("abc");
    EXPECT_FALSE(single.cutAfter("["));
    EXPECT_EQ(single.rest(), "abc");
}

TEST(NewsParseText, RememberedPlacesAgreeWithAFreshSearchAtEveryStep)
{
    // Steps that move past, onto and just before remembered finds, in both match modes.
    const std::string page = "<a>1<A>22<b>3<a>4<x><a>";
    ParseText text(page);
    std::size_t consumed = 0;
    const auto expectFresh = [&](std::string_view marker, Match match) {
        const std::size_t fresh = findText(std::string_view(page).substr(consumed), marker, match);
        EXPECT_EQ(text.find(marker, match), fresh) << marker << " at " << consumed;
    };
    for (const std::size_t step : {0u, 1u, 3u, 1u, 4u, 2u, 5u, 1u, 9u}) {
        text.skip(step);
        consumed = std::min(consumed + step, page.size());
        EXPECT_EQ(text.rest(), std::string_view(page).substr(consumed));
        for (const std::string_view marker : {"<a>", "<b>", "<x>", "<y>", "<"}) {
            expectFresh(marker, Match::IgnoreCase);
            expectFresh(marker, Match::Exact);
        }
    }
}

TEST(NewsParseText, TakeReplaceAndTrim)
{
    ParseText text("USD<td>x);y");
    EXPECT_EQ(text.takeUpTo(), "USD");
    EXPECT_EQ(text.takeUpTo(");"), "USD<td>x");
    EXPECT_EQ(text.takeUpTo("no stop"), "");
    EXPECT_EQ(takeUpTo("USD<td>"), "USD");
    EXPECT_EQ(takeUpTo("no stop here"), "");
    EXPECT_EQ(takeUpTo("a);b", ");"), "a");
    // Replacements are not scanned again.
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("1&nbsp;2&nbsp;", "&nbsp", ""), "1;2;");
    EXPECT_EQ(trim("\t\r\n x y \x01"), "x y");
    EXPECT_EQ(trimSpaces(" \tx\t "), "\tx\t");
    EXPECT_EQ(trimSpaces("   "), "");
}

TEST(NewsLinesTest, EveryLineBreakInAnAddedStringStartsALine)
{
    NewsLines pane;
    pane.add("one\r\ntwo\r\n");
    pane.add("three\nfour\rfive");
    pane.addEmpty();
    EXPECT_EQ(pane.lines(), (std::vector<std::string>{"one", "two", "", "three", "four", "five", ""}));
}

TEST(NewsRtf, LinesSurviveARoundTripWithCyrillicTabsAndRtfSpecials)
{
    const std::vector<std::string> lines = {
        data("Курсы валют"), "", "USD\t840\t{1}\\", data("Ёлка ё №"), "\x98\xA0", "", "",
    };
    const std::string rtf = linesToRtf(lines);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_EQ(rtf.find_first_of(std::string("\x80\xFF", 2)), std::string::npos) << "bytes must be escaped";
    EXPECT_NE(rtf.find("\\'ca\\'f3\\'f0"), std::string::npos); // "Кур"
    EXPECT_EQ(readNewsText(rtf), lines);
    EXPECT_EQ(readNewsText(linesToRtf({})), std::vector<std::string>{});
}

TEST(NewsRtf, ReadsRtfOfOtherWritersAndPlainText)
{
    // Destinations skipped, \line and \par end lines, \u with its fallback, a final paragraph
    // without \par.
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}"
                            "\\pard\\b bold\\b0  one\\line two\\par\r\n\\u1044?a\\tab b\\par last}";
    EXPECT_EQ(readNewsText(rtf), (std::vector<std::string>{"bold one", "two", data("Д") + "a\tb", "last"}));
    EXPECT_EQ(readNewsText(data("строка 1\r\nстрока 2\r\n")),
              (std::vector<std::string>{data("строка 1"), data("строка 2")}));
}

TEST(NewsWebAddress, AddressesInALineAreFoundWhereThePaneShowsThem)
{
    const std::string line = "(see http://a.example/x?arid=5, www.b.example.) mailto:me@c.example";
    const auto spans = findAddresses(line);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(line.substr(spans[0].start, spans[0].length), "http://a.example/x?arid=5");
    EXPECT_EQ(line.substr(spans[1].start, spans[1].length), "www.b.example");
    EXPECT_EQ(line.substr(spans[2].start, spans[2].length), "mailto:me@c.example");
    EXPECT_TRUE(findAddresses("no address; xhttp://not.one").empty());
}

TEST(NewsWebAddress, EveryAddressShownAsALinkOpens)
{
    const std::string line = "ftp://f.example/x file:///etc/passwd HTTP://a.example/ www.b.example "
                             "mailto:c@d.example javascript:x https://e.example/?q=1";
    const auto spans = findAddresses(line);
    ASSERT_EQ(spans.size(), 4u);
    for (const AddressSpan& span : spans)
        EXPECT_NE(openableAddress(line.substr(span.start, span.length)), "") << line.substr(span.start);
}

TEST(NewsWebAddress, OnlyWebAndMailAddressesAreOpened)
{
    EXPECT_EQ(openableAddress("http://a.example/"), "http://a.example/");
    EXPECT_EQ(openableAddress("HTTPS://a.example"), "HTTPS://a.example");
    EXPECT_EQ(openableAddress("mailto:x@y.example"), "mailto:x@y.example");
    EXPECT_EQ(openableAddress("www.a.example"), "http://www.a.example");
    for (const char* refused : {"file:///etc/passwd", "ftp://a.example/x", "javascript:alert(1)",
                                "/usr/bin/xterm", "http://", "http://a.example/\nx", "smb://host/share"})
        EXPECT_EQ(openableAddress(refused), "") << refused;
}

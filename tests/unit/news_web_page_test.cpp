// Which character set the browser panel reads a page in, and a saved copy made whole again.
#include "core/news/feeds.h"
#include "core/news/parse_text.h"
#include "core/news/rtf.h"
#include "core/news/web_page.h"

#include <gtest/gtest.h>

using namespace brevio::news;

namespace {

// "Новости дня" in KOI8-R and in UTF-8.
const std::string kKoi8 = "\xEE\xCF\xD7\xCF\xD3\xD4\xC9 \xC4\xCE\xD1";
const std::string kUtf8 = "\xD0\x9D\xD0\xBE\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8";

struct CharsetCase
{
    const char* what;
    std::string header;
    std::string body;
    std::string declared;
    std::string read;
};

} // namespace

TEST(NewsWebPage, TheHeaderWinsOverTheMetaAndAnUndeclaredPageIsGuessed)
{
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    const std::vector<CharsetCase> cases = {
        {"header, any case, quoted", ok + "Content-Type: text/html; Charset=\"KOI8-R\"\r\n", kUtf8, "koi8-r",
         "koi8-r"},
        {"header beats meta", ok + "content-type: text/html;charset=utf-8\r\n",
         "<meta charset=windows-1251>" + kKoi8, "utf-8", "utf-8"},
        {"the last reply of a redirect counts",
         "HTTP/1.1 302 Found\r\nContent-Type: text/html; charset=iso-8859-1\r\n\r\n" + ok
             + "Content-Type: text/html; charset=koi8-r\r\n",
         "", "koi8-r", "koi8-r"},
        {"header without charset, meta charset", ok + "Content-Type: text/html\r\n",
         "<html><head><META CHARSET = 'koi8-r' /></head>" + kUtf8, "koi8-r", "koi8-r"},
        {"http-equiv meta", "",
         "<head><meta name=x content=y><meta http-equiv=\"Content-Type\" "
         "content=\"text/html; charset=windows-1251\"></head>",
         "windows-1251", "windows-1251"},
        {"a charset word outside a meta tag is no declaration", "",
         "<p>charset=koi8-r</p><meta name=\"charset\">" + kUtf8, "", "utf-8"},
        {"a meta past the scanned head is not seen", "", std::string(9000, ' ') + "<meta charset=koi8-r>", "",
         "windows-1251"},
        {"undeclared KOI8-R", "", "<p>" + kKoi8 + "</p>", "", "koi8-r"},
        {"undeclared windows-1251", "", "<p>" + data("Новости дня, ВСЕ") + "</p>", "", "windows-1251"},
        {"undeclared UTF-8", "", "<p>" + kUtf8 + "</p>", "", "utf-8"},
        {"UTF-8 cut inside its last letter", "", kUtf8.substr(0, kUtf8.size() - 1), "", "utf-8"},
        {"a stray continuation byte is not UTF-8", "", kUtf8 + "\xBF" + data("новости"), "", "windows-1251"},
        {"plain ASCII", "", "<p>news</p>", "", "windows-1251"},
    };
    for (const CharsetCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(declaredCharset(c.header, c.body), c.declared);
        EXPECT_EQ(pageCharset(c.header, c.body), c.read);
    }
}

TEST(NewsWebPage, AFetchedPageSavedAndReadBackIsTheSameBytes)
{
    // Every byte a page may hold survives the saved-news file: braces, backslashes, tabs,
    // KOI8-R and UTF-8 letters, empty lines.
    const std::string page = "<html>\r\n<script>if (a) { b = '\\\\'; }</script>\r\n\r\n\t<p>" + kKoi8
        + "</p>\r\n<p>" + kUtf8 + "</p>";
    EXPECT_EQ(pageOfLines(readNewsText(linesToRtf(pageLines(page).lines))), page);
}

TEST(NewsWebPage, ASavedCopyIsSplitIntoTheProgramsLinesAndThePage)
{
    const std::vector<std::string> framed
        = {"Site", "http://site/", "", std::string(kPageMarker), "lead", "end"};
    const std::vector<std::string> saved = {"Site", "http://site/", "", "<p>", "page", "lead", "end"};
    const SavedPage split = savedPage(saved, framed);
    EXPECT_EQ(split.before, (std::vector<std::string>{"Site", "http://site/", ""}));
    EXPECT_EQ(split.page, "<p>\r\npage");
    EXPECT_EQ(split.after, (std::vector<std::string>{"lead", "end"}));

    // An empty page between the lines, a copy framed otherwise, a source that writes no lines.
    EXPECT_EQ(savedPage({"Site", "http://site/", "", "", "lead", "end"}, framed).page, "");
    const SavedPage moved = savedPage({"Site", "http://moved/", "", "<p>", "lead", "end"}, framed);
    EXPECT_TRUE(moved.before.empty() && moved.after.empty());
    EXPECT_EQ(moved.page, "Site\r\nhttp://moved/\r\n\r\n<p>\r\nlead\r\nend");
    EXPECT_EQ(savedPage({"Site", "end"}, framed).page, "Site\r\nend");
    EXPECT_EQ(savedPage({"<html>", "x"}, {std::string(kPageMarker)}).page, "<html>\r\nx");
}

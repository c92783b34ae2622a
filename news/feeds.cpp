#include "news/feeds.h"

#include "news/news_lines.h"
#include "news/parse_text.h"

#include <array>

namespace brevio::news {

namespace {

constexpr std::string_view kAttribution = "При использовании информации, обязательна ссылка на";
constexpr std::string_view kTwentyItems = "(двадцать последних новостей)";
constexpr int kColumnItems = 20;

std::string cleanField(std::string_view text)
{
    return trimSpaces(trim(text));
}

// The four arrays of a news column, in the order the script defines them.
struct Column
{
    std::string ids, titles, dates, subs;
};

Column readColumn(std::string text)
{
    Column column;
    const std::array<std::pair<std::string_view, std::string*>, 4> arrays = {{
        {"var __kp_ids = new Array (", &column.ids},
        {"var __kp_titles = new Array (", &column.titles},
        {"var __kp_dates = new Array (", &column.dates},
        {"var __kp_subs = new Array (", &column.subs},
    }};
    for (const auto& [opening, content] : arrays) {
        cutAfter(text, opening);
        *content = cleanField(takeUpTo(text, ");"));
        const std::size_t end = text.find(");");
        if (end != std::string::npos)
            text.erase(0, end + 1);
    }
    return column;
}

// The next id of the list; the last item takes whatever is left.
std::string nextId(std::string& ids, int item)
{
    if (item == kColumnItems)
        return cleanField(ids);
    const std::size_t comma = ids.find(',');
    std::string id = cleanField(takeUpTo(ids, ","));
    if (comma != std::string::npos)
        ids.erase(0, comma + 1);
    return id;
}

// The next text between single quotes; an apostrophe inside a text cuts it there.
std::string nextQuoted(std::string& content)
{
    const std::size_t open = content.find('\'');
    if (open != std::string::npos)
        content.erase(0, open + 1);
    const std::size_t close = content.find('\'');
    std::string text = cleanField(takeUpTo(content, "'"));
    if (close != std::string::npos)
        content.erase(0, close + 1);
    return text;
}

void addClosing(NewsLines& pane, const FeedSite& site)
{
    pane.addText(kAttribution);
    pane.add(site.name + " ( " + site.homePage + " )");
}

} // namespace

std::vector<std::string> oreandaLines(std::string_view ini, std::string_view homePage)
{
    NewsLines pane;
    pane.addText("РИА \"Ореанда\" - десять последних новостей");
    pane.add(homePage);
    pane.addEmpty();

    std::string text = replaceAll(ini, "<p>", "\r\n");
    constexpr Match exact = Match::Exact;
    while (contains(text, "head=", exact)) {
        cutAfter(text, "head=", exact);
        std::string item = takeUpTo(text, "body=") + "\r\n";
        cutAfter(text, "body=", exact);
        item += takeUpTo(text, "date=") + "\r\n";
        cutAfter(text, "date=", exact);
        item += takeUpTo(text, "url=");
        cutAfter(text, "url=", exact);
        item += takeUpTo(text, "topic=");
        const bool topicFound = cutAfter(text, "topic=", exact);
        item = "=====\r\n" + takeUpTo(text, "[") + item;
        cutAfter(text, "[", exact);
        for (const auto& [from, to] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
                 {"&nbsp;", ""},
                 {"<P>", ""},
                 {"<FONT color=#800000>", ""},
                 {"</FONT>", ""},
                 {"</P>", "\r\n"},
                 {"<BR>", "\r\n"}})
            item = replaceAll(item, from, to);
        pane.add(item);
        if (!topicFound)
            break;
    }
    return pane.take();
}

std::vector<std::string> ezheLines(std::string_view text, std::string_view columnPage,
                                   std::string_view editor, std::string_view editorMail)
{
    NewsLines pane;
    pane.addText("EZHEpravda");
    pane.add(columnPage);
    pane.addText("(информация добавляется в течение суток)");
    pane.addEmpty();
    pane.addEmpty();
    pane.add(text);
    pane.addText(kAttribution);
    pane.add(data("ЕЖЕправду ( ") + std::string(columnPage) + " )");
    pane.add(data("Ответственный редактор - ") + std::string(editor) + " ( " + std::string(editorMail)
             + " )");
    return pane.take();
}

std::vector<std::string> kornetLines(std::string_view script, const FeedSite& site,
                                     std::string_view clickThrough)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText(kTwentyItems);
    pane.addEmpty();

    Column column = readColumn(std::string(script));
    // A subsection link becomes "(host/path)caption".
    column.subs = replaceAll(column.subs, R"(<A target=_blank href="http://)", "(");
    column.subs = replaceAll(column.subs, R"(/">)", ")");
    column.subs = replaceAll(column.subs, R"(">)", ")");
    column.subs = replaceAll(column.subs, "</a>", "");
    for (int item = 1; item <= kColumnItems; ++item) {
        const std::string id = nextId(column.ids, item);
        const std::string title = nextQuoted(column.titles);
        const std::string date = nextQuoted(column.dates);
        const std::string sub = nextQuoted(column.subs);
        pane.add("(" + date + ") " + title + "\r\n" + std::string(clickThrough) + id + "\r\n" + sub + "\r\n");
    }
    addClosing(pane, site);
    return pane.take();
}

std::vector<std::string> uasportLines(std::string_view script, const FeedSite& site)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText("(двадцать последних новостей спорта)");
    pane.addEmpty();

    Column column = readColumn(std::string(script));
    for (int item = 1; item <= kColumnItems; ++item) {
        const std::string id = replaceAll(nextId(column.ids, item), "'", "");
        const std::string title = nextQuoted(column.titles);
        const std::string date = nextQuoted(column.dates);
        const std::string sub = nextQuoted(column.subs);
        pane.add("(" + sub + ") " + title + "\r\n" + id + "\r\n" + date + "\r\n");
    }
    addClosing(pane, site);
    return pane.take();
}

std::vector<std::string> podrobnLines(std::string_view script, const FeedSite& site)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText(kTwentyItems);
    pane.addEmpty();
    pane.add(script);
    addClosing(pane, site);
    return pane.take();
}

std::vector<std::string> pageLines(std::string_view page)
{
    NewsLines pane;
    pane.add(page);
    return pane.take();
}

} // namespace brevio::news

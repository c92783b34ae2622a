#include "core/news/feeds.h"

#include "core/news/news_lines.h"
#include "core/news/parse_text.h"

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
    bool hasTitles = false; // the titles array was there: without it the column holds no news
};

Column readColumn(std::string_view script)
{
    Column column;
    const std::array<std::pair<std::string_view, std::string*>, 4> arrays = {{
        {"var __kp_ids = new Array (", &column.ids},
        {"var __kp_titles = new Array (", &column.titles},
        {"var __kp_dates = new Array (", &column.dates},
        {"var __kp_subs = new Array (", &column.subs},
    }};
    ParseText text(script);
    for (const auto& [opening, content] : arrays) {
        const bool found = text.cutAfter(opening);
        if (content == &column.titles)
            column.hasTitles = found;
        *content = cleanField(text.takeUpTo(");"));
        const std::size_t end = text.find(");", Match::Exact);
        if (end != std::string_view::npos)
            text.skip(end + 1);
    }
    return column;
}

// The next id of the list; the last item takes whatever is left.
std::string nextId(ParseText& ids, int item)
{
    if (item == kColumnItems)
        return cleanField(ids.rest());
    const std::size_t comma = ids.find(",", Match::Exact);
    std::string id = cleanField(ids.takeUpTo(","));
    if (comma != std::string_view::npos)
        ids.skip(comma + 1);
    return id;
}

// The next text between single quotes; an apostrophe inside a text cuts it there. False when
// there was no opening quote: the list has no more items.
bool nextQuoted(ParseText& content, std::string& text)
{
    const std::size_t open = content.find("'", Match::Exact);
    if (open != std::string_view::npos)
        content.skip(open + 1);
    const std::size_t close = content.find("'", Match::Exact);
    text = cleanField(content.takeUpTo("'"));
    if (close != std::string_view::npos)
        content.skip(close + 1);
    return open != std::string_view::npos;
}

// One item of a news column.
struct ColumnItem
{
    std::string id, title, date, sub;
};

// The twenty items of a column, and how many of them have a title (none: no column at all, or
// no titles array: quoted texts found in its place are no news).
std::size_t columnItems(Column& column, std::vector<ColumnItem>& items)
{
    ParseText ids(column.ids), titles(column.titles), dates(column.dates), subs(column.subs);
    std::size_t found = 0;
    for (int i = 1; i <= kColumnItems; ++i) {
        ColumnItem item;
        item.id = nextId(ids, i);
        if (nextQuoted(titles, item.title))
            ++found;
        nextQuoted(dates, item.date);
        nextQuoted(subs, item.sub);
        items.push_back(std::move(item));
    }
    return column.hasTitles ? found : 0;
}

// Text, as a page, a script or a column is: no NUL, and control bytes (those of the line and
// page breaks and the tab aside) at most one in 32. Noise, an image or an archive sent in its
// place holds NULs or many more (a random byte is one in nine).
bool isText(std::string_view reply)
{
    std::size_t controls = 0;
    for (const char c : reply) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return false;
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') || byte == 0x7F)
            ++controls;
    }
    return controls * 32 <= reply.size();
}

// A source shown whole has one item unless its reply is empty (or blanks and line breaks only)
// or is no text at all: then it is not worth replacing the last good copy.
std::size_t wholeReplyItems(std::string_view reply)
{
    return trim(reply).empty() || !isText(reply) ? 0 : 1;
}

void addClosing(NewsLines& pane, const FeedSite& site)
{
    pane.addText(kAttribution);
    pane.add(site.name + " ( " + site.homePage + " )");
}

} // namespace

NewsText oreandaLines(std::string_view ini, std::string_view homePage)
{
    NewsLines pane;
    pane.addText("РИА \"Ореанда\" - десять последних новостей");
    pane.add(homePage);
    pane.addEmpty();

    const std::string replaced = replaceAll(ini, "<p>", "\r\n");
    ParseText text(replaced);
    constexpr Match exact = Match::Exact;
    std::size_t items = 0;
    while (text.contains("head=", exact)) {
        text.cutAfter("head=", exact);
        std::string item = text.takeUpTo("body=") + "\r\n";
        text.cutAfter("body=", exact);
        item += text.takeUpTo("date=") + "\r\n";
        text.cutAfter("date=", exact);
        item += text.takeUpTo("url=");
        text.cutAfter("url=", exact);
        item += text.takeUpTo("topic=");
        const bool topicFound = text.cutAfter("topic=", exact);
        item = "=====\r\n" + text.takeUpTo("[") + item;
        text.cutAfter("[", exact);
        ++items;
        for (const auto& [from, to] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
                 {"&nbsp;", ""},
                 {"<P>", ""},
                 {"<FONT color=#800000>", ""},
                 {"</FONT>", ""},
                 {"</P>", "\r\n"},
                 {"<BR>", "\r\n"}})
            if (item.find(from) != std::string::npos)
                item = replaceAll(item, from, to);
        pane.add(item);
        if (!topicFound)
            break;
    }
    return {pane.take(), items};
}

NewsText ezheLines(std::string_view text, std::string_view columnPage, std::string_view editor,
                   std::string_view editorMail)
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
    return {pane.take(), wholeReplyItems(text)};
}

NewsText kornetLines(std::string_view script, const FeedSite& site, std::string_view clickThrough)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText(kTwentyItems);
    pane.addEmpty();

    Column column = readColumn(script);
    // A subsection link becomes "(host/path)caption".
    column.subs = replaceAll(column.subs, R"(<A target=_blank href="http://)", "(");
    column.subs = replaceAll(column.subs, R"(/">)", ")");
    column.subs = replaceAll(column.subs, R"(">)", ")");
    column.subs = replaceAll(column.subs, "</a>", "");
    std::vector<ColumnItem> items;
    const std::size_t found = columnItems(column, items);
    for (const ColumnItem& item : items)
        pane.add("(" + item.date + ") " + item.title + "\r\n" + std::string(clickThrough) + item.id + "\r\n"
                 + item.sub + "\r\n");
    addClosing(pane, site);
    return {pane.take(), found};
}

NewsText uasportLines(std::string_view script, const FeedSite& site)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText("(двадцать последних новостей спорта)");
    pane.addEmpty();

    Column column = readColumn(script);
    std::vector<ColumnItem> items;
    const std::size_t found = columnItems(column, items);
    for (const ColumnItem& item : items)
        pane.add("(" + item.sub + ") " + item.title + "\r\n" + replaceAll(item.id, "'", "") + "\r\n"
                 + item.date + "\r\n");
    addClosing(pane, site);
    return {pane.take(), found};
}

NewsText podrobnLines(std::string_view script, const FeedSite& site)
{
    NewsLines pane;
    pane.add(site.name);
    pane.add(site.homePage);
    pane.addText(kTwentyItems);
    pane.addEmpty();
    pane.add(script);
    addClosing(pane, site);
    return {pane.take(), wholeReplyItems(script)};
}

NewsText pageLines(std::string_view page)
{
    NewsLines pane;
    pane.add(page);
    return {pane.take(), wholeReplyItems(page)};
}

} // namespace brevio::news

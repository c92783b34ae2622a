#include "news/rates_nbk.h"

#include "news/news_lines.h"
#include "news/parse_text.h"

namespace brevio::news {

namespace {

constexpr std::string_view kFromBank
    = "Информация получена с официального сервера Национального Банка Республики Казахстан";
constexpr std::string_view kNameCell = R"(<TD BGCOLOR="#B9CEB0" NOWRAP>)";

} // namespace

std::vector<std::string> nbkRateLines(std::string_view page, std::string_view homePage)
{
    NewsLines pane;
    pane.addText(kFromBank);
    pane.add(homePage);
    pane.addEmpty();

    std::string text(page);
    cutAfter(text, "<!--CONTENT-->");
    const std::size_t end = findText(text, "<!--/CONTENT-->");
    text = end == std::string::npos ? std::string() : text.substr(0, end);

    cutAfter(text, R"(<TD BGCOLOR=#487A5D colSpan="2"><center><font color="#FFFFFF">)");
    pane.add(takeUpTo(text));
    pane.addEmpty();
    pane.addText("Название Валюты\tОфициальный курс, тенге");

    while (contains(text, kNameCell)) {
        cutAfter(text, kNameCell);
        std::string line = trim(takeUpTo(text)) + "\t";
        cutAfter(text, R"(<TD BGCOLOR="#B9CEB0" ALIGN="RIGHT")");
        const bool closed = cutAfter(text, ">");
        line += trim(takeUpTo(text));
        pane.add(replaceAll(line, "&nbsp;", ""));
        if (!closed)
            break;
    }

    cutAfter(text, "<P>");
    std::string note = trim(takeUpTo(text, "</P>")) + "\r\n\r\n";
    cutAfter(text, "<P>");
    note += trim(takeUpTo(text, "</P>"));
    pane.add(replaceAll(note, "<BR>", ""));
    pane.addEmpty();
    pane.addText(kFromBank);
    pane.add(homePage);
    return pane.take();
}

} // namespace brevio::news

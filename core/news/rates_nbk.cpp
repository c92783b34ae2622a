#include "core/news/rates_nbk.h"

#include "core/news/news_lines.h"
#include "core/news/parse_text.h"

namespace brevio::news {

namespace {

constexpr std::string_view kFromBank
    = "Информация получена с официального сервера Национального Банка Республики Казахстан";
constexpr std::string_view kNameCell = R"(<TD BGCOLOR="#B9CEB0" NOWRAP>)";

} // namespace

NewsText nbkRateLines(std::string_view page, std::string_view homePage)
{
    NewsLines pane;
    pane.addText(kFromBank);
    pane.add(homePage);
    pane.addEmpty();

    ParseText text(page);
    text.cutAfter("<!--CONTENT-->");
    const std::size_t end = text.find("<!--/CONTENT-->");
    text.keepFirst(end == std::string_view::npos ? 0 : end);

    text.cutAfter(R"(<TD BGCOLOR=#487A5D colSpan="2"><center><font color="#FFFFFF">)");
    pane.add(text.takeUpTo());
    pane.addEmpty();
    pane.addText("Название Валюты\tОфициальный курс, тенге");

    std::size_t rows = 0;
    while (text.contains(kNameCell)) {
        text.cutAfter(kNameCell);
        std::string line = trim(text.takeUpTo()) + "\t";
        text.cutAfter(R"(<TD BGCOLOR="#B9CEB0" ALIGN="RIGHT")");
        const bool closed = text.cutAfter(">");
        line += trim(text.takeUpTo());
        pane.add(replaceAll(line, "&nbsp;", ""));
        ++rows;
        if (!closed)
            break;
    }

    text.cutAfter("<P>");
    std::string note = trim(text.takeUpTo("</P>")) + "\r\n\r\n";
    text.cutAfter("<P>");
    note += trim(text.takeUpTo("</P>"));
    pane.add(replaceAll(note, "<BR>", ""));
    pane.addEmpty();
    pane.addText(kFromBank);
    pane.add(homePage);
    return {pane.take(), rows};
}

} // namespace brevio::news

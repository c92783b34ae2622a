#include "core/news/rates_nbu.h"

#include "core/news/news_lines.h"
#include "core/news/parse_text.h"

#include <iterator>

namespace brevio::news {

namespace {

constexpr std::string_view kFromBank
    = "Информация получена с официального сервера Национального Банка Украины";
constexpr std::string_view kSentence
    = "встановлює такі офіційні курси гривні до іноземних валют для здійснення обліку та митних платежів без"
      " зобов'язань Національного банку України купувати та продавати зазначені валюти за цими курсами";
constexpr std::string_view kCell = "<td align=center>";
constexpr std::string_view kRateCell = "<td align=right>";

} // namespace

NewsText nbuRateLines(std::string_view page, std::string_view homePage)
{
    NewsLines pane;
    pane.addText(kFromBank);
    pane.add(homePage);
    pane.addEmpty();

    ParseText text(page);
    text.cutAfter("<h5 align=center>");
    const std::string heading1 = text.takeUpTo();
    // Past the heading's "<" and the rest of the short tag after it (a line break).
    const std::size_t stop = text.find("<", Match::Exact);
    text.skip(stop == std::string_view::npos ? 3 : stop + 4);
    const std::string heading2 = text.takeUpTo();

    std::string block = heading1 + "\r\n" + heading2 + "\r\n" + data(kSentence) + "\r\n\r\n";
    const std::string_view titleMarkers[] = {
        R"(<td width="15%" align=center> <b>)",
        R"(<td width="20%" align=center> <b>)",
        R"(<td width="45%" align=center> <b>)",
        R"(<td width="20%" align=center> <b>)",
    };
    for (std::size_t i = 0; i < std::size(titleMarkers); ++i) {
        text.cutAfter(titleMarkers[i]);
        block += text.takeUpTo();
        block += i + 1 < std::size(titleMarkers) ? "\t" : "\r\n";
    }
    pane.add(block);

    std::size_t rows = 0;
    while (text.contains(kCell)) {
        text.cutAfter(kCell);
        std::string row = text.takeUpTo();
        text.cutAfter(kCell);
        row += text.takeUpTo();
        text.cutAfter("<td align=left>");
        row += text.takeUpTo();
        const bool rateFound = text.cutAfter(kRateCell);
        row += text.takeUpTo();
        pane.add(replaceAll(row, "&nbsp", ""));
        ++rows;
        if (!rateFound)
            break;
    }

    pane.addEmpty();
    text.cutAfter(R"(<br><class="black" >)");
    pane.add(text.takeUpTo());
    pane.addEmpty();
    pane.addText(kFromBank);
    pane.add(homePage);
    return {pane.take(), rows};
}

} // namespace brevio::news

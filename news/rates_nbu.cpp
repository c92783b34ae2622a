#include "news/rates_nbu.h"

#include "news/news_lines.h"
#include "news/parse_text.h"

#include <algorithm>
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

std::vector<std::string> nbuRateLines(std::string_view page, std::string_view homePage)
{
    NewsLines pane;
    pane.addText(kFromBank);
    pane.add(homePage);
    pane.addEmpty();

    std::string text(page);
    cutAfter(text, "<h5 align=center>");
    const std::string heading1 = takeUpTo(text);
    // Past the heading's "<" and the rest of the short tag after it (a line break).
    const std::size_t stop = text.find('<');
    text.erase(0, std::min(text.size(), stop == std::string::npos ? 3 : stop + 4));
    const std::string heading2 = takeUpTo(text);

    std::string block = heading1 + "\r\n" + heading2 + "\r\n" + data(kSentence) + "\r\n\r\n";
    const std::string_view titleMarkers[] = {
        R"(<td width="15%" align=center> <b>)",
        R"(<td width="20%" align=center> <b>)",
        R"(<td width="45%" align=center> <b>)",
        R"(<td width="20%" align=center> <b>)",
    };
    for (std::size_t i = 0; i < std::size(titleMarkers); ++i) {
        cutAfter(text, titleMarkers[i]);
        block += takeUpTo(text);
        block += i + 1 < std::size(titleMarkers) ? "\t" : "\r\n";
    }
    pane.add(block);

    while (contains(text, kCell)) {
        cutAfter(text, kCell);
        std::string row = takeUpTo(text);
        cutAfter(text, kCell);
        row += takeUpTo(text);
        cutAfter(text, "<td align=left>");
        row += takeUpTo(text);
        const bool rateFound = cutAfter(text, kRateCell);
        row += takeUpTo(text);
        pane.add(replaceAll(row, "&nbsp", ""));
        if (!rateFound)
            break;
    }

    pane.addEmpty();
    cutAfter(text, R"(<br><class="black" >)");
    pane.add(takeUpTo(text));
    pane.addEmpty();
    pane.addText(kFromBank);
    pane.add(homePage);
    return pane.take();
}

} // namespace brevio::news

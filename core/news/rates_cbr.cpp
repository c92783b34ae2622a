#include "core/news/rates_cbr.h"

#include "core/news/news_lines.h"
#include "core/news/parse_text.h"

#include <cstdio>

namespace brevio::news {

namespace {

constexpr std::string_view kFromBank
    = "Информация получена с официального сервера Центрального Банка Российской Федерации";

} // namespace

std::string cbrRequestDate(int year, unsigned month, unsigned day, char separator)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u%c%02u%c%04d", day % 100, separator, month % 100, separator,
                  year % 10000);
    return text;
}

NewsText cbrRateLines(std::string_view xml, std::string_view homePage, std::string_view date)
{
    NewsLines pane;
    pane.addText(kFromBank);
    pane.add(homePage);
    pane.addEmpty();
    pane.add(data("Центральный банк Российской Федерации установил с ") + std::string(date)
             + data(" следующие курсы иностранных валют к рублю РФ для целей учета и таможенных платежей."));
    pane.addEmpty();
    pane.addText("Цифр. Код\tБукв. Код\tЕдиниц\tВалюта\tКурс");

    // Tag names are matched exactly, as the service writes them.
    ParseText text(xml);
    std::size_t rows = 0;
    while (text.contains("<NumCode>", Match::Exact)) {
        text.cutAfter("<NumCode>", Match::Exact);
        std::string line = text.takeUpTo() + "\t";
        for (std::string_view tag : {"<CharCode>", "<Nominal>", "<Name>"}) {
            text.cutAfter(tag, Match::Exact);
            line += text.takeUpTo() + "\t";
        }
        const bool valueFound = text.cutAfter("<Value>", Match::Exact);
        line += text.takeUpTo();
        pane.add(line);
        ++rows;
        if (!valueFound)
            break;
    }

    pane.addEmpty();
    pane.addText("Курсы установлены без обязательств Банка России покупать и продавать указанные валюты по "
                 "данному курсу.");
    pane.addEmpty();
    pane.addText(kFromBank);
    pane.add(homePage);
    return {pane.take(), rows};
}

} // namespace brevio::news

#include "core/news/news_sources.h"

#include "core/news/feeds.h"
#include "core/news/parse_text.h"
#include "core/news/rates_cbr.h"
#include "core/news/rates_nbk.h"
#include "core/news/rates_nbu.h"

namespace brevio::news {

namespace {

constexpr std::string_view kGeneralMessage
    = "Сохраненных новостей нет. Надо получить последние новости из Интернет.";
constexpr std::string_view kLotteryMessage
    = "Сохраненного файла с результатами тиражей нет. Необходимо получить его из Интернета.";

std::string homePage(const SourceContext& context)
{
    return homePageOf(context.baseUrl);
}

FeedSite site(const SourceContext& context)
{
    return {context.siteName, homePage(context)};
}

} // namespace

std::string homePageOf(std::string_view baseUrl)
{
    const std::size_t scheme = baseUrl.find("://");
    const std::size_t hostStart = scheme == std::string_view::npos ? 0 : scheme + 3;
    const std::size_t path = baseUrl.find('/', hostStart);
    return std::string(baseUrl.substr(0, path)) + "/";
}

std::string addressOf(std::string_view baseUrl, std::string_view path)
{
    while (baseUrl.ends_with('/'))
        baseUrl.remove_suffix(1);
    return std::string(baseUrl) + std::string(path);
}

const std::vector<NewsSource>& newsSources()
{
    static const std::vector<NewsSource> sources = {
        {"FlatSpeedButton39", "kurs_nbu", "НБУ", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/KURS/last_kurs.htm"); },
         [](std::string_view body, const SourceContext& c) { return nbuRateLines(body, homePage(c)); }},
        {"FlatSpeedButton40", "kurs_cbr", "ЦБР", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) {
             return addressOf(c.baseUrl, "/scripts/XML_daily.asp?date_req=") + c.requestDate;
         },
         [](std::string_view body, const SourceContext& c) {
             return cbrRateLines(body, homePage(c), c.requestDate);
         }},
        {"FlatSpeedButton48", "kurs_nbk", "ЦБК", Surface::Pane, false, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/CurrentFinInfo/CurrencyExchange/"); },
         [](std::string_view body, const SourceContext& c) { return nbkRateLines(body, homePage(c)); }},
        {"FlatSpeedButton43", "oreanda", "РИА \"Ореанда\"", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/newstopic/oreandaru.ini"); },
         [](std::string_view body, const SourceContext& c) { return oreandaLines(body, homePage(c)); },
         "oreanda.tmp"},
        {"FlatSpeedButton47", "ezhe", "EZHEpravda", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/data/pravda/topost.txt"); },
         [](std::string_view body, const SourceContext& c) {
             return ezheLines(body, addressOf(c.baseUrl, "/pravda/"), c.editor, c.editorMail);
         }},
        {"FlatSpeedButton51", "kornet", "Корреспондент", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/data/newscolumn.js"); },
         [](std::string_view body, const SourceContext& c) {
             return kornetLines(body, site(c), addressOf(c.baseUrl, "/jsclick.php?arid="));
         }},
        {"FlatSpeedButton26", "uasport", "uaSport", Surface::Pane, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/newscolumn/newscolumn.js"); },
         [](std::string_view body, const SourceContext& c) { return uasportLines(body, site(c)); }},
        {"FlatSpeedButton25", "podrobn", "Подробности", Surface::Browser, true, kGeneralMessage,
         [](const SourceContext& c) {
             return addressOf(c.baseUrl, "/export/javascript/710/0/20/koi8/0/0/0/");
         },
         [](std::string_view body, const SourceContext& c) { return podrobnLines(body, site(c)); }},
        {"FlatSpeedButton52", "unl", "УНЛ результаты тиражей", Surface::Browser, true, kLotteryMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/pages/express.shtml"); },
         [](std::string_view body, const SourceContext&) { return pageLines(body); }},
        {"FlatSpeedButton53", "rusdisn", "RusDisney", Surface::Browser, true, kGeneralMessage,
         [](const SourceContext& c) { return addressOf(c.baseUrl, "/news/newstv.php"); },
         [](std::string_view body, const SourceContext&) { return pageLines(body); }},
    };
    return sources;
}

} // namespace brevio::news

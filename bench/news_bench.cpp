// Speed of the news page's parsers on large replies: every rate and news source turned into
// the lines a pane shows, on pages of a few megabytes (5 MB by default), including dense
// pages of tiny items and pages that hold none of a parser's markers.
//
//   bench_news [--page-kb=N] [benchmark flags]

#include "core/news/feeds.h"
#include "core/news/news_lines.h"
#include "core/news/parse_text.h"
#include "core/news/rates_cbr.h"
#include "core/news/rates_nbk.h"
#include "core/news/rates_nbu.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

namespace {

using namespace brevio::news;

std::size_t g_pageBytes = 5u << 20;

// `head`, then `item(i)` for i = 0, 1, ... until the page reaches the wanted size, then `tail`.
std::string page(const std::string& head, const std::function<std::string(int)>& item,
                 const std::string& tail = {})
{
    std::string text = head;
    for (int i = 0; text.size() + tail.size() < g_pageBytes; ++i)
        text += item(i);
    return text + tail;
}

std::string nbuPage()
{
    return page(
        "<html><h5 align=center>Heading<br>Second</h5><td width=\"15%\" align=center> <b>Code</b>"
        "<td width=\"20%\" align=center> <b>Units</b><td width=\"45%\" align=center> <b>Name</b>"
        "<td width=\"20%\" align=center> <b>Rate</b>",
        [](int i) {
            return "<tr><td align=center>" + std::to_string(100 + i % 900)
                + "&nbsp;</td><td align=center>100&nbsp;</td><td align=left>" + data("Долар США")
                + "</td><td align=right>4150.5000</td></tr>\r\n";
        },
        "<br><class=\"black\" >Note</p></html>");
}

std::string cbrPage()
{
    return page(
        "<?xml version=\"1.0\"?><ValCurs Date=\"09.12.2026\">",
        [](int i) {
            return "<Valute ID=\"R" + std::to_string(i) + "\"><NumCode>840</NumCode><CharCode>USD</CharCode>"
                + "<Nominal>1</Nominal><Name>" + data("Доллар США")
                + "</Name><Value>79,1234</Value></Valute>";
        },
        "</ValCurs>");
}

std::string nbkPage()
{
    return page(
        "<html><!--CONTENT--><TD BGCOLOR=#487A5D colSpan=\"2\"><center><font color=\"#FFFFFF\">Rates</font>",
        [](int) {
            return std::string("<TR><TD BGCOLOR=\"#B9CEB0\" NOWRAP> US Dollar </TD>")
                + "<TD BGCOLOR=\"#B9CEB0\" ALIGN=\"RIGHT\" width=50> 1&nbsp;450.10 </TD></TR>\r\n";
        },
        "<P>Note</P><P>Second<BR>note</P><!--/CONTENT--></html>");
}

std::string oreandaPage()
{
    return page("", [](int i) {
        return "[n" + std::to_string(i) + "]\r\nhead=" + data("Заголовок новости")
            + "\r\nbody=Body&nbsp;<p>text<BR>more\r\ndate=01.01.2026\r\nurl=http://o.example/"
            + std::to_string(i) + "\r\ntopic=" + data("Экономика") + "\r\n";
    });
}

// A million tiny items: the page that once laid out a million pane lines.
std::string denseOreandaPage()
{
    return page("", [](int) { return std::string("head=\nbody=\ndate=\nurl=\ntopic=[\n"); });
}

std::string columnPage()
{
    std::string ids, titles, dates, subs;
    for (int i = 0; ids.size() + titles.size() < g_pageBytes; ++i) {
        ids += (i ? ", " : "") + std::to_string(1000 + i);
        titles += (i ? ", '" : "'") + data("Заголовок") + std::to_string(i) + "'";
        if (i < 20) {
            dates += (i ? ", '" : "'") + std::string("09.12.2026'");
            subs += (i ? ", '" : "'") + std::string("<A target=_blank href=\"http://k.example/s/\">S</a>'");
        }
    }
    return "var __kp_ids = new Array (" + ids + ");\nvar __kp_titles = new Array (" + titles
        + ");\nvar __kp_dates = new Array (" + dates + ");\nvar __kp_subs = new Array (" + subs + ");\n";
}

std::string textPage()
{
    return page("", [](int i) { return data("Новость дня номер ") + std::to_string(i) + "\r\n"; });
}

// None of any parser's markers: every search runs to the end and finds nothing.
std::string noMarkersPage()
{
    return page(
        "", [](int i) { return std::string(1, static_cast<char>('a' + i % 26)) + (i % 80 ? "" : "\r\n"); });
}

void parse(benchmark::State& state, const std::string& text,
           const std::function<NewsText(std::string_view)>& parser)
{
    std::size_t lines = 0;
    std::size_t items = 0;
    for (auto _ : state) {
        NewsText parsed = parser(text);
        items = parsed.items;
        const std::vector<std::string> shown = paneLines(std::move(parsed.lines));
        lines = shown.size();
        benchmark::DoNotOptimize(shown.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["page_kb"] = static_cast<double>(text.size()) / 1024.0;
    state.counters["items"] = static_cast<double>(items);
    state.counters["pane_lines"] = static_cast<double>(lines);
}

const FeedSite kSite{"Site", "http://site.example/"};
constexpr std::string_view kHome = "http://bank.example/";

void registerAll()
{
    struct Case
    {
        const char* name;
        std::function<std::string()> make;
        std::function<NewsText(std::string_view)> parser;
    };
    const auto nbu = [](std::string_view t) { return nbuRateLines(t, kHome); };
    const auto cbr = [](std::string_view t) { return cbrRateLines(t, kHome, "09.12.2026"); };
    const auto nbk = [](std::string_view t) { return nbkRateLines(t, kHome); };
    const auto oreanda = [](std::string_view t) { return oreandaLines(t, kHome); };
    const auto kornet
        = [](std::string_view t) { return kornetLines(t, kSite, "http://k.example/jsclick.php?arid="); };
    const auto ezhe = [](std::string_view t) { return ezheLines(t, kHome, "Editor", "ed@e.example"); };
    const Case cases[] = {
        {"rates_nbu", nbuPage, nbu},
        {"rates_cbr", cbrPage, cbr},
        {"rates_nbk", nbkPage, nbk},
        {"feed_oreanda", oreandaPage, oreanda},
        {"feed_oreanda_dense", denseOreandaPage, oreanda},
        {"feed_kornet", columnPage, kornet},
        {"feed_uasport", columnPage, [](std::string_view t) { return uasportLines(t, kSite); }},
        {"feed_ezhe", textPage, ezhe},
        {"page_unl", textPage, [](std::string_view t) { return pageLines(t); }},
        {"no_markers_nbu", noMarkersPage, nbu},
        {"no_markers_nbk", noMarkersPage, nbk},
        {"no_markers_oreanda", noMarkersPage, oreanda},
        {"no_markers_kornet", noMarkersPage, kornet},
    };
    for (const Case& c : cases) {
        auto text = std::make_shared<std::string>(c.make());
        benchmark::RegisterBenchmark(c.name, [text, parser = c.parser](benchmark::State& state) {
            parse(state, *text, parser);
        })->Unit(benchmark::kMillisecond);
    }
}

// Takes --page-kb=N out of the arguments; the rest belongs to the benchmark library.
void takePageSize(int& argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        constexpr const char* flag = "--page-kb=";
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            g_pageBytes = static_cast<std::size_t>(std::atol(argv[i] + std::strlen(flag))) * 1024;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

} // namespace

int main(int argc, char** argv)
{
    takePageSize(argc, argv);
    if (g_pageBytes == 0) {
        std::cerr << "--page-kb needs a size of at least 1\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The three banks' rate parsers on any reply: lines a pane can show, and no rate rows where the
// reply lacks the bank's row marker (so an error page never replaces the saved rates).
#include "fuzz/news_check.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply = fuzz::bytesOf(data, size);
    const struct
    {
        std::string_view stem;
        std::string_view rowMarker;
        news::Match match;
    } banks[] = {
        {"kurs_nbu", "<td align=center>", news::Match::IgnoreCase},
        {"kurs_cbr", "<NumCode>", news::Match::Exact},
        {"kurs_nbk", R"(<TD BGCOLOR="#B9CEB0" NOWRAP>)", news::Match::IgnoreCase},
    };
    for (const auto& bank : banks) {
        const news::NewsText text = fuzz::newsSource(bank.stem).lines(reply, fuzz::kNewsContext);
        fuzz::checkPaneText(text);
        fuzz::checkNoItemsWithout(reply, text, bank.rowMarker, bank.match);
    }
    return 0;
}

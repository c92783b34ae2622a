// The news feeds on any reply: lines a pane can show; no items where the reply lacks the feed's
// marker, and one item exactly when a source shown whole received more than blanks.
#include "fuzz/news_check.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply = fuzz::bytesOf(data, size);
    const bool blank = news::trim(reply).empty();
    for (const news::NewsSource& source : news::newsSources()) {
        if (source.stem.starts_with("kurs_"))
            continue; // the rates harness
        const news::NewsText text = source.lines(reply, fuzz::kNewsContext);
        fuzz::checkPaneText(text);
        if (source.stem == "oreanda")
            fuzz::checkNoItemsWithout(reply, text, "head=", news::Match::Exact);
        else if (source.stem == "kornet" || source.stem == "uasport")
            fuzz::checkNoItemsWithout(reply, text, "var __kp_titles = new Array (", news::Match::IgnoreCase);
        else
            fuzz::check(text.items == (blank ? 0u : 1u), "a source shown whole has one item unless blank");
        if (source.stem == "kornet" || source.stem == "uasport")
            fuzz::check(text.items <= 20, "a news column has at most twenty items");
    }
    return 0;
}

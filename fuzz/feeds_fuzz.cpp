// The news feeds on any reply: lines a pane can show; no items where the reply lacks the feed's
// marker; a source shown whole has at most one item, none for blanks or a reply with a NUL
// (noise, not text), and one for plain text.
#include "fuzz/news_check.h"

#include <algorithm>

using namespace brevio;

namespace {

// Text without a control byte besides the line and page breaks and the tab.
bool plainText(std::string_view reply)
{
    return std::none_of(reply.begin(), reply.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') || byte == 0x7F;
    });
}

} // namespace

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
        else {
            fuzz::check(text.items <= 1, "a source shown whole has at most one item");
            if (blank || reply.find('\0') != std::string_view::npos)
                fuzz::check(text.items == 0, "blanks or noise keep the saved copy");
            else if (plainText(reply))
                fuzz::check(text.items == 1, "plain text is the news");
        }
        if (source.stem == "kornet" || source.stem == "uasport")
            fuzz::check(text.items <= 20, "a news column has at most twenty items");
    }
    return 0;
}

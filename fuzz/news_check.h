#pragma once

#include "core/news/news_lines.h"
#include "core/news/news_sources.h"
#include "core/news/parse_text.h"
#include "fuzz/fuzz_check.h"

#include <string_view>

// What the news harnesses check of every source's lines.
namespace brevio::fuzz {

inline const news::SourceContext kNewsContext{"http://src.example/", "09.12.2026", "Site", "Editor",
                                              "ed@src.example"};

// A pane's lines hold no line break, stay within what a pane shows (and its closing line), and
// a pane that was not cut takes them as they are.
inline void checkPaneText(const news::NewsText& text)
{
    std::size_t bytes = 0;
    for (const std::string& line : text.lines) {
        check(line.find_first_of("\r\n") == std::string::npos, "a pane line holds no line break");
        bytes += line.size();
    }
    check(text.lines.size() <= news::kPaneMaxLines + 1, "a pane holds at most its lines and the closing one");
    check(bytes <= news::kPaneMaxBytes + 256, "a pane holds at most its bytes and the closing line");
    if (text.lines.size() < news::kPaneMaxLines && bytes < news::kPaneMaxBytes)
        check(news::paneLines(text.lines) == text.lines,
              "a pane that was not cut takes the lines as they are");
}

// A reply without `marker` is no news: the saved copy stays.
inline void checkNoItemsWithout(std::string_view reply, const news::NewsText& text, std::string_view marker,
                                news::Match match)
{
    if (news::findText(reply, marker, match) == std::string_view::npos)
        check(text.items == 0, "a reply without the source's marker holds no items");
}

inline const news::NewsSource& newsSource(std::string_view stem)
{
    for (const news::NewsSource& source : news::newsSources()) {
        if (source.stem == stem)
            return source;
    }
    std::abort();
}

} // namespace brevio::fuzz

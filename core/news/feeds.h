#pragma once

#include "core/news/news_lines.h"

#include <string>
#include <string_view>

// The news feeds as the news pane's lines, with the number of news items found. Names and
// addresses are windows-1251 bytes.
namespace brevio::news {

struct FeedSite
{
    std::string name; // as on its button and in the heading and closing lines
    std::string homePage; // the site's root, "http://host/"
};

// The news agency's INI feed: one item per section, each opened by a "=====" line.
NewsText oreandaLines(std::string_view ini, std::string_view homePage);

// The daily column: the reply as it stands between the heading and the editor's lines.
NewsText ezheLines(std::string_view text, std::string_view columnPage, std::string_view editor,
                   std::string_view editorMail);

// The news site's column of JavaScript arrays: exactly twenty items, each with its
// click-through address (`clickThrough` ends in "?arid=", the item's id completes it).
NewsText kornetLines(std::string_view script, const FeedSite& site, std::string_view clickThrough);

// The sports site's column of the same arrays: the sub stands before the title, the id (a
// quoted address) follows unquoted, the date closes the item.
NewsText uasportLines(std::string_view script, const FeedSite& site);

// The second news site's export, kept as received between its heading and closing lines.
NewsText podrobnLines(std::string_view script, const FeedSite& site);

// A page shown by the browser: the pane keeps the reply as it is.
NewsText pageLines(std::string_view page);

} // namespace brevio::news

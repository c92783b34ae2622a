#pragma once

#include <string>
#include <string_view>
#include <vector>

// The news feeds as the news pane's lines. Names and addresses are windows-1251 bytes.
namespace brevio::news {

struct FeedSite
{
    std::string name; // as on its button and in the heading and closing lines
    std::string homePage; // the site's root, "http://host/"
};

// The news agency's INI feed: one item per section, each opened by a "=====" line.
std::vector<std::string> oreandaLines(std::string_view ini, std::string_view homePage);

// The daily column: the reply as it stands between the heading and the editor's lines.
std::vector<std::string> ezheLines(std::string_view text, std::string_view columnPage,
                                   std::string_view editor, std::string_view editorMail);

// The news site's column of JavaScript arrays: exactly twenty items, each with its
// click-through address (`clickThrough` ends in "?arid=", the item's id completes it).
std::vector<std::string> kornetLines(std::string_view script, const FeedSite& site,
                                     std::string_view clickThrough);

// The sports site's column of the same arrays: the sub stands before the title, the id (a
// quoted address) follows unquoted, the date closes the item.
std::vector<std::string> uasportLines(std::string_view script, const FeedSite& site);

// The second news site's export, kept as received between its heading and closing lines.
std::vector<std::string> podrobnLines(std::string_view script, const FeedSite& site);

// A page shown by the browser: the pane keeps the reply as it is.
std::vector<std::string> pageLines(std::string_view page);

} // namespace brevio::news

#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the browser panel needs to know about a page's bytes.
namespace brevio::news {

// The character set a page declares, lower case: the charset parameter of the reply header's
// Content-Type line, else the first <meta charset=...> or <meta http-equiv="Content-Type"
// content="...; charset=..."> near the top of the body. "" when it declares none.
std::string declaredCharset(std::string_view header, std::string_view body);

// The character set to read a page in: the declared one; else UTF-8 for bytes that are valid
// UTF-8 with characters outside ASCII; else KOI8-R when most Cyrillic letters read as small
// letters in it; else windows-1251, the code page of the program's sources.
std::string pageCharset(std::string_view header, std::string_view body);

// A saved copy's lines joined back into the page they came from (CR LF between lines).
std::string pageOfLines(const std::vector<std::string>& lines);

// A browser source's saved-news file: the page the program fetched, and the lines of the
// program's own that the source writes around it (a heading, a closing), if any.
struct SavedPage
{
    std::vector<std::string> before;
    std::string page;
    std::vector<std::string> after;
};

// A page that the program's lines around it can be told apart from.
inline constexpr std::string_view kPageMarker = "\x01page\x01";

// Splits `saved` by `framed`, the lines the source writes for a page that is kPageMarker
// alone. A copy whose first and last lines are not the framing is taken as all page (a
// source whose address has changed since, or a file from elsewhere).
SavedPage savedPage(const std::vector<std::string>& saved, const std::vector<std::string>& framed);

} // namespace brevio::news

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// How much of a text one pane shows: a window can lay out this much at once.
inline constexpr std::size_t kPaneMaxLines = 3000;
inline constexpr std::size_t kPaneMaxBytes = 256 * 1024;

// The news pane's content as lines of windows-1251 bytes, built the way the pane takes added
// strings: each add() starts a new line, and every line break inside the string (CR LF, CR or
// LF) starts another, so a string ending in CR LF leaves an empty line after it. It keeps what
// one pane shows, at most kPaneMaxLines lines and kPaneMaxBytes bytes (a longer line is cut
// short); what would pass that is dropped, and take() closes with a line saying so.
class NewsLines
{
public:
    void add(std::string_view text);
    // A program literal (UTF-8 in the source).
    void addText(std::string_view utf8);
    void addEmpty() { add({}); }

    const std::vector<std::string>& lines() const { return m_lines; }
    std::vector<std::string> take();

private:
    void addLine(std::string_view line);

    std::vector<std::string> m_lines;
    std::size_t m_bytes = 0;
    bool m_full = false;
};

// What a parser made of a reply: the pane's lines, and how many rate rows or news items it
// found there. None means the reply lacks the source's markers (an error page, an empty or
// random reply): it is not worth replacing the last good copy.
struct NewsText
{
    std::vector<std::string> lines;
    std::size_t items = 0;
};

// `lines` as one pane shows them (see NewsLines).
std::vector<std::string> paneLines(const std::vector<std::string>& lines);

// How much of a page the browser panel shows: its text browser lays this much out at once.
inline constexpr std::size_t kBrowserMaxBytes = 256 * 1024;

// `html` as the browser panel shows it: a longer page is cut before the tag that passes
// kBrowserMaxBytes and closed with the pane's closing line.
std::string browserPage(std::string_view html);

} // namespace brevio::news

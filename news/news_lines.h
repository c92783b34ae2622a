#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// The news pane's content as lines of windows-1251 bytes, built the way the pane takes added
// strings: each add() starts a new line, and every line break inside the string (CR LF, CR or
// LF) starts another, so a string ending in CR LF leaves an empty line after it.
class NewsLines
{
public:
    void add(std::string_view text);
    // A program literal (UTF-8 in the source).
    void addText(std::string_view utf8);
    void addEmpty() { m_lines.emplace_back(); }

    const std::vector<std::string>& lines() const { return m_lines; }
    std::vector<std::string> take() { return std::move(m_lines); }

private:
    std::vector<std::string> m_lines;
};

// What a parser made of a reply: the pane's lines, and how many rate rows or news items it
// found there. None means the reply lacks the source's markers (an error page, an empty or
// random reply): it is not worth replacing the last good copy.
struct NewsText
{
    std::vector<std::string> lines;
    std::size_t items = 0;
};

// How much of a text one pane shows: a window can lay out this much at once.
inline constexpr std::size_t kPaneMaxLines = 3000;
inline constexpr std::size_t kPaneMaxBytes = 512 * 1024;

// `lines` cut to what one pane shows (at most kPaneMaxLines lines and kPaneMaxBytes bytes, a
// longer line cut short), followed by a closing line saying the rest was left out when
// anything was.
std::vector<std::string> paneLines(std::vector<std::string> lines);

} // namespace brevio::news

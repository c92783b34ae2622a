#pragma once

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

} // namespace brevio::news

#include "news/news_lines.h"

#include "news/parse_text.h"

namespace brevio::news {

void NewsLines::add(std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        m_lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    m_lines.emplace_back(text.substr(start));
}

void NewsLines::addText(std::string_view utf8)
{
    add(data(utf8));
}

std::vector<std::string> paneLines(std::vector<std::string> lines)
{
    std::size_t bytes = 0;
    std::size_t kept = 0;
    bool cut = false;
    for (; kept < lines.size() && !cut; ++kept) {
        if (kept == kPaneMaxLines || bytes >= kPaneMaxBytes) {
            cut = true;
            break;
        }
        std::string& line = lines[kept];
        if (line.size() > kPaneMaxBytes - bytes) {
            line.resize(kPaneMaxBytes - bytes);
            cut = true;
        }
        bytes += line.size();
    }
    if (!cut)
        return lines;
    lines.resize(kept);
    lines.push_back(data("[Ответ длиннее, чем показывает окно: остальное не показано]"));
    return lines;
}

} // namespace brevio::news

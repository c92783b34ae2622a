#include "news/news_lines.h"

#include "news/parse_text.h"

namespace brevio::news {

void NewsLines::add(std::string_view text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        m_lines.push_back(std::move(line));
        line.clear();
    }
    m_lines.push_back(std::move(line));
}

void NewsLines::addText(std::string_view utf8)
{
    add(data(utf8));
}

} // namespace brevio::news

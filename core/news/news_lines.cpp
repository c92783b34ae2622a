#include "core/news/news_lines.h"

#include "core/news/parse_text.h"

namespace brevio::news {

void NewsLines::add(std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size() && !m_full; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        addLine(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    addLine(text.substr(std::min(start, text.size())));
}

void NewsLines::addLine(std::string_view line)
{
    if (m_full)
        return;
    if (m_lines.size() == kPaneMaxLines || m_bytes >= kPaneMaxBytes) {
        m_full = true;
        return;
    }
    if (line.size() > kPaneMaxBytes - m_bytes) {
        line = line.substr(0, kPaneMaxBytes - m_bytes);
        m_full = true;
    }
    m_bytes += line.size();
    m_lines.emplace_back(line);
}

void NewsLines::addText(std::string_view utf8)
{
    add(data(utf8));
}

namespace {

std::string closingLine()
{
    return data("[Ответ длиннее, чем показывает окно: остальное не показано]");
}

} // namespace

std::vector<std::string> NewsLines::take()
{
    if (m_full)
        m_lines.push_back(closingLine());
    m_full = false;
    m_bytes = 0;
    return std::move(m_lines);
}

std::vector<std::string> paneLines(const std::vector<std::string>& lines)
{
    NewsLines pane;
    for (const std::string& line : lines)
        pane.add(line);
    return pane.take();
}

std::string browserPage(std::string_view html)
{
    if (html.size() <= kBrowserMaxBytes)
        return std::string(html);
    // Cut where a tag starts, so that no half tag swallows the closing line.
    const std::size_t tag = html.rfind('<', kBrowserMaxBytes);
    const std::size_t cut = tag == std::string_view::npos || tag == 0 ? kBrowserMaxBytes : tag;
    return std::string(html.substr(0, cut)) + "<p>" + closingLine() + "</p>";
}

} // namespace brevio::news

#include "core/view/pane_text.h"

#include <algorithm>

namespace brevio::view {

std::string paneText(const std::vector<std::string>& lines)
{
    std::size_t size = lines.empty() ? 0 : lines.size() - 1;
    for (const auto& line : lines)
        size += line.size();
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

void cutToShownLength(std::string& line)
{
    if (line.size() <= kShownLineBytes)
        return;
    line.resize(kShownLineBytes);
    line += kCutMark;
    line.shrink_to_fit();
}

std::string shownPaneText(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        if (text.size() >= kShownTextBytes) {
            text += kCutMark;
            break;
        }
        const std::string_view line = lines[i];
        text += line.substr(0, kShownLineBytes);
        if (line.size() > kShownLineBytes)
            text += kCutMark;
    }
    return text;
}

std::vector<std::string> paneLines(std::string_view text)
{
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = text.find('\n', pos);
        lines.emplace_back(text.substr(pos, end == text.npos ? text.npos : end - pos));
        if (end == text.npos)
            return lines;
        pos = end + 1;
    }
}

int lineAt(const std::vector<std::string>& lines, int position)
{
    long long lineBegin = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const long long lineEnd = lineBegin + static_cast<long long>(lines[i].size());
        if (position <= lineEnd)
            return static_cast<int>(i);
        lineBegin = lineEnd + 1;
    }
    return lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
}

int lineStart(const std::vector<std::string>& lines, int line)
{
    long long start = 0;
    const auto count = std::min<std::size_t>(lines.size(), static_cast<std::size_t>(std::max(line, 0)));
    for (std::size_t i = 0; i < count; ++i)
        start += static_cast<long long>(lines[i].size()) + 1;
    if (count == lines.size() && count > 0)
        --start; // past the last line there is no break after it
    return static_cast<int>(start);
}

std::string_view lineText(const std::vector<std::string>& lines, int line)
{
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size())
        return {};
    return lines[static_cast<std::size_t>(line)];
}

std::string selectedText(const std::vector<std::string>& lines, Selection selection)
{
    const std::string text = paneText(lines);
    const long long size = static_cast<long long>(text.size());
    const long long begin = std::clamp<long long>(selection.start, 0, size);
    const long long end
        = std::clamp<long long>(static_cast<long long>(selection.start) + selection.length, begin, size);
    return text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

} // namespace brevio::view

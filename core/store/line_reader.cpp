#include "core/store/line_reader.h"

namespace brevio::store {

namespace {

constexpr char kEndOfText = 26; // Ctrl-Z

// The first CR or LF at or after `pos`. A plain loop: find_first_of runs a search of the
// two-character set for every byte, which made reading a week of files several times slower.
std::size_t findLineEnd(std::string_view text, std::size_t pos)
{
    for (; pos < text.size(); ++pos) {
        if (text[pos] == '\r' || text[pos] == '\n')
            return pos;
    }
    return std::string_view::npos;
}

// Splits at every CR or LF; `nextLineStart(end)` says where the line after a break begins.
template <class NextLineStart>
std::vector<std::string> splitAtLineEnds(std::string_view text, NextLineStart nextLineStart)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = findLineEnd(text, pos);
        if (end == text.npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        pos = nextLineStart(end);
    }
    return lines;
}

} // namespace

LineCursor::LineCursor(std::string_view text)
    : m_text(text.substr(0, text.find(kEndOfText)))
{
}

bool LineCursor::next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    const LineCut cut = cutLine(m_text.substr(m_pos));
    line = cut.line;
    m_pos += cut.taken;
    return true;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    LineCursor cursor(text);
    for (std::string_view line; cursor.next(line);)
        lines.emplace_back(line);
    return lines;
}

std::vector<std::string> splitPaneLines(std::string_view text)
{
    return splitAtLineEnds(
        text, [text](std::size_t end) { return end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1); });
}

std::string joinLinesCrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace brevio::store

#include "store/line_reader.h"

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

std::vector<std::string> splitLines(std::string_view text)
{
    if (const auto eot = text.find(kEndOfText); eot != text.npos)
        text = text.substr(0, eot);
    // Whatever follows the line's first CR or LF, up to and including the next LF, is skipped.
    return splitAtLineEnds(text, [text](std::size_t end) {
        const std::size_t lf = text.find('\n', end);
        return lf == text.npos ? text.size() : lf + 1;
    });
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

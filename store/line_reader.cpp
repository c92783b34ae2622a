#include "store/line_reader.h"

namespace brevio::store {

namespace {
constexpr char kEndOfText = 26; // Ctrl-Z
}

std::vector<std::string> splitLines(std::string_view text)
{
    if (const auto eot = text.find(kEndOfText); eot != text.npos)
        text = text.substr(0, eot);

    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == text.npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        // Whatever follows the line's first CR or LF, up to and including the next LF, is skipped.
        const std::size_t lf = text.find('\n', end);
        pos = lf == text.npos ? text.size() : lf + 1;
    }
    return lines;
}

std::vector<std::string> splitPaneLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == text.npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
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

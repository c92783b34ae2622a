#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::store {

// Line-by-line reading: a line ends at the first CR or LF; everything after it up to and
// including the next LF is skipped (so CR LF and lone LF end one line, and CR CR LF too);
// the line end is not part of the line; a Ctrl-Z (26) ends the text. A final line without a
// line end counts; an empty text gives no lines; "a\r\n" gives {"a"}.
std::vector<std::string> splitLines(std::string_view text);

// The first line of `text` (which holds no Ctrl-Z) by that rule, in two steps: the text up to
// the first LF, which is what the line takes with its end (the LF after a CR is the first LF
// after the line's start), then the line itself, that text up to its first CR. A reader that
// looks at the start of most lines only may take the first step alone.
struct LineCut
{
    std::string_view line; // after cutLine; the text up to the LF after cutRawLine
    std::size_t taken = 0; // with the line end
    bool closed = false; // an LF ends it, else it runs to the end of the text
};
inline LineCut cutRawLine(std::string_view text)
{
    const auto* lf = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    const std::size_t lfAt = lf ? static_cast<std::size_t>(lf - text.data()) : text.size();
    return {text.substr(0, lfAt), lf ? lfAt + 1 : lfAt, lf != nullptr};
}
inline std::string_view endAtCr(std::string_view rawLine)
{
    const auto* cr = static_cast<const char*>(std::memchr(rawLine.data(), '\r', rawLine.size()));
    return cr ? rawLine.substr(0, static_cast<std::size_t>(cr - rawLine.data())) : rawLine;
}
inline LineCut cutLine(std::string_view text)
{
    LineCut cut = cutRawLine(text);
    cut.line = endAtCr(cut.line);
    return cut;
}

// The same lines one at a time, as views into the text: for reading many files quickly.
class LineCursor
{
public:
    explicit LineCursor(std::string_view text);
    // The next line; false after the last one.
    bool next(std::string_view& line);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Whole-file reading into a pane: split at CR LF, CR or LF (each one break).
std::vector<std::string> splitPaneLines(std::string_view text);

// Lines joined with CR LF after each line (how the program writes lists).
std::string joinLinesCrLf(const std::vector<std::string>& lines);

} // namespace brevio::store

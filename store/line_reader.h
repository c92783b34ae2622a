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

// The first line of `text` by that rule: the line, how much of the text it takes with its line
// end, and whether an LF closed it (else it runs to the end of the text).
struct LineCut
{
    std::string_view line;
    std::size_t taken = 0;
    bool closed = false;
};
inline LineCut cutLine(std::string_view text) // text holds no Ctrl-Z
{
    // The line ends at its first CR or LF; whatever follows, up to and including the next LF,
    // is skipped. That LF is the first one after the line's start, so two memchr find both.
    const auto* lf = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    const std::size_t lfAt = lf ? static_cast<std::size_t>(lf - text.data()) : text.size();
    const auto* cr = static_cast<const char*>(std::memchr(text.data(), '\r', lfAt));
    return {text.substr(0, cr ? static_cast<std::size_t>(cr - text.data()) : lfAt), lf ? lfAt + 1 : lfAt,
            lf != nullptr};
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

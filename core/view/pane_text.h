#pragma once

#include <string>
#include <string_view>
#include <vector>

// A pane's lines and the character positions the pane reports for its caret and selection.
// One byte is one character, and every line break counts as one position, as in the Qt text
// panes of the viewing page: line i starts after the lines above it and one break each.
namespace brevio::view {

struct Selection
{
    int start = 0;
    int length = 0;
    bool operator==(const Selection&) const = default;
};

// The pane's plain text: its lines joined by '\n'.
std::string paneText(const std::vector<std::string>& lines);

// What a pane lays out is bounded, so that no file can freeze the window or fill the memory:
// a line longer than kShownLineBytes shows its beginning and the mark "…", and a pane's text
// stops after about kShownTextBytes with a line holding the mark alone.
inline constexpr std::size_t kShownLineBytes = 4096;
inline constexpr std::size_t kShownTextBytes = std::size_t(1) << 20;
inline constexpr char kCutMark = '\x85'; // "…" in windows-1251

// Cuts an over-long line to what a pane shows of it, releasing the rest.
void cutToShownLength(std::string& line);

// The text a pane shows of `lines`: paneText with the bounds above applied.
std::string shownPaneText(const std::vector<std::string>& lines);

// The lines of a pane's plain text, split at '\n'; an empty text holds no lines.
std::vector<std::string> paneLines(std::string_view text);

// The line that holds a position: a position at a line's end belongs to that line; one
// before the text belongs to line 0 and one past it to the last line.
int lineAt(const std::vector<std::string>& lines, int position);

// The position at which a line begins (past the last line: the end of the text).
int lineStart(const std::vector<std::string>& lines, int line);

// A line's text; a line that does not exist reads as empty.
std::string_view lineText(const std::vector<std::string>& lines, int line);

// The highlighted text, line breaks as '\n'; the part outside the text is ignored.
std::string selectedText(const std::vector<std::string>& lines, Selection selection);

} // namespace brevio::view

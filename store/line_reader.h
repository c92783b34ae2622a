#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brevio::store {

// Line-by-line reading: a line ends at the first CR or LF; everything after it up to and
// including the next LF is skipped (so CR LF and lone LF end one line, and CR CR LF too);
// the line end is not part of the line; a Ctrl-Z (26) ends the text. A final line without a
// line end counts; an empty text gives no lines; "a\r\n" gives {"a"}.
std::vector<std::string> splitLines(std::string_view text);

// Whole-file reading into a pane: split at CR LF, CR or LF (each one break).
std::vector<std::string> splitPaneLines(std::string_view text);

// Lines joined with CR LF after each line (how the program writes lists).
std::string joinLinesCrLf(const std::vector<std::string>& lines);

} // namespace brevio::store

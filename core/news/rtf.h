#pragma once

#include <string>
#include <string_view>
#include <vector>

// The saved-news files: the news pane's lines as an RTF document, one paragraph a line.
namespace brevio::news {

// Lines of windows-1251 bytes as RTF: every byte outside printable ASCII is written as \'xx,
// TAB as \tab, and every line is ended by \par, as the rich-edit pane writes plain lines.
std::string linesToRtf(const std::vector<std::string>& lines);

// The lines of a saved-news file. An RTF document gives its paragraphs (\par and \line end a
// line; tables, styles and other destinations are skipped; \uN characters come back in
// windows-1251); anything else is taken as plain text, split at CR LF, CR or LF.
std::vector<std::string> readNewsText(std::string_view bytes);

} // namespace brevio::news

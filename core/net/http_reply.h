#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevio::net {

// What one GET leaves behind. Before the first reply the two texts hold the placeholders that
// callers have always seen there.
struct HttpReply
{
    std::string header = "Head.txt"; // status line and header lines with their line ends
    std::string body = "Default.htm"; // raw bytes, no character-set conversion
};

// The one test every caller applies to a reply: the status code of the final reply, on the
// first line of its header text, is 200. "200" elsewhere in the header (a length, a date)
// does not count, so a 404 page is never taken for the file asked for.
bool replySucceeded(std::string_view headerText);

// The status code on the first line of a reply's header text ("HTTP/<version> <3 digits>[ ...]");
// none when that line is no status line.
std::optional<int> replyStatus(std::string_view headerText);

// The value of the reply's first header line called `name` (letter case ignored), without the
// blanks around it; none when there is no such line.
std::optional<std::string> replyHeader(std::string_view headerText, std::string_view name);

} // namespace brevio::net

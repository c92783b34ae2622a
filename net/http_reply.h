#pragma once

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

// The one test every caller applies to a reply: the header text contains "200" anywhere. The
// status code is deliberately not parsed (a 404 whose header mentions 200 passes).
bool replySucceeded(std::string_view headerText);

} // namespace brevio::net

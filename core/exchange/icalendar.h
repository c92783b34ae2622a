#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The pieces of an iCalendar file (RFC 5545) this program writes.
namespace brevio::exchange {

// A TEXT value: backslash, semicolon and comma escaped, every line break written as "\n".
std::string icalText(std::string_view utf8);

// A content line ("NAME:value") as written: folded so that no line passes 75 octets (the next
// part on a line of its own after one blank), never inside a UTF-8 character, ended by CR LF.
std::string icalLine(std::string_view line);

// A UTC date-time value, "20261209T164500Z".
std::string icalUtcTime(std::chrono::sys_seconds moment);

} // namespace brevio::exchange

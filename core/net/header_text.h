#pragma once

#include <string_view>

// The small text rules of HTTP header lines: names compare without regard to case, values are
// taken without the blanks and line ends around them.
namespace brevio::net {

bool equalNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// `text` without blanks, tabs, CR and LF at either end.
std::string_view trimmedHeaderText(std::string_view text);

} // namespace brevio::net

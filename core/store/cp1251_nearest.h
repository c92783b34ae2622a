#pragma once

#include <optional>
#include <string_view>

namespace brevio {

// windows-1251 bytes that stand in for a character the code page lacks: the letter without
// its accent, the plain form of a dash, quote or space, "" for characters that show nothing
// (zero-width spaces, byte-order marks). Nothing when there is no fair equivalent.
std::optional<std::string_view> nearestCp1251(char32_t cp);

} // namespace brevio

#pragma once

#include <string_view>

// Case-blind search in windows-1251 text, the way the selected lists look for an entry.
namespace brevio::view {

// Whether `part` occurs anywhere in `text`, case ignored; an empty `part` always does.
bool containsIgnoringCase(std::string_view text, std::string_view part);

} // namespace brevio::view

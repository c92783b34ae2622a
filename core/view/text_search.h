#pragma once

#include <string>
#include <string_view>

// Case-blind search in windows-1251 text, the way the selected lists look for an entry.
namespace brevio::view {

// Whether `part` occurs anywhere in `text`, case ignored; an empty `part` always does.
bool containsIgnoringCase(std::string_view text, std::string_view part);

// Text as the week search compares it: letter case folded (foldCase1251), and "ё" read as "е"
// (most listings write "е" for both). Byte for byte, so positions stay.
std::string searchFolded(std::string_view text);

} // namespace brevio::view

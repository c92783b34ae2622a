#pragma once

#include <string>
#include <string_view>

// Case-blind search in windows-1251 text, the way the selected lists look for an entry.
namespace brevio::view {

// The lower-case form of a windows-1251 byte: Latin A-Z and the Cyrillic capitals
// (Russian, Ukrainian, Belarusian, Serbian and Macedonian letters); other bytes unchanged.
char foldCase1251(char c);

std::string foldCase1251(std::string_view text);

// Whether `part` occurs anywhere in `text`, case ignored; an empty `part` always does.
bool containsIgnoringCase(std::string_view text, std::string_view part);

} // namespace brevio::view

#pragma once

#include <string>
#include <string_view>

namespace brevio {

// Data files and replies are windows-1251 bytes and stay so; the two converters below are the
// only place where text changes encoding, and the case folding the one place for letter case.

// Decodes windows-1251 bytes to UTF-8 (every byte maps to exactly one character).
std::string cp1251ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to windows-1251; characters the code page lacks become '?'.
std::string utf8ToCp1251(std::string_view utf8);

// The lower-case form of a windows-1251 byte: Latin A-Z and the Cyrillic capitals
// (Russian, Ukrainian, Belarusian, Serbian and Macedonian letters); other bytes unchanged.
char foldCase1251(char c);
std::string foldCase1251(std::string_view text);

} // namespace brevio

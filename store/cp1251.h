#pragma once

#include <string>
#include <string_view>

namespace brevio {

// Data files and replies are windows-1251 bytes and stay so; these two functions are the
// only place where text changes encoding.

// Decodes windows-1251 bytes to UTF-8 (every byte maps to exactly one character).
std::string cp1251ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to windows-1251; characters the code page lacks become '?'.
std::string utf8ToCp1251(std::string_view utf8);

} // namespace brevio

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brevio {

// Data files and replies are windows-1251 bytes and stay so; the two converters below are the
// only place where text changes encoding, and the case folding the one place for letter case.

// Decodes windows-1251 bytes to UTF-8 (every byte maps to exactly one character).
std::string cp1251ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to windows-1251; characters the code page lacks become '?'.
std::string utf8ToCp1251(std::string_view utf8);

// UTF-8 text as a message shows it: every control character (a NUL, a lone CR, an escape,
// DEL; a line break and a tab too unless `keepLineBreaks`, which keeps LF, CR LF as LF, and
// TAB) becomes its visible symbol (U+2400 ... U+241F, U+2421), so that nothing in it can cut
// a message short or hide a part of it.
std::string withVisibleControls(std::string_view utf8, bool keepLineBreaks);

// Data bytes quoted in a message: decoded, with every control character visible.
std::string quotedData(std::string_view bytes);

// What an encoding to windows-1251 could not keep: how many characters became '?', and the
// first of them, so that a caller can say so instead of losing letters silently.
struct Cp1251Loss
{
    std::size_t count = 0;
    char32_t first = 0;
};

// Encodes UTF-8 text of other programs to windows-1251: characters the code page lacks become
// their nearest equivalent (a letter without its accent, a plain dash, quote or space); only
// those without any become '?', counted in `loss`.
std::string utf8ToCp1251Nearest(std::string_view utf8, Cp1251Loss* loss = nullptr);

// The lower-case form of a windows-1251 byte: Latin A-Z and the Cyrillic capitals
// (Russian, Ukrainian, Belarusian, Serbian and Macedonian letters); other bytes unchanged.
char foldCase1251(char c);
std::string foldCase1251(std::string_view text);

} // namespace brevio

#include "core/store/cp1251_nearest.h"

#include <array>

namespace brevio {

namespace {

// Base letters of U+00C0..U+017F, one per code point; '*' marks the few that take two letters
// (looked up in kTwoLetters), so that "Ærø Straße" reads "AEro Strasse", not "?r? Stra?e".
constexpr std::string_view kLatin1Letters
    = "AAAAAA*CEEEEIIIIDNOOOOOxOUUUUY**aaaaaa*ceeeeiiiidnooooo/ouuuuy*y";
constexpr std::string_view kLatinExtendedA
    = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlLlLl"
      "NnNnNnnNnOoOoOo**RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatin1Letters.size() == 0x40 && kLatinExtendedA.size() == 0x80);

struct Replacement
{
    char32_t cp;
    std::string_view bytes;
};

constexpr std::array kTwoLetters = {
    Replacement{0x00C6, "AE"}, Replacement{0x00DE, "Th"}, Replacement{0x00DF, "ss"},
    Replacement{0x00E6, "ae"}, Replacement{0x00FE, "th"}, Replacement{0x0132, "IJ"},
    Replacement{0x0133, "ij"}, Replacement{0x0152, "OE"}, Replacement{0x0153, "oe"},
};

// Signs, dashes, quotes and spaces outside the code page, and the letters of Kazakh and other
// Cyrillic alphabets that windows-1251 lacks, as their Russian look-alikes.
constexpr std::array kOthers = {
    Replacement{0x00A1, "!"},    Replacement{0x00A2, "c"},
    Replacement{0x00A3, "L"},    Replacement{0x00A5, "Y"},
    Replacement{0x00A8, "\""},   Replacement{0x00AA, "a"},
    Replacement{0x00AF, "-"},    Replacement{0x00B2, "2"},
    Replacement{0x00B3, "3"},    Replacement{0x00B4, "'"},
    Replacement{0x00B8, ","},    Replacement{0x00B9, "1"},
    Replacement{0x00BA, "o"},    Replacement{0x00BC, "1/4"},
    Replacement{0x00BD, "1/2"},  Replacement{0x00BE, "3/4"},
    Replacement{0x00BF, "?"},    Replacement{0x0492, "\xC3"}, // Ғ Г
    Replacement{0x0493, "\xE3"}, Replacement{0x049A, "\xCA"}, // Қ К
    Replacement{0x049B, "\xEA"}, Replacement{0x04A2, "\xCD"}, // Ң Н
    Replacement{0x04A3, "\xED"}, Replacement{0x04AE, "\xD3"}, // Ү У
    Replacement{0x04AF, "\xF3"}, Replacement{0x04B0, "\xD3"}, // Ұ У
    Replacement{0x04B1, "\xF3"}, Replacement{0x04BA, "\xD5"}, // Һ Х
    Replacement{0x04BB, "\xF5"}, Replacement{0x04C0, "I"},
    Replacement{0x04D8, "\xC0"}, // Ә А
    Replacement{0x04D9, "\xE0"}, Replacement{0x04E8, "\xCE"}, // Ө О
    Replacement{0x04E9, "\xEE"}, Replacement{0x2007, "\xA0"}, // figure space: does not break either
    Replacement{0x200B, ""},     Replacement{0x200C, ""},
    Replacement{0x200D, ""},     Replacement{0x2010, "-"},
    Replacement{0x2011, "-"},    Replacement{0x2012, "\x96"}, // figure dash: en dash
    Replacement{0x2015, "\x97"}, // horizontal bar: em dash
    Replacement{0x201B, "\x91"}, Replacement{0x201F, "\x84"},
    Replacement{0x2024, "."},    Replacement{0x2025, ".."},
    Replacement{0x2032, "'"},    Replacement{0x2033, "\""},
    Replacement{0x2043, "-"},    Replacement{0x2044, "/"},
    Replacement{0x202F, "\xA0"}, // narrow no-break space
    Replacement{0x2060, ""},     Replacement{0x20BD, "\xF0\xF3\xE1."}, // rouble sign: "руб."
    Replacement{0x2212, "-"},    Replacement{0xFEFF, ""},
};

} // namespace

std::optional<std::string_view> nearestCp1251(char32_t cp)
{
    for (const Replacement& r : kTwoLetters)
        if (r.cp == cp)
            return r.bytes;
    if (cp >= 0x00C0 && cp < 0x0100)
        return kLatin1Letters.substr(cp - 0x00C0, 1);
    if (cp >= 0x0100 && cp < 0x0180)
        return kLatinExtendedA.substr(cp - 0x0100, 1);
    // The typographic spaces (en quad .. hair space), the line and paragraph separators and
    // the ideographic space.
    if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x205F || cp == 0x3000)
        return std::string_view(" ");
    for (const Replacement& r : kOthers)
        if (r.cp == cp)
            return r.bytes;
    return std::nullopt;
}

} // namespace brevio

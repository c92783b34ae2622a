#include "core/store/cp1251.h"

#include "core/store/cp1251_nearest.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace brevio {

namespace {

// Unicode code points of bytes 0x80..0xFF. The one unassigned byte, 0x98, stands for the C1
// control U+0098, so that every byte survives the way to a widget and back.
constexpr std::array<char32_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

const std::unordered_map<char32_t, char>& encodeMap()
{
    static const std::unordered_map<char32_t, char> map = [] {
        std::unordered_map<char32_t, char> m;
        for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
            m.emplace(kHighHalf[i], static_cast<char>(0x80 + i));
        }
        return m;
    }();
    return map;
}

// Reads one UTF-8 sequence at `i`; malformed input yields U+FFFD and skips one byte.
char32_t nextCodePoint(std::string_view s, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    const int extra = (b0 >> 5) == 0x6 ? 1 : (b0 >> 4) == 0xE ? 2 : (b0 >> 3) == 0x1E ? 3 : 0;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

constexpr std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) // А..Я
        table[c] = static_cast<unsigned char>(c + 32);
    // Capitals outside the main block and their small letters.
    constexpr std::array<std::array<int, 2>, 15> pairs{{
        {0x80, 0x90}, // Ђ ђ
        {0x81, 0x83}, // Ѓ ѓ
        {0x8A, 0x9A}, // Љ љ
        {0x8C, 0x9C}, // Њ њ
        {0x8D, 0x9D}, // Ќ ќ
        {0x8E, 0x9E}, // Ћ ћ
        {0x8F, 0x9F}, // Џ џ
        {0xA1, 0xA2}, // Ў ў
        {0xA3, 0xBC}, // Ј ј
        {0xA5, 0xB4}, // Ґ ґ
        {0xA8, 0xB8}, // Ё ё
        {0xAA, 0xBA}, // Є є
        {0xAF, 0xBF}, // Ї ї
        {0xB2, 0xB3}, // І і
        {0xBD, 0xBE}, // Ѕ ѕ
    }};
    for (const auto& [upper, lower] : pairs)
        table[upper] = static_cast<unsigned char>(lower);
    return table;
}

constexpr auto kLower = makeLowerTable();

// Code points the code page lacks become their nearest equivalent (with `nearest`) or '?'.
std::string encode(std::string_view utf8, bool nearest, Cp1251Loss* loss)
{
    std::string out;
    out.reserve(utf8.size());
    const auto& map = encodeMap();
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp >= 0x0410 && cp <= 0x044F) { // А..я, most of a Russian text
            out += static_cast<char>(cp - 0x0410 + 0xC0);
        } else if (const auto it = map.find(cp); it != map.end()) {
            out += it->second;
        } else if (const auto near = nearest ? nearestCp1251(cp) : std::nullopt) {
            out += *near;
        } else {
            out += '?';
            if (loss && loss->count++ == 0)
                loss->first = cp;
        }
    }
    return out;
}

} // namespace

std::string cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            appendUtf8(out, kHighHalf[b - 0x80]);
    }
    return out;
}

std::string withVisibleControls(std::string_view utf8, bool keepLineBreaks)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Bytes below 0x20 and 0x7F never occur inside a UTF-8 sequence.
        const char c = utf8[i];
        const auto b = static_cast<unsigned char>(c);
        const bool control = b < 0x20 || b == 0x7F;
        if (keepLineBreaks && c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue; // CR LF is one line break
        if (!control || (keepLineBreaks && (c == '\n' || c == '\t')))
            out += c;
        else
            appendUtf8(out, b == 0x7F ? char32_t(0x2421) : char32_t(0x2400 + b));
    }
    return out;
}

std::string quotedData(std::string_view bytes)
{
    return withVisibleControls(cp1251ToUtf8(bytes), false);
}

std::string utf8ToCp1251(std::string_view utf8)
{
    return encode(utf8, false, nullptr);
}

std::string utf8ToCp1251Nearest(std::string_view utf8, Cp1251Loss* loss)
{
    return encode(utf8, true, loss);
}

char foldCase1251(char c)
{
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

std::string foldCase1251(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = foldCase1251(c);
    return folded;
}

} // namespace brevio

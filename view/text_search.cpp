#include "view/text_search.h"

#include <array>

namespace brevio::view {

namespace {

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

} // namespace

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

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    return foldCase1251(text).find(foldCase1251(part)) != std::string::npos;
}

} // namespace brevio::view

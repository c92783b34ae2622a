#include "core/view/text_search.h"

#include "core/store/cp1251.h"

namespace brevio::view {

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    return foldCase1251(text).find(foldCase1251(part)) != std::string::npos;
}

std::string searchFolded(std::string_view text)
{
    constexpr char kSmallYo = '\xB8';
    constexpr char kSmallYe = '\xE5';
    std::string folded = foldCase1251(text);
    for (char& c : folded)
        if (c == kSmallYo)
            c = kSmallYe;
    return folded;
}

} // namespace brevio::view

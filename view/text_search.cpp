#include "view/text_search.h"

#include "store/cp1251.h"

namespace brevio::view {

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    return foldCase1251(text).find(foldCase1251(part)) != std::string::npos;
}

} // namespace brevio::view

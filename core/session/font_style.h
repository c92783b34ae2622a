#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brevio {

// One style a typeface is installed in, as the font dialog lists it ("Book", "Condensed Italic").
struct FaceStyle
{
    std::string name;
    int weight = 400; // 100 (thin) to 900 (black), 400 regular, 700 bold
    bool slanted = false; // italic or oblique
};

// The style of `styles` that shows a font of `weight` and slant most faithfully: the same slant
// first, then the nearest weight (of two as near, the heavier for a regular or heavier font and
// the lighter for a light one, as web browsers choose), then the normal width (no
// "Condensed", "Narrow", "Expanded"... in its name), then the shortest name. `styles.size()` for
// an empty list.
std::size_t nearestStyle(const std::vector<FaceStyle>& styles, int weight, bool slanted);

} // namespace brevio

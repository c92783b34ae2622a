#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevio {

// The main window's place on the desktop, as section "fm" keeps it: the window's area without
// the frame the desktop draws around it (so restoring it puts the window exactly where it was,
// whatever that frame measures).
struct Placement
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; } // one past the last column
    int bottom() const { return top + height; } // one past the last row
    bool operator==(const Placement&) const = default;
};

// "left,top,right,bottom" with the last column and row inclusive (value NormPos).
std::string placementText(const Placement& placement);
// None for anything but four integers that make an area of at least one pixel.
std::optional<Placement> placementFromText(std::string_view text);

// The stored place, unchanged when the top of the window (where it is taken hold of) can still
// be reached on one of `screens` (their areas free for windows). Otherwise the window moves
// onto the nearest screen, made no larger than it, whole and nearest to where it was. With no
// screens known, the place stays.
Placement placeOnScreens(const Placement& window, const std::vector<Placement>& screens);

} // namespace brevio

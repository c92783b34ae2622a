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

// What the desktop's frame adds on each side of the window's area; `top` holds the title bar.
struct FrameMargins
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameMargins&) const = default;
};

// A frame to reckon with before the desktop has drawn one: a title bar as tall as the tallest
// common ones, so that it is never left above the screen.
inline constexpr FrameMargins kAssumedFrame{4, 40, 4, 4};

// "left,top,right,bottom" with the last column and row inclusive (value NormPos).
std::string placementText(const Placement& placement);
// None for anything but four integers that make an area of at least one pixel.
std::optional<Placement> placementFromText(std::string_view text);

// "left,top,right,bottom" of the frame; none for anything but four integers from 0 to 1000.
std::string frameText(const FrameMargins& frame);
std::optional<FrameMargins> frameFromText(std::string_view text);

// Where the window goes on `screens` (their areas free for windows), its frame counted. Its screen
// is the one it covers most (the nearest when it covers none). It stays where it is when it fits
// that screen, its title bar lies on it and at least half of it shows there. Otherwise it is
// shrunk to fit the screen's area where it is larger and moved by the least distance that puts it,
// title bar and all, whole on the screen. With no screens known, the place stays.
Placement placeOnScreens(const Placement& window, const FrameMargins& frame,
                         const std::vector<Placement>& screens);

} // namespace brevio

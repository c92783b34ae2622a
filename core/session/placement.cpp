#include "core/session/placement.h"

#include "core/store/int_text.h"

#include <algorithm>
#include <array>

namespace brevio {

namespace {

constexpr int kFarthest = 1 << 24;
constexpr int kWidestFrame = 1000;

// Four integers separated by commas, each with spaces allowed after it.
std::optional<std::array<int, 4>> fourIntegers(std::string_view text)
{
    std::array<int, 4> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((i < 3) == (comma == std::string_view::npos))
            return std::nullopt;
        std::string_view part = text.substr(0, comma);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        const auto value = store::tryStrToInt(part);
        if (!value)
            return std::nullopt;
        v[i] = *value;
        text = i < 3 ? text.substr(comma + 1) : std::string_view();
    }
    return v;
}

std::string joined(int a, int b, int c, int d)
{
    return std::to_string(a) + ',' + std::to_string(b) + ',' + std::to_string(c) + ',' + std::to_string(d);
}

Placement framed(const Placement& window, const FrameMargins& frame)
{
    return {window.left - frame.left, window.top - frame.top, window.width + frame.left + frame.right,
            window.height + frame.top + frame.bottom};
}

long long overlap(int from1, int to1, int from2, int to2)
{
    return std::max(0, std::min(to1, to2) - std::max(from1, from2));
}

long long sharedArea(const Placement& a, const Placement& b)
{
    return overlap(a.left, a.right(), b.left, b.right()) * overlap(a.top, a.bottom(), b.top, b.bottom());
}

long long gap(int from1, int to1, int from2, int to2)
{
    return std::max({0, from2 - to1, from1 - to2});
}

// Squared distance between the two areas (0 when they meet).
long long distance(const Placement& a, const Placement& b)
{
    const long long dx = gap(a.left, a.right(), b.left, b.right());
    const long long dy = gap(a.top, a.bottom(), b.top, b.bottom());
    return dx * dx + dy * dy;
}

// Where a user left a window partly past a screen's edge it stays, as long as its title bar
// can be reached there and most of it shows.
bool staysOn(const Placement& outer, const FrameMargins& frame, const Placement& screen)
{
    const bool titleBarOnScreen = outer.top >= screen.top && outer.top + frame.top <= screen.bottom();
    const bool fits = outer.width <= screen.width && outer.height <= screen.height;
    const long long area = static_cast<long long>(outer.width) * outer.height;
    return titleBarOnScreen && fits && 2 * sharedArea(outer, screen) >= area;
}

} // namespace

std::string placementText(const Placement& p)
{
    return joined(p.left, p.top, p.right() - 1, p.bottom() - 1);
}

std::optional<Placement> placementFromText(std::string_view text)
{
    const auto v = fourIntegers(text);
    // No desktop reaches that far; within it no sum below can overflow.
    if (!v || std::any_of(v->begin(), v->end(), [](int c) { return c < -kFarthest || c > kFarthest; }))
        return std::nullopt;
    const auto [left, top, right, bottom] = *v;
    // Right and bottom are inclusive: an area of no pixel is none.
    if (right < left || bottom < top)
        return std::nullopt;
    return Placement{left, top, right - left + 1, bottom - top + 1};
}

std::string frameText(const FrameMargins& f)
{
    return joined(f.left, f.top, f.right, f.bottom);
}

std::optional<FrameMargins> frameFromText(std::string_view text)
{
    const auto v = fourIntegers(text);
    if (!v || std::any_of(v->begin(), v->end(), [](int c) { return c < 0 || c > kWidestFrame; }))
        return std::nullopt;
    return FrameMargins{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

Placement placeOnScreens(const Placement& window, const FrameMargins& frame,
                         const std::vector<Placement>& screens)
{
    if (screens.empty())
        return window;
    const Placement outer = framed(window, frame);
    // The screen it covers most; of screens it does not cover, the nearest.
    const Placement& screen
        = *std::min_element(screens.begin(), screens.end(), [&outer](const Placement& a, const Placement& b) {
              return std::make_pair(-sharedArea(outer, a), distance(outer, a))
                  < std::make_pair(-sharedArea(outer, b), distance(outer, b));
          });
    if (staysOn(outer, frame, screen))
        return window;
    Placement placed = window;
    placed.width = std::max(1, std::min(window.width, screen.width - frame.left - frame.right));
    placed.height = std::max(1, std::min(window.height, screen.height - frame.top - frame.bottom));
    // The title bar comes first where the screen is too small even for the shrunk window.
    placed.left = std::max(std::min(window.left, screen.right() - frame.right - placed.width),
                           screen.left + frame.left);
    placed.top = std::max(std::min(window.top, screen.bottom() - frame.bottom - placed.height),
                          screen.top + frame.top);
    return placed;
}

} // namespace brevio

#include "core/session/placement.h"

#include "core/store/int_text.h"

#include <algorithm>
#include <iterator>

namespace brevio {

namespace {

// How much of the window's top strip must lie on a screen for the window to count as reachable.
constexpr int kGripWidth = 40;
constexpr int kGripHeight = 20;
constexpr int kFarthest = 1 << 24;

int overlap(int from1, int to1, int from2, int to2)
{
    return std::max(0, std::min(to1, to2) - std::max(from1, from2));
}

int gap(int from1, int to1, int from2, int to2)
{
    return std::max({0, from2 - to1, from1 - to2});
}

bool reachable(const Placement& window, const Placement& screen)
{
    const int gripHeight = std::min(kGripHeight, window.height);
    return overlap(window.left, window.right(), screen.left, screen.right())
        >= std::min(kGripWidth, window.width)
        && overlap(window.top, window.top + gripHeight, screen.top, screen.bottom()) >= gripHeight;
}

// Squared distance between the two areas (0 when they meet).
long long distance(const Placement& a, const Placement& b)
{
    const long long dx = gap(a.left, a.right(), b.left, b.right());
    const long long dy = gap(a.top, a.bottom(), b.top, b.bottom());
    return dx * dx + dy * dy;
}

} // namespace

std::string placementText(const Placement& p)
{
    return std::to_string(p.left) + ',' + std::to_string(p.top) + ',' + std::to_string(p.right() - 1) + ','
        + std::to_string(p.bottom() - 1);
}

std::optional<Placement> placementFromText(std::string_view text)
{
    int v[4];
    for (int i = 0; i < 4; ++i) {
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
    // No desktop reaches that far; within it no sum below can overflow.
    if (std::any_of(std::begin(v), std::end(v), [](int c) { return c < -kFarthest || c > kFarthest; }))
        return std::nullopt;
    // Right and bottom are inclusive: an area of no pixel is none.
    if (v[2] < v[0] || v[3] < v[1])
        return std::nullopt;
    return Placement{v[0], v[1], v[2] - v[0] + 1, v[3] - v[1] + 1};
}

Placement placeOnScreens(const Placement& window, const std::vector<Placement>& screens)
{
    if (screens.empty())
        return window;
    for (const Placement& screen : screens) {
        if (reachable(window, screen))
            return window;
    }
    const Placement& nearest = *std::min_element(screens.begin(), screens.end(),
                                                 [&window](const Placement& a, const Placement& b) {
                                                     return distance(window, a) < distance(window, b);
                                                 });
    Placement placed = window;
    placed.width = std::min(window.width, nearest.width);
    placed.height = std::min(window.height, nearest.height);
    placed.left = std::clamp(window.left, nearest.left, nearest.right() - placed.width);
    placed.top = std::clamp(window.top, nearest.top, nearest.bottom() - placed.height);
    return placed;
}

} // namespace brevio

#include "core/session/font_style.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>
#include <tuple>

namespace brevio {

namespace {

// Words by which type foundries name a face narrower or wider than the family's own.
// ("cond" also stands for "Condensed" and "SemiCond".)
constexpr std::array<std::string_view, 6> kWidthWords
    = {"cond", "narrow", "compressed", "expanded", "extended", "wide"};

bool namesAWidth(const std::string& name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(kWidthWords.begin(), kWidthWords.end(),
                       [&lower](std::string_view word) { return lower.find(word) != std::string::npos; });
}

} // namespace

std::size_t nearestStyle(const std::vector<FaceStyle>& styles, int weight, bool slanted)
{
    // Smaller is better, compared in order.
    const auto rank = [weight, slanted](const FaceStyle& style) {
        const bool wrongSide = weight < 400 ? style.weight > weight : style.weight < weight;
        return std::make_tuple(style.slanted != slanted, std::abs(style.weight - weight), wrongSide,
                               namesAWidth(style.name), style.name.size());
    };
    const auto best
        = std::min_element(styles.begin(), styles.end(),
                           [&rank](const FaceStyle& a, const FaceStyle& b) { return rank(a) < rank(b); });
    return static_cast<std::size_t>(best - styles.begin());
}

} // namespace brevio

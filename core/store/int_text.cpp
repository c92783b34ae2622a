#include "core/store/int_text.h"

#include "core/store/errors.h"

#include <charconv>
#include <limits>
#include <string>

namespace brevio::store {

std::optional<int> tryStrToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view digits = text.substr(i);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9')
        return std::nullopt;

    // Parse the magnitude wider than int so that INT_MIN itself is accepted.
    long long magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int strToInt(std::string_view text)
{
    if (const auto value = tryStrToInt(text))
        return *value;
    throw ConvertError(text);
}

} // namespace brevio::store

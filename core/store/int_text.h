#pragma once

#include <optional>
#include <string_view>

namespace brevio::store {

// Decimal integer text as the runtime converted it: leading blanks, an optional '+' or '-',
// one or more digits and nothing after them; the value must fit an int. Hex and trailing
// blanks are refused.
std::optional<int> tryStrToInt(std::string_view text);

// Same, but throws ConvertError(text) ("'%s' is not a valid integer value") on bad text.
int strToInt(std::string_view text);

} // namespace brevio::store

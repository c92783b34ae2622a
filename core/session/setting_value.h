#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brevio {

// How settings are encoded: every value is a string; integers are decimal text; booleans are
// "1"/"0" and are read back as integers (any non-zero number is true). An absent value, or one
// that is not a decimal integer, reads as the caller's default.

int settingToInt(const std::optional<std::string>& stored, int fallback);
// The same for values past an int: moments in seconds, file sizes.
long long settingToInt64(const std::optional<std::string>& stored, long long fallback);
bool settingToBool(const std::optional<std::string>& stored, bool fallback);
std::string intToSetting(int value);
std::string int64ToSetting(long long value);
std::string boolToSetting(bool value);

} // namespace brevio

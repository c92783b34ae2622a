#include "core/session/setting_value.h"

#include "core/store/int_text.h"

#include <charconv>

namespace brevio {

int settingToInt(const std::optional<std::string>& stored, int fallback)
{
    if (!stored)
        return fallback;
    return store::tryStrToInt(*stored).value_or(fallback);
}

long long settingToInt64(const std::optional<std::string>& stored, long long fallback)
{
    if (!stored)
        return fallback;
    // The int rule's text without its leading blanks and '+': what int64ToSetting writes.
    long long value = 0;
    const char* end = stored->data() + stored->size();
    const auto [stop, error] = std::from_chars(stored->data(), end, value);
    return error == std::errc() && stop == end && stop != stored->data() ? value : fallback;
}

bool settingToBool(const std::optional<std::string>& stored, bool fallback)
{
    return settingToInt(stored, fallback ? 1 : 0) != 0;
}

std::string intToSetting(int value)
{
    return std::to_string(value);
}

std::string int64ToSetting(long long value)
{
    return std::to_string(value);
}

std::string boolToSetting(bool value)
{
    return value ? "1" : "0";
}

} // namespace brevio

#include "core/session/setting_value.h"

#include "core/store/int_text.h"

namespace brevio {

int settingToInt(const std::optional<std::string>& stored, int fallback)
{
    if (!stored)
        return fallback;
    return store::tryStrToInt(*stored).value_or(fallback);
}

bool settingToBool(const std::optional<std::string>& stored, bool fallback)
{
    return settingToInt(stored, fallback ? 1 : 0) != 0;
}

std::string intToSetting(int value)
{
    return std::to_string(value);
}

std::string boolToSetting(bool value)
{
    return value ? "1" : "0";
}

} // namespace brevio

#include "core/store/file_names.h"

#include "core/store/errors.h"

#include <array>

namespace brevio::store {

std::string_view selectedListFile(int day)
{
    static constexpr std::array<std::string_view, kSelectedListCount> names
        = {"selpn", "selvt", "selsr", "selcht", "selpt", "selsb", "selvs", "selsledpn"};
    if (day < 0 || day >= kSelectedListCount)
        throw ListIndexError(day);
    return names[static_cast<std::size_t>(day)];
}

} // namespace brevio::store

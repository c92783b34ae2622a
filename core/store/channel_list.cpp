#include "core/store/channel_list.h"

namespace brevio::store {

ChannelEntry splitChannelLine(std::string_view line)
{
    const auto colon = line.find(':');
    if (colon == line.npos)
        return {std::string(line), {}};
    return {std::string(line.substr(0, colon)), std::string(line.substr(colon + 1))};
}

} // namespace brevio::store

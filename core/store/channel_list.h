#pragma once

#include <string>
#include <string_view>

namespace brevio::store {

// One line of a channel list: "display name:file name".
struct ChannelEntry
{
    std::string name;
    std::string fileName;
};

// Split at the first ':' (no ':' -> whole line is the name, file name empty).
ChannelEntry splitChannelLine(std::string_view line);

} // namespace brevio::store

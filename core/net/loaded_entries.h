#pragma once

#include "core/store/channel_list.h"

#include <string_view>
#include <vector>

namespace brevio::net {

// For each entry, whether the text "name:file" occurs anywhere in `joinedList` (the joined
// lines of a channel list, so also inside a longer entry or across the join of two lines): the
// same answer as one search of the list per entry, for all entries at once in
// O((list + entries) log list) time instead of O(list × entries).
std::vector<bool> loadedEntries(const std::vector<store::ChannelEntry>& entries, std::string_view joinedList);

} // namespace brevio::net

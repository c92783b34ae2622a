#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::store {

// Day separators: a line that is empty or exactly one space.
bool isDaySeparator(std::string_view line);

// The seven day blocks of a channel file's lines: block d (0 Monday .. 6 Sunday) is its
// separator line and the lines after it up to the next separator; lines before the first
// separator (header) and from the eighth separator on are dropped; missing days are empty.
// The lines are moved into the blocks, so a large file is not held twice.
std::array<std::vector<std::string>, 7> dayBlocks(std::vector<std::string> lines);

} // namespace brevio::store

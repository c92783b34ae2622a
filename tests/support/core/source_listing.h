#pragma once

#include "support/core/file_tree.h"

#include <set>
#include <string>
#include <vector>

namespace brevio::test {

// An XMLTV listing (UTF-8, times at +0300) of the channels `names` (UTF-8 display names; ids
// "<idPrefix><n>"), each with shows at 12:00 and 18:00 of `days` days from Monday 7 December 2026,
// titled "<version> <hour>".
std::string sourceListing(const std::vector<std::string>& names, const std::string& version, int days = 2,
                          const std::string& idPrefix = "ch");

// What changed between two snapshots of a week store: the names (UTF-8) of the channels whose
// files changed, by the channel lists of the later one, and "?<path>" for any changed path that
// is no channel file, channel list or week list.
std::set<std::string> changedChannels(const FileTree& before, const FileTree& after);

} // namespace brevio::test

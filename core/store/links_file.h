#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::store {

struct LinkEntry
{
    std::string tag;
    std::string caption;
    std::string target;
};

struct LinkHeading
{
    std::string caption;
    std::vector<LinkEntry> entries;
};

struct LinksMenu
{
    std::vector<LinkEntry> beforeFirstHeading;
    std::vector<LinkHeading> headings;
};

// Grammar: tag = text before first '|' (whole line without one). Tag exactly "i" -> heading,
// caption = everything after the first '|'. Any other line (empty included) -> entry:
// caption = text between first and second '|' (to end without a second), target = text after
// the second '|' unchanged (nothing trimmed). Entries before any heading go to
// beforeFirstHeading (the menu shows them directly under its top).
LinksMenu parseLinks(std::string_view fileText);

// Target of the first line with tag exactly "s" whose caption equals `caption` exactly.
std::optional<std::string> findLinkTarget(std::string_view fileText, std::string_view caption);

} // namespace brevio::store

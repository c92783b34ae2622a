#include "core/store/links_file.h"

#include "core/store/line_reader.h"

namespace brevio::store {

namespace {

LinkEntry parseLinkLine(std::string_view line)
{
    LinkEntry entry;
    const auto first = line.find('|');
    entry.tag = line.substr(0, first);
    if (first == line.npos)
        return entry;
    const auto second = line.find('|', first + 1);
    entry.caption = line.substr(first + 1, second == line.npos ? line.npos : second - first - 1);
    if (second != line.npos)
        entry.target = line.substr(second + 1);
    return entry;
}

bool isHeading(const LinkEntry& entry)
{
    return entry.tag == "i";
}

} // namespace

LinksMenu parseLinks(std::string_view fileText)
{
    LinksMenu menu;
    for (const auto& line : splitLines(fileText)) {
        LinkEntry entry = parseLinkLine(line);
        if (isHeading(entry)) {
            // The heading's caption is everything after "i|", further '|' included.
            const auto bar = line.find('|');
            menu.headings.push_back({bar == line.npos ? std::string() : line.substr(bar + 1), {}});
        } else if (menu.headings.empty()) {
            menu.beforeFirstHeading.push_back(std::move(entry));
        } else {
            menu.headings.back().entries.push_back(std::move(entry));
        }
    }
    return menu;
}

std::optional<std::string> findLinkTarget(std::string_view fileText, std::string_view caption)
{
    for (const auto& line : splitLines(fileText)) {
        LinkEntry entry = parseLinkLine(line);
        if (entry.tag == "s" && entry.caption == caption)
            return std::move(entry.target);
    }
    return std::nullopt;
}

} // namespace brevio::store

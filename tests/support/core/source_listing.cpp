#include "support/core/source_listing.h"

#include "core/store/channel_list.h"
#include "core/store/cp1251.h"
#include "core/store/line_reader.h"

#include <cstdio>

namespace brevio::test {

std::string sourceListing(const std::vector<std::string>& names, const std::string& version, int days,
                          const std::string& idPrefix)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        xml += "<channel id=\"" + idPrefix + std::to_string(i) + "\"><display-name lang=\"ru\">" + names[i]
            + "</display-name></channel>\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        for (int day = 0; day < days; ++day)
            for (const int hour : {12, 18}) {
                char start[32];
                std::snprintf(start, sizeof start, "202612%02d%02d0000 +0300", 7 + day, hour);
                xml += "<programme start=\"" + std::string(start) + "\" channel=\"" + idPrefix
                    + std::to_string(i) + "\"><title lang=\"ru\">" + version + " " + std::to_string(hour)
                    + "</title></programme>\n";
            }
    return xml + "</tv>\n";
}

std::set<std::string> changedChannels(const FileTree& before, const FileTree& after)
{
    std::set<std::string> changed;
    for (const std::string& path : changedPaths(before, after)) {
        const auto slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        const std::string file = path.substr(folder.size());
        const auto now = after.find(path);
        const bool newFolder = now != after.end() && !now->second;
        if (newFolder || path == "dats.dat" || (!folder.empty() && file == "aplp.dat"))
            continue;
        const auto list = after.find(folder + "aplp.dat");
        std::string name;
        if (!folder.empty() && list != after.end() && list->second)
            for (const std::string& line : store::splitLines(*list->second)) {
                const store::ChannelEntry entry = store::splitChannelLine(line);
                if (entry.fileName == file)
                    name = cp1251ToUtf8(entry.name);
            }
        changed.insert(name.empty() ? "?" + path : name);
    }
    return changed;
}

} // namespace brevio::test

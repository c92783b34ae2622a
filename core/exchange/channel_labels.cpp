#include "core/exchange/channel_labels.h"

#include "core/exchange/show_lines.h"
#include "core/exchange/stable_hash.h"

#include <cstdint>
#include <cstdio>
#include <set>

namespace brevio::exchange {

namespace {

constexpr std::size_t kMaxStemLength = 48;

bool keptAsIs(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

std::string channelName(const XmltvChannel& channel, const std::vector<std::string>& languages,
                        Cp1251Loss* loss)
{
    const XmltvText* display = pickText(channel.displayNames, languages);
    std::string name = cleanLine(utf8ToCp1251Nearest(display ? display->text : "", loss));
    if (name.empty())
        name = cleanLine(utf8ToCp1251Nearest(channel.id, loss));
    for (char& c : name) {
        if (c == ':')
            c = '.';
        else if (c == '|')
            c = '/';
    }
    return name;
}

} // namespace

std::string channelFileName(std::string_view id)
{
    std::string stem;
    for (const char c : id) {
        const char lower = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
        stem += keptAsIs(lower) ? lower : '_';
    }
    // No hidden files, no "..", nothing that could read as a path.
    while (!stem.empty() && (stem.front() == '.' || stem.front() == '-'))
        stem.erase(0, 1);
    if (stem.size() > kMaxStemLength)
        stem.resize(kMaxStemLength);
    // An id kept as it was gives itself plus ".txt"; any other, whatever is left of it plus a
    // hash of the whole id. So "abc" and "abc.txt" stay apart, and so do "Abc" and "abc".
    if (!stem.empty() && stem == id && !stem.ends_with(".txt"))
        return stem + ".txt";
    char hash[16];
    std::snprintf(hash, sizeof hash, "%08x", fnv1a<std::uint32_t>(id));
    return stem + (stem.empty() ? "" : "-") + hash + ".txt";
}

std::vector<ChannelLabel> labelChannels(const std::vector<XmltvChannel>& channels,
                                        const std::vector<std::string>& languages, Cp1251Loss* loss)
{
    std::vector<ChannelLabel> labels;
    std::set<std::string> names;
    std::set<std::string> files;
    for (const XmltvChannel& channel : channels) {
        ChannelLabel label{channelName(channel, languages, loss), channelFileName(channel.id)};
        if (names.contains(label.name)) {
            const std::string plain = label.name + " (" + label.fileName.substr(0, label.fileName.size() - 4);
            label.name = plain + ")";
            for (int n = 2; names.contains(label.name); ++n)
                label.name = plain + " " + std::to_string(n) + ")";
        }
        // Two ids that differ only in what the file name drops, with equal hashes: unlikely,
        // but a second file of the same name would silently replace the first.
        for (int n = 2; files.contains(label.fileName); ++n)
            label.fileName = channelFileName(channel.id + "#" + std::to_string(n));
        names.insert(label.name);
        files.insert(label.fileName);
        labels.push_back(std::move(label));
    }
    return labels;
}

} // namespace brevio::exchange

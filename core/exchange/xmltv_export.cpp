#include "core/exchange/xmltv_export.h"

#include "core/exchange/broadcast_day.h"
#include "core/exchange/show_lines.h"
#include "core/exchange/xmltv_writer.h"
#include "core/store/cp1251.h"

#include <sstream>

namespace brevio::exchange {

namespace {

constexpr std::string_view kNoTitle = "\xE2\x80\x94"; // an em dash where a show has no heading

bool idCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// Parts of letters, digits and '-' joined by single dots.
std::string idParts(std::string_view stem)
{
    std::string id;
    bool dot = false;
    for (const char c : stem) {
        if (c == '.') {
            dot = !id.empty();
            continue;
        }
        if (dot)
            id += '.';
        dot = false;
        id += idCharacter(c) ? c : '-';
    }
    return id;
}

XmltvProgramme programmeOf(const WeekListing& week, const std::string& channelId, const ListedShow& show)
{
    XmltvProgramme programme;
    programme.channel = channelId;
    programme.start = localMoment(week.monday, show.airMinutes);
    if (show.endMinutes)
        programme.stop = localMoment(week.monday, *show.endMinutes);
    std::string title = outsideText(show.title);
    programme.titles.push_back({{}, title.empty() ? std::string(kNoTitle) : std::move(title)});
    std::string description;
    for (const std::string& line : show.description) {
        const std::string text = outsideText(line);
        if (text.empty())
            continue;
        if (!description.empty())
            description += '\n';
        description += text;
    }
    if (!description.empty())
        programme.descriptions.push_back({{}, std::move(description)});
    return programme;
}

} // namespace

std::string xmltvChannelId(std::string_view fileName, std::set<std::string>& taken)
{
    if (fileName.size() > 4 && foldCase1251(fileName.substr(fileName.size() - 4)) == ".txt")
        fileName.remove_suffix(4);
    std::string id = idParts(fileName);
    if (id.empty())
        id = "channel";
    if (id.find('.') == id.npos)
        id += ".brevio";
    std::string unique = id;
    for (int n = 2; taken.count(unique); ++n)
        unique = id + "-" + std::to_string(n);
    taken.insert(unique);
    return unique;
}

std::string weekToXmltv(const WeekListing& week, ExportCount& count)
{
    count = {};
    std::ostringstream out;
    XmltvWriter writer(out, "Brevio");
    std::set<std::string> taken;
    std::vector<std::string> ids;
    for (const ListedChannel& channel : week.channels) {
        ids.push_back(channel.shows.empty() ? std::string() : xmltvChannelId(channel.fileName, taken));
        if (channel.shows.empty())
            continue;
        XmltvChannel listed;
        listed.id = ids.back();
        listed.displayNames.push_back({{}, outsideText(channel.name)});
        writer.channel(listed);
        ++count.channels;
    }
    for (std::size_t c = 0; c < week.channels.size(); ++c) {
        for (const ListedShow& show : week.channels[c].shows) {
            writer.programme(programmeOf(week, ids[c], show));
            ++count.shows;
        }
    }
    writer.finish();
    return out.str();
}

} // namespace brevio::exchange

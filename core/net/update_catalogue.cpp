#include "core/net/update_catalogue.h"

#include "core/net/loaded_entries.h"
#include "core/net/request_url.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"

#include <algorithm>

namespace brevio::net {

std::vector<std::string> offeredWeeks(std::string_view body)
{
    std::vector<std::string> weeks;
    store::LineCursor cursor(body);
    for (std::string_view line; weeks.size() < kMaxOfferedWeeks && cursor.next(line);) {
        if (store::isWeekDate(line))
            weeks.emplace_back(line);
    }
    return weeks;
}

std::string weekPath(std::string_view chosenWeek)
{
    std::string path(chosenWeek);
    if (path.size() >= 6)
        path.erase(5, 1);
    if (path.size() >= 3)
        path.erase(2, 1);
    return path + "/";
}

std::string serverWeekDate(std::string_view body)
{
    while (!body.empty() && (body.back() == '\r' || body.back() == '\n'))
        body.remove_suffix(1);
    return std::string(body);
}

std::string serverFileUrl(std::string_view base, std::string_view weekPath, std::string_view fileName)
{
    if (weekPath.ends_with('/'))
        weekPath.remove_suffix(1);
    return std::string(base) + escapedPathSegment(weekPath) + "/" + escapedPathSegment(fileName);
}

std::string downloadWeekFolder(std::string_view weekDate)
{
    if (weekDate.empty())
        throw Error("No week to store the channels in has been recorded; check for a new program first.");
    try {
        return store::checkedWeekFolder(weekDate, store::FolderUse::Write);
    } catch (const UnsafeNameError&) {
        throw Error("The week date '" + quotedData(weekDate)
                    + "' cannot name a week folder; nothing was written.");
    }
}

DownloadTarget downloadTarget(bool newWeek, std::string_view newDate, std::string_view lastDate,
                              const std::vector<std::string>& weekList)
{
    DownloadTarget target;
    target.weekDate = newWeek ? newDate : lastDate;
    target.folder = downloadWeekFolder(target.weekDate);
    // A week the list holds under other separators is that week: its line is kept as it stands.
    const auto stored = std::find_if(weekList.begin(), weekList.end(), [&](const std::string& line) {
        return store::sameWeek(line, target.weekDate);
    });
    const bool listed = stored != weekList.end();
    if (listed)
        target.weekDate = *stored;
    target.freshList = newWeek && !listed;
    target.recordWeek = newWeek && !listed;
    return target;
}

ChannelListWriter::ChannelListWriter(std::filesystem::path file, bool fresh)
    : m_file(std::move(file))
{
    if (fresh) {
        store::replaceFile(m_file, "");
        return;
    }
    store::createEmptyIfMissing(m_file);
    for (std::string& line : store::readLines(m_file))
        m_lines.insert(std::move(line));
}

void ChannelListWriter::add(const std::string& line)
{
    if (m_lines.contains(line))
        return;
    store::appendToFile(m_file, line + "\r\n");
    m_lines.insert(line);
}

bool removeEmptyWeekFolder(const std::filesystem::path& folder) noexcept
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path list = folder / store::kChannelListFile;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const bool emptyList = it->path().filename() == store::kChannelListFile && !it->is_symlink(error)
            && it->is_regular_file(error) && it->file_size(error) == 0;
        if (!emptyList || error)
            return false;
    }
    if (error)
        return false;
    fs::remove(list, error);
    return !error && fs::remove(folder, error) && !error;
}

void checkServerWeekDate(std::string_view date)
{
    try {
        downloadWeekFolder(date);
    } catch (const Error&) {
        throw Error("The server sent the week date '" + quotedData(date)
                    + "', which cannot name a week folder; nothing was written.");
    }
}

std::vector<store::ChannelEntry> parseCatalogue(std::string_view body)
{
    std::vector<store::ChannelEntry> pairs;
    std::size_t at = 0;
    // Takes the field up to the next ':' (or the end) and steps over that ':'.
    const auto field = [&] {
        const std::size_t colon = body.find(':', at);
        const std::size_t end = colon == body.npos ? body.size() : colon;
        std::string text(body.substr(at, end - at));
        at = colon == body.npos ? body.size() : colon + 1;
        return text;
    };
    while (at < body.size()) {
        store::ChannelEntry entry;
        entry.name = field();
        entry.fileName = field();
        pairs.push_back(std::move(entry));
    }
    return pairs;
}

std::string joinedChannelList(const std::filesystem::path& listFile)
{
    if (!store::fileExists(listFile))
        return {};
    std::string joined;
    for (const std::string& line : store::readLines(listFile))
        joined += line;
    return joined;
}

ChannelOffer offerChannels(const std::vector<store::ChannelEntry>& catalogue, std::string_view loadedList,
                           bool newWeek)
{
    ChannelOffer offer;
    const std::vector<bool> loadedAt = loadedEntries(catalogue, loadedList);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const store::ChannelEntry& entry = catalogue[i];
        try {
            store::checkNoControlCharacters(entry.name);
            store::checkBareFileName(entry.fileName);
        } catch (const UnsafeNameError& refusal) {
            offer.refused.push_back({entry, refusal.what()});
            continue;
        }
        const bool loaded = loadedAt[i];
        if (newWeek)
            offer.channels.push_back({entry, loaded});
        else if (!loaded)
            offer.channels.push_back({entry, false});
    }
    return offer;
}

std::string offerFileText(const std::vector<OfferedChannel>& channels)
{
    std::string text;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += channels[i].entry.name + ":" + channels[i].entry.fileName;
    }
    return text;
}

std::vector<PlannedChannel> plannedDownloads(const std::vector<std::string>& offerLines,
                                             const std::vector<bool>& ticked, std::size_t offeredCount)
{
    std::vector<PlannedChannel> plan;
    for (std::size_t i = 0; i < offeredCount && i < ticked.size(); ++i) {
        if (!ticked[i])
            continue;
        if (i >= offerLines.size())
            throw Error("The channel offer file files.dat has no line " + std::to_string(i + 1)
                        + "; check for new programs again.");
        store::ChannelEntry entry = store::splitChannelLine(offerLines[i]);
        store::checkBareFileName(entry.fileName);
        plan.push_back({i, offerLines[i], std::move(entry)});
    }
    return plan;
}

} // namespace brevio::net

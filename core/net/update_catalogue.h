#pragma once

#include "core/store/channel_list.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The pieces of the update check and the channel download that need no window: how the
// server's files are read, which channels are offered, and what the download may write.
namespace brevio::net {

// The weeks the server's datas.dat offers, for the week dialog: its lines that are week dates
// (store::isWeekDate), the first kMaxOfferedWeeks of them (twenty years of weeks; a longer list
// would only freeze the dialog). Other lines, of any length, are passed over without a copy.
inline constexpr std::size_t kMaxOfferedWeeks = 1040;
std::vector<std::string> offeredWeeks(std::string_view body);

// The server folder of a chosen week: the text without its 6th and then its 3rd character,
// followed by "/" ("12.01.2004" -> "12012004/", "" -> "/").
std::string weekPath(std::string_view chosenWeek);

// The week date in the body of a week's data.dat. Trailing CR and LF are dropped, so that a
// server that ends the file with a line break neither turns the same week into a new one nor
// puts an empty line into the week list file.
std::string serverWeekDate(std::string_view body);

// The address of a file in the server folder of a week: `base` + `weekPath` + `fileName`, the
// week folder and the file name escaped so that the server sees them as they are.
std::string serverFileUrl(std::string_view base, std::string_view weekPath, std::string_view fileName);

// Refuses (throws brevio::Error with a clear message) a server week date that is not a week
// date, so that it never names a folder or a line of the store.
void checkServerWeekDate(std::string_view date);

// The week folder a download writes into, for the week date recorded by the check. Throws
// brevio::Error when no week was recorded (empty date) or the date is not a week date.
std::string downloadWeekFolder(std::string_view weekDate);

// Where a download stores its channels.
struct DownloadTarget
{
    std::string weekDate;
    std::string folder; // "12012004/"
    bool freshList = false; // the week's channel list starts empty
    bool recordWeek = false; // on completion the week joins the week list and becomes the newest
};

// A new week (`newWeek`, the date recorded by the check) gets a fresh channel list and is
// recorded when it completes, unless `weekList` already holds it, under the same or other
// separators (an older week picked again): then the week keeps the text of its line and, like
// the newest week, its channel list grows. Throws like downloadWeekFolder.
DownloadTarget downloadTarget(bool newWeek, std::string_view newDate, std::string_view lastDate,
                              const std::vector<std::string>& weekList);

// Appends lines to a week's channel list file, each line once.
class ChannelListWriter
{
public:
    // `fresh`: the file is made empty now; otherwise it is created when missing and kept.
    ChannelListWriter(std::filesystem::path file, bool fresh);
    void add(const std::string& line);

private:
    std::filesystem::path m_file;
    std::unordered_set<std::string> m_lines;
};

// Removes `folder` (a week folder, "12012004/") when it holds nothing but an empty channel list
// file, or nothing at all: what a download that received no channel leaves. True when it went.
bool removeEmptyWeekFolder(const std::filesystem::path& folder) noexcept;

// The channel catalogue "name1:file1:name2:file2[:]". Line breaks are not separators; a name
// at the very end of the body gives a pair with an empty file name.
std::vector<store::ChannelEntry> parseCatalogue(std::string_view body);

// The lines of a channel list file joined with nothing between them ("" when there is none).
std::string joinedChannelList(const std::filesystem::path& listFile);

struct OfferedChannel
{
    store::ChannelEntry entry;
    bool checked = false;
};

struct RefusedChannel
{
    store::ChannelEntry entry;
    std::string reason; // UTF-8, ready for a message box
};

struct ChannelOffer
{
    std::vector<OfferedChannel> channels; // in catalogue order
    std::vector<RefusedChannel> refused;
};

// What the check offers. A new week offers every channel, ticked when "name:file" occurs in
// `loadedList` (the joined lines of the newest week's channel list); the same week offers only
// the channels that do not occur there, unticked. A channel whose name holds a control
// character or whose file name fails store::checkBareFileName is never offered: it goes to
// `refused`, so every offered channel is one line of files.dat.
ChannelOffer offerChannels(const std::vector<store::ChannelEntry>& catalogue, std::string_view loadedList,
                           bool newWeek);

// The local files.dat: one "name:file" a line, CR LF between lines, none after the last.
std::string offerFileText(const std::vector<OfferedChannel>& channels);

struct PlannedChannel
{
    std::size_t position = 0; // checklist position and files.dat line
    std::string line; // the files.dat line, as aplp.dat gets it
    store::ChannelEntry entry;
};

// The channels to fetch: line i of `offerLines` for every ticked position i below
// `offeredCount`. Throws before anything is fetched when a ticked position has no line or its
// file name could lead outside the week folder.
std::vector<PlannedChannel> plannedDownloads(const std::vector<std::string>& offerLines,
                                             const std::vector<bool>& ticked, std::size_t offeredCount);

} // namespace brevio::net

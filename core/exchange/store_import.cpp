#include "core/exchange/store_import.h"

#include "core/exchange/channel_merge.h"
#include "core/exchange/exchange_errors.h"
#include "core/exchange/staged_changes.h"
#include "core/exchange/xmltv_reader.h"
#include "core/store/channel_list.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace brevio::exchange {

namespace {

std::string readIfExists(const fs::path& file)
{
    return store::fileExists(file) ? store::readFile(file) : std::string();
}

// A list file ready for lines to be appended: what a reader sees of it (up to a Ctrl-Z), with
// a line end after its last line.
std::string appendable(std::string text)
{
    text.erase(std::min(text.find('\x1A'), text.size()));
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    return text;
}

std::string freeFileName(const std::string& wanted, const std::set<std::string>& used, const fs::path& folder)
{
    const std::string stem = wanted.substr(0, wanted.size() - 4); // names end ".txt"
    std::string name = wanted;
    for (int n = 2; used.contains(name) || fs::exists(folder / name); ++n)
        name = stem + "-" + std::to_string(n) + ".txt";
    return name;
}

// The weeks of the store a merge reads and writes, each week's channel list read once; what is
// written is staged, and the channel lists at the end.
class StoreWeeks
{
public:
    StoreWeeks(StagedChanges& changes, std::vector<std::string> weekList)
        : m_changes(changes)
        , m_weekList(std::move(weekList))
    {
    }

    // The channel's file in the week of `monday`, when the store has one.
    std::optional<StoredChannelWeek> storedChannel(std::chrono::sys_days monday, const std::string& name,
                                                   int dayStartMinutes)
    {
        Week& week = at(monday);
        const auto known = week.fileOfName.find(name);
        if (known == week.fileOfName.end())
            return std::nullopt;
        store::checkBareFileName(known->second);
        const fs::path file = week.folder / known->second;
        std::error_code ec;
        if (!fs::exists(file, ec))
            return std::nullopt; // listed without its file: written afresh
        return readStoredWeek(store::readFile(file), monday, dayStartMinutes);
    }

    void write(std::chrono::sys_days monday, const ChannelLabel& label, const std::string& bytes)
    {
        Week& week = at(monday);
        if (const auto known = week.fileOfName.find(label.name); known != week.fileOfName.end()) {
            store::checkBareFileName(known->second);
            m_changes.stageFile(week.folder / known->second, bytes);
            week.summary.replacedChannels.push_back(label.name);
            return;
        }
        const std::string name = freeFileName(label.fileName, week.usedFiles, week.folder);
        week.usedFiles.insert(name);
        if (week.isNew) {
            if (week.staging.empty())
                week.staging = m_changes.stageFolder(week.folder);
            store::replaceFile(week.staging / name, bytes, store::FileSync::Later);
        } else {
            m_changes.stageFile(week.folder / name, bytes);
        }
        week.addedLines += label.name + ":" + name + "\r\n";
        week.summary.addedChannels.push_back(label.name);
    }

    // Stages the channel lists of the weeks written and their lines of the week list; returns
    // what was done to each.
    std::vector<ImportedWeek> finish(std::string& weekListText)
    {
        std::vector<ImportedWeek> done;
        for (auto& [monday, week] : m_weeks) {
            if (week.summary.addedChannels.empty() && week.summary.replacedChannels.empty())
                continue;
            const fs::path listFile = week.folder / store::kChannelListFile;
            if (week.isNew)
                store::replaceFile(week.staging / store::kChannelListFile, week.addedLines,
                                   store::FileSync::Later);
            else if (!week.addedLines.empty() || !store::fileExists(listFile))
                m_changes.stageFile(listFile, appendable(week.oldList) + week.addedLines);
            if (week.summary.newWeek)
                weekListText = withWeekInDateOrder(weekListText, week.summary.date);
            done.push_back(std::move(week.summary));
        }
        return done;
    }

private:
    struct Week
    {
        fs::path folder;
        bool isNew = false; // no folder yet
        std::string oldList;
        std::map<std::string, std::string> fileOfName;
        std::set<std::string> usedFiles;
        std::string addedLines;
        fs::path staging; // a new week's folder, once it has a file
        ImportedWeek summary;
    };

    Week& at(std::chrono::sys_days monday)
    {
        const auto found = m_weeks.find(monday);
        if (found != m_weeks.end())
            return found->second;
        Week& week = m_weeks[monday];
        const std::string date = weekDateText(monday);
        week.folder = store::checkedWeekFolder(date, store::FolderUse::Write);
        // A week listed with other separators is the same week, in the same folder.
        const auto listed = std::find_if(m_weekList.begin(), m_weekList.end(), [&](const std::string& line) {
            return store::sameWeek(line, date);
        });
        week.summary.date = listed != m_weekList.end() ? *listed : date;
        week.summary.newWeek = listed == m_weekList.end();
        week.isNew = !fs::is_directory(week.folder);
        if (!week.isNew) {
            week.oldList = readIfExists(week.folder / store::kChannelListFile);
            for (const std::string& line : store::splitLines(week.oldList)) {
                store::ChannelEntry entry = store::splitChannelLine(line);
                week.usedFiles.insert(entry.fileName);
                week.fileOfName.emplace(std::move(entry.name), std::move(entry.fileName));
            }
        }
        return week;
    }

    StagedChanges& m_changes;
    std::vector<std::string> m_weekList;
    std::map<std::chrono::sys_days, Week> m_weeks;
};

} // namespace

std::string withWeekInDateOrder(std::string_view text, std::string_view date)
{
    const auto day = store::weekDateDay(date);
    const std::string_view lines = text.substr(0, text.find('\x1A')); // what a reader sees
    std::size_t at = 0;
    while (day && at < lines.size()) {
        const store::LineCut cut = store::cutLine(lines.substr(at));
        const auto listed = store::weekDateDay(cut.line);
        if (listed && *listed > *day)
            return std::string(text.substr(0, at)) + std::string(date) + "\r\n"
                + std::string(text.substr(at));
        at += cut.taken;
    }
    return appendable(std::string(text)) + std::string(date) + "\r\n";
}

ImportSummary importListings(const std::vector<fs::path>& files, const ListingOptions& options,
                             const ImportProgress& progress)
{
    WeekBuilder builder(options);
    std::uint64_t totalBytes = 0;
    for (const fs::path& file : files) {
        std::error_code ec;
        totalBytes += fs::file_size(file, ec) * !ec;
    }
    std::uint64_t before = 0;
    for (const fs::path& file : files) {
        std::uint64_t size = 0;
        readXmltvFile(file, builder, [&](std::uint64_t done, std::uint64_t total) {
            size = total;
            return !progress || progress(ImportStep::Reading, before + done, totalBytes);
        });
        before += size;
    }
    return mergeListing(builder, {}, progress);
}

ImportSummary mergeListing(WeekBuilder& listing, const std::function<bool(std::string_view channelId)>& keep,
                           const ImportProgress& progress)
{
    ImportSummary summary;
    const std::size_t channels = listing.channelCount();
    if (channels == 0)
        return summary;
    const int dayStart = listing.options().dayStartMinutes;

    const fs::path weekListFile(store::kWeekListFile);
    std::string weekList = readIfExists(weekListFile);
    StagedChanges changes;
    StoreWeeks weeks(changes, store::splitLines(weekList));
    std::size_t done = 0;
    listing.forEachChannel([&](ListingChannel& channel) {
        if (!keep || keep(channel.channel.id)) {
            std::map<std::chrono::sys_days, StoredChannelWeek> stored;
            for (const auto monday : weeksToMerge(listingSpan(channel.shows), dayStart))
                if (auto week = weeks.storedChannel(monday, channel.label.name, dayStart))
                    stored.emplace(monday, std::move(*week));
            for (const MergedWeek& week : mergeChannel(stored, channel.shows, channel.label.name, dayStart)) {
                weeks.write(week.monday, channel.label, week.bytes);
                ++summary.channelFiles;
            }
            summary.shows += channel.shows.size();
        }
        if (progress && !progress(ImportStep::Writing, ++done, channels))
            throw Cancelled();
    });
    const std::string oldWeekList = weekList;
    summary.weeks = weeks.finish(weekList);
    for (const ImportedWeek& week : summary.weeks)
        if (week.newWeek)
            summary.addedWeeks.push_back(week.date);
    // Last: a week is listed only once its files are in place.
    if (weekList != oldWeekList)
        changes.stageFile(weekListFile, weekList);
    // The flush before the moves may take long: the progress is told on meanwhile (its last step
    // again), and may still cancel.
    changes.commit(progress
                       ? std::function<bool()>([&] { return progress(ImportStep::Writing, done, channels); })
                       : std::function<bool()>());

    summary.loss = listing.loss();
    summary.lossLine = listing.lossLine();
    summary.undeclared = listing.undeclaredChannels();
    return summary;
}

} // namespace brevio::exchange

#include "exchange/store_import.h"

#include "exchange/exchange_errors.h"
#include "exchange/staged_changes.h"
#include "exchange/xmltv_reader.h"
#include "store/channel_list.h"
#include "store/file_io.h"
#include "store/file_names.h"
#include "store/line_reader.h"
#include "store/week_folder.h"

#include <algorithm>
#include <map>
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

class Importer
{
public:
    Importer(WeekBuilder& builder, const ImportProgress& progress, std::size_t totalFiles)
        : m_builder(builder)
        , m_progress(progress)
        , m_total(totalFiles)
    {
    }

    void newWeek(std::chrono::sys_days monday, const fs::path& folder)
    {
        const fs::path staging = m_changes.stageFolder(folder);
        std::string channelList;
        m_builder.buildWeek(monday, [&](const ChannelWeekFile& file) {
            store::replaceFile(staging / file.label.fileName, file.bytes, store::FileSync::Later);
            channelList += file.label.name + ":" + file.label.fileName + "\r\n";
            counted(file);
        });
        store::replaceFile(staging / store::kChannelListFile, channelList, store::FileSync::Later);
    }

    void existingWeek(std::chrono::sys_days monday, const fs::path& folder)
    {
        const fs::path listFile = folder / store::kChannelListFile;
        const std::string oldList = readIfExists(listFile);
        std::map<std::string, std::string> fileOfName;
        std::set<std::string> usedFiles;
        for (const std::string& line : store::splitLines(oldList)) {
            store::ChannelEntry entry = store::splitChannelLine(line);
            usedFiles.insert(entry.fileName);
            fileOfName.emplace(std::move(entry.name), std::move(entry.fileName));
        }
        std::string added;
        m_builder.buildWeek(monday, [&](const ChannelWeekFile& file) {
            std::string target;
            if (const auto known = fileOfName.find(file.label.name); known != fileOfName.end()) {
                target = known->second;
                store::checkBareFileName(target);
            } else {
                target = freeFileName(file.label.fileName, usedFiles, folder);
                usedFiles.insert(target);
                added += file.label.name + ":" + target + "\r\n";
            }
            m_changes.stageFile(folder / target, file.bytes);
            counted(file);
        });
        if (!added.empty() || !store::fileExists(listFile))
            m_changes.stageFile(listFile, appendable(oldList) + added);
    }

    StagedChanges& changes() { return m_changes; }
    std::size_t files() const { return m_done; }
    std::size_t shows() const { return m_shows; }

private:
    void counted(const ChannelWeekFile& file)
    {
        ++m_done;
        m_shows += file.shows;
        if (m_progress && !m_progress(ImportStep::Writing, m_done, m_total))
            throw Cancelled();
    }

    WeekBuilder& m_builder;
    const ImportProgress& m_progress;
    std::size_t m_total;
    std::size_t m_done = 0;
    std::size_t m_shows = 0;
    StagedChanges m_changes;
};

} // namespace

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

    ImportSummary summary;
    const auto mondays = builder.weeks();
    if (mondays.empty())
        return summary;

    const fs::path weekListFile(store::kWeekListFile);
    const std::string weekList = readIfExists(weekListFile);
    const auto listed = store::splitLines(weekList);
    Importer importer(builder, progress, builder.channelFileCount(mondays));
    std::string newLines;
    for (const auto monday : mondays) {
        const std::string date = weekDateText(monday);
        const fs::path folder(store::checkedWeekFolder(date, store::FolderUse::Write));
        const bool listedAlready = std::find(listed.begin(), listed.end(), date) != listed.end();
        if (fs::is_directory(folder)) {
            importer.existingWeek(monday, folder);
            if (listedAlready)
                summary.extendedWeeks.push_back(date);
        } else {
            importer.newWeek(monday, folder);
        }
        if (!listedAlready) {
            newLines += date + "\r\n";
            summary.addedWeeks.push_back(date);
        }
    }
    // Last: a week is listed only once its files are in place.
    if (!newLines.empty())
        importer.changes().stageFile(weekListFile, appendable(weekList) + newLines);
    importer.changes().commit();

    summary.channelFiles = importer.files();
    summary.shows = importer.shows();
    summary.loss = builder.loss();
    summary.lossLine = builder.lossLine();
    summary.undeclared = builder.undeclaredChannels();
    return summary;
}

} // namespace brevio::exchange

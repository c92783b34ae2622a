#include "core/exchange/server_tree.h"

#include "core/store/file_io.h"
#include "core/store/week_folder.h"

namespace brevio::exchange {

TreeSummary writeServerTree(WeekBuilder& builder, const std::vector<std::chrono::sys_days>& mondays,
                            const std::filesystem::path& out)
{
    TreeSummary summary;
    std::filesystem::create_directories(out);
    std::string weekList;
    for (const auto monday : mondays) {
        const std::string date = weekDateText(monday);
        const std::filesystem::path folder = out / store::checkedWeekFolder(date, store::FolderUse::Write);
        store::createFolder(folder);
        std::string catalogue;
        builder.buildWeek(monday, [&](const ChannelWeekFile& file) {
            store::replaceFile(folder / file.label.fileName, file.bytes, store::FileSync::Later);
            catalogue += (catalogue.empty() ? "" : ":") + file.label.name + ":" + file.label.fileName;
            ++summary.channelFiles;
            summary.shows += file.shows;
        });
        store::replaceFile(folder / "files.dat", catalogue, store::FileSync::Later);
        store::replaceFile(folder / "data.dat", date, store::FileSync::Later);
        weekList += date + "\r\n";
        summary.weekDates.push_back(date);
    }
    // One flush for all the weeks' files, before the list that offers them.
    store::syncFileSystem(out);
    store::replaceFile(out / "datas.dat", weekList);
    return summary;
}

} // namespace brevio::exchange

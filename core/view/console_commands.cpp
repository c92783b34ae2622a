#include "core/view/console_commands.h"

#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/view/now_view.h"
#include "core/view/time_text.h"
#include "core/view/week_search.h"
#include "core/view/week_shows.h"

#include <string>
#include <vector>

namespace brevio {

namespace {

void printLines(const std::vector<std::string>& lines, std::ostream& out)
{
    for (const std::string& line : lines)
        out << cp1251ToUtf8(line) << '\n';
}

} // namespace

int printNowView(std::chrono::local_seconds now, int lookAheadHours, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> lines;
    try {
        const bool found = view::buildNowView(now, lookAheadHours, lines);
        printLines(lines, out);
        if (!found)
            err << "brevio: the current week (" << view::currentWeekFolder(now) << ") was not downloaded\n";
        return 0;
    } catch (const Error& e) {
        printLines(lines, out);
        err << "brevio: " << e.what() << '\n';
        return 1;
    }
}

int printSearch(std::string_view utf8Text, int languageOffset, std::ostream& out, std::ostream& err)
{
    try {
        const auto weeks = store::readLines(std::string(store::kWeekListFile));
        if (weeks.empty()) {
            err << "brevio: no week has been downloaded\n";
            return 1;
        }
        const std::string& week = weeks.back();
        const view::WeekSearch search(store::checkedWeekFolder(week, store::FolderUse::Read));
        for (const std::string& problem : search.problems())
            err << "brevio: not searched whole: " << problem << '\n';
        // What could be read is printed; a week not read whole is no success.
        const int status = search.problems().empty() ? 0 : 1;
        Cp1251Loss loss;
        const std::string query = utf8ToCp1251Nearest(utf8Text, &loss);
        if (loss.count > 0)
            return status; // a character no listing can hold: nothing matches
        for (const std::uint32_t index : search.find(query)) {
            const view::FoundShow& show = search.show(index);
            out << view::airDayText(view::airDay(show.airMinutes), week, languageOffset) << '\t'
                << view::formatTime(view::shownMinutes(show.airMinutes)) << '\t'
                << cp1251ToUtf8(search.channelName(show.channel)) << '\t' << cp1251ToUtf8(search.title(index))
                << '\n';
        }
        return status;
    } catch (const Error& e) {
        err << "brevio: " << e.what() << '\n';
        return 1;
    }
}

} // namespace brevio

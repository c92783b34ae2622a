#pragma once

#include "core/view/loaded_week.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Finding shows anywhere in a week: every channel, every day, title and description lines,
// letter case and "ё"/"е" ignored. The week is read once and kept as one folded text, so a
// search as the user types is one pass over memory.
namespace brevio::view {

// A show the search can find, with what the results show of it and where the day view has it.
struct FoundShow
{
    int channel = 0; // its line in the week's channel list
    int day = 0; // the day pane, 0 Monday .. 6 Sunday
    int line = 0; // its time line in that pane
    long long airMinutes = 0; // see PaneShow
    std::uint32_t text = 0; // its text (heading, then description lines) in the week's text
    std::uint32_t textLength = 0;
    std::uint32_t titleLength = 0; // the heading, the first part of the text
};

class WeekSearch
{
public:
    // Reads the week folder ("12012004/", empty for the working folder): its channel list,
    // times.dat and every channel file, each once. Throws IoError when the week has no channel
    // list; a channel that cannot be read whole is listed in problems() instead.
    explicit WeekSearch(std::string weekFolder);
    // The same from a week read already.
    explicit WeekSearch(const LoadedWeek& week);

    const std::string& weekFolder() const { return m_folder; }
    // False once a file the week was read from has changed, appeared or gone since.
    bool upToDate() const;

    // The shows whose heading or a description line holds `query` (windows-1251), in order
    // of airing (then of the channel list). Nothing for an empty or all-blank query.
    std::vector<std::uint32_t> find(std::string_view query) const;

    const FoundShow& show(std::uint32_t index) const { return m_shows[index]; }
    std::size_t showCount() const { return m_shows.size(); }
    std::string_view title(std::uint32_t index) const;
    std::string_view channelName(int channel) const;
    // The channel's shift in minutes (times.dat), as its shows' airMinutes hold it.
    long long shiftMinutes(int channel) const;
    // "Channel: what went wrong" (UTF-8) for each channel that could not be read whole.
    const std::vector<std::string>& problems() const { return m_problems; }

private:
    std::string m_folder;
    std::vector<FoundShow> m_shows; // in order of airing
    std::string m_text; // every show's lines, each ended by '\n'
    std::string m_folded; // the same, folded for searching
    std::vector<std::string> m_channelNames; // by index; empty for channels not read
    std::vector<long long> m_shiftMinutes; // by index
    std::vector<std::string> m_problems;
    FileStamps m_stamps;
};

// The day a found show airs, as the results name it (UTF-8): the weekday in the interface
// language and, when the week date names a day, the date: "Tuesday 08.12".
std::string airDayText(int airDay, std::string_view weekDate, int languageOffset);

} // namespace brevio::view

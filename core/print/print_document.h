#pragma once

#include "core/store/file_names.h"
#include "core/view/day_view.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The printed schedule as plain lines of windows-1251 bytes, before it is laid out in columns.
namespace brevio::print {

using Lines = std::vector<std::string>;
// Day headings, 0 Monday .. 6 Sunday, in the interface language (windows-1251).
using DayCaptions = std::array<std::string, view::kWeekDays>;
// The selected lists, 0 Monday .. 6 Sunday and 7 the Monday after the week.
using SelectedLists = std::array<Lines, store::kSelectedListCount>;

// "Отобранные": the title, then every weekday's caption and list, then the next Monday's list.
Lines selectedShowsDocument(const DayCaptions& captions, const SelectedLists& lists);

// The days of the checked channels of a week folder ("12012004/"), in channel list order:
// for each checked line i of the channel list (checked[i], missing entries count as unchecked)
// every day gets an empty line, the channel name, the day's separator line and its lines, the
// timed lines carrying the channel's shifted time as in the day view.
// Throws as the day view does (channel list or channel file missing, unsafe file name, bad
// times.dat line, time that is no time of day); `days` then holds the channels collected before it.
void collectCheckedChannels(std::string_view weekFolder, const std::vector<bool>& checked,
                            view::DayPanes& days);

// "Все телеканалы": the title, then each printed weekday's caption and collected lines; an
// empty line closes every weekday but Sunday.
Lines weekScheduleDocument(const DayCaptions& captions, const std::array<bool, view::kWeekDays>& printedDays,
                           const view::DayPanes& days);

} // namespace brevio::print

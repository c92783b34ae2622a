#pragma once

#include "core/view/pane_text.h"
#include "core/view/week_lists.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Picking shows from a day pane into the selected lists, and removing entries from a list.
// Everything works on pane lines and pane positions (see pane_text.h); the page shows the
// result, writes the list file and sets the bold mark.
namespace brevio::view {

// The whole show around a caret position (a left click): from the show's time line to the
// line before the next time line, or to the pane's last line. None when the caret's line is
// empty or no time line stands at or above it.
std::optional<Selection> showBlockAt(const std::vector<std::string>& dayPane, int caret);

enum class AddOutcome {
    NothingHighlighted,
    NotATime,
    Duplicate,
    Added,
};

enum class TargetList {
    SameDay,
    NextDay, // for Sunday's pane the list of the Monday after the week
};

// The selected list a show from day pane `day` (0 Monday .. 6 Sunday) goes to: 0..6 the
// weekdays' lists, 7 the list of the Monday after the week.
int targetListIndex(int day, TargetList target);

struct AddShowInput
{
    const std::vector<std::string>& dayPane; // line 0 the channel name
    Selection highlight;
    std::string_view channelName; // the name chosen in the channel list
    bool withEndTime = false; // "put the end time in front" option
    const std::vector<std::string>& sameDayList;
    const std::vector<std::string>& nextDayList;
};

struct AddShowResult
{
    AddOutcome outcome = AddOutcome::NothingHighlighted;
    bool markBold = false; // make the highlight bold; set even when a later check fails
    TargetList target = TargetList::SameDay;
    std::vector<std::string> targetLines; // the target list's new lines when Added
};

// Puts the highlighted show into the list of its day: the same day's, or the next day's when
// a show above it in the pane starts later (it runs after midnight). The entry is the
// highlighted text, " - " and the channel name, with "start - end " in front when asked and
// the next line holds a time; it goes before the first list line whose time is equal or later.
// A highlight over several lines gives an entry of several lines.
// Throws InvalidTimeError when a time it compares is no time of day; `result` then tells
// whether the bold mark is due, and no list changes.
void addShowToList(const AddShowInput& input, AddShowResult& result);

// The selected lists made ready for asking, show after show, whether a show of a day pane
// stands in them already, as addShowToList finds a duplicate: its entry (the show's lines,
// " - " and the channel name) in the list of its pane's day or, for a show after midnight, in
// the next day's. Letter case is ignored; an entry with the end time in front counts too.
class ListedShows
{
public:
    explicit ListedShows(const SelectedLists& lists);

    // The show whose time line is `line` of day pane `day` (line 0 the channel name), with
    // `lineCount` lines in all. The lines above it must hold valid times, as they do for a
    // show the week's reader found.
    bool contains(const std::vector<std::string>& dayPane, int day, int line, int lineCount,
                  std::string_view channelName) const;

private:
    std::array<std::string, store::kSelectedListCount> m_folded;
};

// The message for an outcome (UTF-8, for a plain message box); empty for Added.
std::string addShowMessage(AddOutcome outcome, int languageOffset);

// The list line a removal click names: the line holding the caret, and its text.
struct ListEntry
{
    int line = 0;
    std::string text;
};

ListEntry entryAt(const std::vector<std::string>& list, int caret);

// The confirmation question for removing `entryText` (windows-1251), in UTF-8.
std::string removalQuestion(std::string_view entryText, int languageOffset);

// The list without line `line`; unchanged when there is no such line.
std::vector<std::string> withoutLine(std::vector<std::string> list, int line);

} // namespace brevio::view

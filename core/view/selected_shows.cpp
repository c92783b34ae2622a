#include "core/view/selected_shows.h"

#include "core/store/cp1251.h"
#include "core/texts/text_ids.h"
#include "core/view/text_search.h"
#include "core/view/time_text.h"

namespace brevio::view {

namespace {

std::string tableText(TextId id, int languageOffset)
{
    return std::string(textOf(id, languageOffset));
}

bool listContains(const std::vector<std::string>& list, std::string_view entry)
{
    return containsIgnoringCase(paneText(list), entry);
}

// A show runs after midnight when any time line above it, up to the first day line, starts
// later than it does (line 0 holds the channel name).
bool startsAfterMidnight(const std::vector<std::string>& dayPane, int startLine, int startTime)
{
    for (int i = startLine - 1; i >= 1; --i) {
        const auto prefix = timePrefix(dayPane[static_cast<std::size_t>(i)]);
        if (isTimeText(prefix) && timeOfDay(prefix) > startTime)
            return true;
    }
    return false;
}

// Lines without a time keep their places; the entry goes before the first time equal or later.
std::size_t insertionIndex(const std::vector<std::string>& list, int startTime)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto prefix = timePrefix(list[i]);
        if (isTimeText(prefix) && timeOfDay(prefix) >= startTime)
            return i;
    }
    return list.size();
}

} // namespace

std::optional<Selection> showBlockAt(const std::vector<std::string>& dayPane, int caret)
{
    const int caretLine = lineAt(dayPane, caret);
    if (lineText(dayPane, caretLine).empty())
        return std::nullopt;

    int first = caretLine;
    while (first >= 0 && !isTimedLine(dayPane[static_cast<std::size_t>(first)]))
        --first;
    if (first < 0)
        return std::nullopt;

    std::size_t last = static_cast<std::size_t>(first);
    while (last + 1 < dayPane.size() && !isTimedLine(dayPane[last + 1]))
        ++last;

    const int start = lineStart(dayPane, first);
    const int end = lineStart(dayPane, static_cast<int>(last)) + static_cast<int>(dayPane[last].size());
    return Selection{start, end - start};
}

int targetListIndex(int day, TargetList target)
{
    return target == TargetList::NextDay ? day + 1 : day;
}

void addShowToList(const AddShowInput& input, AddShowResult& result)
{
    result = {};
    if (input.highlight.length <= 0)
        return; // NothingHighlighted

    const std::string highlighted = selectedText(input.dayPane, input.highlight);
    const std::string startText(timePrefix(highlighted));
    if (!isTimeText(startText)) {
        result.outcome = AddOutcome::NotATime;
        return;
    }

    std::string entry = highlighted + " - " + std::string(input.channelName);
    result.outcome = AddOutcome::Duplicate;
    if (listContains(input.sameDayList, entry))
        return;

    // The show is marked as picked even if it turns out to be in a list already.
    result.markBold = true;
    const int startTime = timeOfDay(startText);
    const int startLine = lineAt(input.dayPane, input.highlight.start);
    const bool nextDay = startsAfterMidnight(input.dayPane, startLine, startTime);

    if (input.withEndTime) {
        const std::string_view endText = timePrefix(lineText(input.dayPane, startLine + 1));
        if (isTimeText(endText))
            entry = startText + " - " + std::string(endText) + " " + entry;
    }
    if (listContains(input.sameDayList, entry))
        return;
    const auto& target = nextDay ? input.nextDayList : input.sameDayList;
    if (nextDay && listContains(target, entry))
        return;

    std::vector<std::string> lines = target;
    const auto at = insertionIndex(lines, startTime);
    const auto entryLines = paneLines(entry);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entryLines.begin(), entryLines.end());

    result.outcome = AddOutcome::Added;
    result.target = nextDay ? TargetList::NextDay : TargetList::SameDay;
    result.targetLines = std::move(lines);
}

ListedShows::ListedShows(const SelectedLists& lists)
{
    for (std::size_t i = 0; i < lists.size(); ++i)
        m_folded[i] = foldCase1251(paneText(lists[i]));
}

bool ListedShows::contains(const std::vector<std::string>& dayPane, int day, int line, int lineCount,
                           std::string_view channelName) const
{
    const std::string& sameDay = m_folded[static_cast<std::size_t>(day)];
    const std::string& nextDay = m_folded[static_cast<std::size_t>(day) + 1];
    if (sameDay.empty() && nextDay.empty())
        return false; // the usual case, asked for every show of a week
    std::string entry;
    for (int i = line; i < line + lineCount; ++i) {
        if (i > line)
            entry += '\n';
        entry += dayPane[static_cast<std::size_t>(i)];
    }
    entry += " - ";
    entry += channelName;
    entry = foldCase1251(entry);
    if (sameDay.find(entry) != std::string::npos)
        return true;
    return nextDay.find(entry) != std::string::npos
        && startsAfterMidnight(dayPane, line, timeOfDay(timePrefix(dayPane[static_cast<std::size_t>(line)])));
}

std::string addShowMessage(AddOutcome outcome, int languageOffset)
{
    switch (outcome) {
    case AddOutcome::NothingHighlighted:
        return tableText(TextId::SelectShowFirst, languageOffset) + "\r\n"
            + tableText(TextId::ToPutInSelected, languageOffset);
    case AddOutcome::NotATime:
        return tableText(TextId::CannotPutInSelected, languageOffset);
    case AddOutcome::Duplicate:
        return tableText(TextId::AlreadyInSelected, languageOffset);
    case AddOutcome::Added:
        break;
    }
    return {};
}

ListEntry entryAt(const std::vector<std::string>& list, int caret)
{
    const int line = lineAt(list, caret);
    return {line, std::string(lineText(list, line))};
}

std::string removalQuestion(std::string_view entryText, int languageOffset)
{
    return tableText(TextId::RemoveQuestion, languageOffset) + "\r\n\"" + cp1251ToUtf8(entryText) + "\"\r\n"
        + tableText(TextId::FromSelectedList, languageOffset);
}

std::vector<std::string> withoutLine(std::vector<std::string> list, int line)
{
    if (line >= 0 && static_cast<std::size_t>(line) < list.size())
        list.erase(list.begin() + line);
    return list;
}

} // namespace brevio::view

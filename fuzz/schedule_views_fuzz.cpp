// The viewing page's builders fed a channel file with any shift, clock, caret and highlight:
// the day panes, the show a click highlights, the entry a right click puts into a selected
// list, and the "now" view. Times that are no time of day are refused with their error.
#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/view/day_view.h"
#include "core/view/now_view.h"
#include "core/view/pane_text.h"
#include "core/view/selected_shows.h"
#include "core/view/time_text.h"
#include "fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace brevio;
using namespace std::chrono;

namespace {

constexpr local_days kMonday{2004y / January / 12};

// A highlight or click inside a pane's text.
void checkSelection(const std::vector<std::string>& pane, view::Selection selection)
{
    const auto size = static_cast<int>(view::paneText(pane).size());
    fuzz::check(selection.start >= 0 && selection.length >= 0 && selection.start + selection.length <= size,
                "a highlighted show lies inside the pane");
}

void pickShows(FuzzedDataProvider& input, const std::vector<std::string>& pane)
{
    const int caret = input.ConsumeIntegralInRange(-2, static_cast<int>(view::paneText(pane).size()) + 2);
    const int line = view::lineAt(pane, caret);
    fuzz::check(line >= 0 && (pane.empty() || static_cast<std::size_t>(line) < pane.size()),
                "a caret is on a line");
    fuzz::check(view::lineStart(pane, line) <= std::max(caret, 0) || caret < 0,
                "a line starts before its caret");

    view::Selection highlight{caret, input.ConsumeIntegralInRange(-1, 400)};
    if (const auto show = view::showBlockAt(pane, caret)) {
        checkSelection(pane, *show);
        fuzz::check(view::isTimedLine(view::selectedText(pane, *show)),
                    "a highlighted show starts at its time");
        if (input.ConsumeBool())
            highlight = *show;
    }

    const std::vector<std::string> list{"00.10 Early - A", "note", "12.00 Noon - B", "23:59 Late - C"};
    const std::vector<std::string> nextList{"00.30 Night - D"};
    const view::AddShowInput add{pane, highlight, "Kanal", input.ConsumeBool(), list, nextList};
    view::AddShowResult result;
    try {
        view::addShowToList(add, result);
    } catch (const InvalidTimeError&) {
        return;
    }
    if (result.outcome != view::AddOutcome::Added)
        return;
    const auto& target = result.target == view::TargetList::SameDay ? list : nextList;
    const std::size_t added = result.targetLines.size() - target.size();
    fuzz::check(result.targetLines.size() > target.size(), "an added show adds lines");
    // The entry's lines stand together; without them the list is as it was.
    bool found = false;
    for (std::size_t at = 0; at + added <= result.targetLines.size() && !found; ++at) {
        auto without = result.targetLines;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(at),
                      without.begin() + static_cast<std::ptrdiff_t>(at + added));
        found = without == target && view::isTimedLine(result.targetLines[at])
            && result.targetLines[at + added - 1].ends_with(" - Kanal");
    }
    fuzz::check(found, "the entry goes into the list whole, the rest unmoved");
}

void buildNowView(FuzzedDataProvider& input, std::string_view file, store::TimeShift shift)
{
    const local_seconds now = kMonday + minutes(input.ConsumeIntegralInRange(0, 7 * 1440 - 1));
    view::NowViewBuilder builder(now, input.ConsumeIntegralInRange(0, 5));
    try {
        builder.addChannel("A", file, shift);
        builder.addChannel("B", file, {});
    } catch (const InvalidTimeError&) {
    }
    int previous = -1;
    for (const auto& line : builder.lines()) {
        fuzz::check(view::isTimeText(std::string_view(line).substr(0, 5)) && line[5] == ' ',
                    "a now line starts with its shown time");
        const int time = view::timeOfDay(std::string_view(line).substr(0, 5));
        fuzz::check(time >= previous, "now lines stand in time-of-day order");
        fuzz::check(line.ends_with(" - A") || line.ends_with(" - B"), "a now line ends with its channel");
        previous = time;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const store::TimeShift shift{input.ConsumeIntegralInRange(-30, 30),
                                 input.ConsumeIntegralInRange(-90, 90)};
    // The file from the front; the clock, carets and highlights from the last bytes.
    const std::size_t settings = std::min<std::size_t>(input.remaining_bytes() / 2, 64);
    const std::string file = input.ConsumeBytesAsString(input.remaining_bytes() - settings);
    const auto lines = store::splitLines(file);

    view::DayPanes panes;
    for (auto& pane : panes)
        pane.push_back("Kanal");
    try {
        view::appendChannelDays(panes, lines, shift);
    } catch (const InvalidTimeError&) {
    }
    for (const auto& pane : panes) {
        for (const auto& line : pane)
            fuzz::check(line.size() <= view::kShownLineBytes + 1, "a pane line is cut to what is shown");
        fuzz::check(view::paneLines(view::paneText(pane)) == pane, "a pane's text gives its lines back");
        pickShows(input, pane);
    }
    buildNowView(input, file, shift);
    return 0;
}

#pragma once

#include <chrono>
#include <ostream>
#include <string_view>

// Commands for terminals and scripts: the program's answers as UTF-8 lines on a stream, with no
// window and without the single-instance lock (they only read the store). They work on the
// current folder, the working folder.
namespace brevio {

// "--now": the lines the "now" view shows at `now` with `lookAheadHours`, one a line. Returns 0;
// 1 after a fault, which is said on `err` after the lines collected before it. A week that was
// not downloaded shows nothing, as the pane does, and says so on `err`.
int printNowView(std::chrono::local_seconds now, int lookAheadHours, std::ostream& out, std::ostream& err);

// "--search TEXT": the shows of the newest week whose heading or description holds `utf8Text`,
// in order of airing, one a line: the day (airDayText), the time shown, the channel and the
// heading, separated by tabs. Channels that could not be read whole are named on `err`.
// Returns 0 (also when nothing is found); 1 when there is no week to search or a channel could
// not be read whole (the rows of what was read are printed all the same).
int printSearch(std::string_view utf8Text, int languageOffset, std::ostream& out, std::ostream& err);

} // namespace brevio

#pragma once

#include <chrono>
#include <ostream>

namespace brevio::tools {

// The demo listings as one XMLTV document in UTF-8: `days` days from `first` for the first
// `channelCount` demo channels, the same shows the demo tree has. Times carry the machine's
// own UTC offset of each moment, so that publishing them in the machine's zone gives the
// demo's clock times back. Each show's description gets `extraSentences` more sentences, to
// make listings of a realistic size for measurements (0: only the demo's occasional line).
void writeDemoXmltv(std::ostream& out, std::chrono::sys_days first, int days, int channelCount,
                    int extraSentences);

} // namespace brevio::tools

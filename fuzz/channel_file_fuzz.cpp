// The day blocks of a channel file: days fill from Monday, each opens with its separator line,
// and together they are exactly the lines from the first separator up to the eighth.
#include "core/store/channel_file.h"
#include "core/store/line_reader.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = store::splitLines(fuzz::bytesOf(data, size));
    const auto days = store::dayBlocks(lines);

    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (store::isDaySeparator(lines[i]))
            separators.push_back(i);
    }
    const std::size_t first = separators.empty() ? lines.size() : separators.front();
    const std::size_t end = separators.size() > days.size() ? separators[days.size()] : lines.size();

    std::vector<std::string> joined;
    bool gap = false;
    for (const auto& day : days) {
        fuzz::check(!gap || day.empty(), "days fill from Monday on");
        gap = gap || day.empty();
        for (std::size_t i = 0; i < day.size(); ++i)
            fuzz::check(store::isDaySeparator(day[i]) == (i == 0), "a day opens with its one separator");
        joined.insert(joined.end(), day.begin(), day.end());
    }
    fuzz::check(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                         lines.begin() + static_cast<std::ptrdiff_t>(end))
                    == joined,
                "the days are the lines from the first separator to the eighth");
    return 0;
}

#include "core/store/channel_file.h"

namespace brevio::store {

bool isDaySeparator(std::string_view line)
{
    return line.empty() || line == " ";
}

std::array<std::vector<std::string>, 7> dayBlocks(std::vector<std::string> lines)
{
    std::array<std::vector<std::string>, 7> days;
    std::size_t separators = 0;
    for (auto& line : lines) {
        if (isDaySeparator(line))
            ++separators;
        // Zero separators so far: the header. Eight or more: past Sunday.
        if (separators >= 1 && separators <= days.size())
            days[separators - 1].push_back(std::move(line));
        else
            std::string().swap(line); // a long header or tail is let go at once
    }
    return days;
}

} // namespace brevio::store

#include "store/channel_file.h"

namespace brevio::store {

bool isDaySeparator(std::string_view line)
{
    return line.empty() || line == " ";
}

std::array<std::vector<std::string>, 7> dayBlocks(const std::vector<std::string>& lines)
{
    std::array<std::vector<std::string>, 7> days;
    std::size_t separators = 0;
    for (const auto& line : lines) {
        if (isDaySeparator(line))
            ++separators;
        // Zero separators so far: the header. Eight or more: past Sunday.
        if (separators >= 1 && separators <= days.size())
            days[separators - 1].push_back(line);
    }
    return days;
}

} // namespace brevio::store

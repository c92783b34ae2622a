#pragma once

#include "core/exchange/broadcast_day.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// How a channel's shows are laid out into the day blocks of its week files, the one rule for
// every writer of channel files. Readers date a show by its block and move to the next date
// when the time goes down inside the block (view/block_dating.h); this layout is the inverse,
// so every show reads back on its own date.
namespace brevio::exchange {

// The block a show goes to, and its local clock time.
struct BlockPlace
{
    std::chrono::sys_days monday; // the week's Monday
    int weekday = 0; // 0 Monday .. 6 Sunday
    int minutes = 0; // local clock time, 0 .. 1439
};

// Places one channel's shows, which come in start order (across weeks alike). A show at or
// after the day start goes to its own date's block. A show before it goes to the end of the
// previous date's block when that block is the one the channel's last show went to and holds a
// later time, so that the time goes down there (the night after an evening); otherwise it opens
// its own date's block. So no block begins with a night show that belongs to the evening
// before, and a channel whose listing starts at midnight has its night on the right day.
class DayLayout
{
public:
    explicit DayLayout(int dayStartMinutes);

    BlockPlace place(std::chrono::sys_seconds start);

private:
    int m_dayStart;
    std::optional<std::chrono::sys_days> m_block; // the date of the block the last show went to
    int m_latest = -1; // the latest clock time in that block
};

// The header line a channel file of the week of `monday` gets when it is made: "Name,
// dd.mm.yyyy - dd.mm.yyyy", with its line end.
std::string channelFileHeader(std::string_view channelName, std::chrono::sys_days monday);

// A channel file: the header (whole lines with their ends), each day block opened by an empty
// line and followed by its lines (each with its CR LF), then `tail` (lines past Sunday's block).
std::string channelFileText(std::string_view header, const std::array<std::string, 7>& days,
                            std::string_view tail = {});

} // namespace brevio::exchange

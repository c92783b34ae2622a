#pragma once

#include "core/exchange/week_listing.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// JTV schedules, as set-top boxes and players read them: per channel a title file (.pdt) and an
// index file (.ndx), all channels in one zip archive. Little-endian throughout.
namespace brevio::exchange {

struct JtvShow
{
    std::uint64_t start = 0; // FILETIME of the local wall-clock time (see jtvFileTime)
    std::string title; // windows-1251
};

struct JtvFiles
{
    std::string pdt; // "JTV 3.x TV Program Data", three LF, then each title: 16-bit length, bytes
    std::string ndx; // 16-bit count, then per show: two zero bytes, 64-bit start, 16-bit title offset
};

// 100-nanosecond steps from 1601-01-01 00:00 to a wall-clock time, `minutes` after the midnight
// that starts `day`, with no time zone applied (the boxes show it as it is).
std::uint64_t jtvFileTime(std::chrono::sys_days day, long long minutes);

// A channel's two files; equal titles share one copy. None when the index cannot point at every
// title: a title's offset in the .pdt would pass 65535, a title is longer than 65535 bytes, or
// there are more than 65535 shows. The offsets are never wrapped.
std::optional<JtvFiles> jtvChannelFiles(const std::vector<JtvShow>& shows);

// The file name stem of a channel in the archive (windows-1251): the characters file systems
// refuse (/ \ : * ? " < > | and control characters) become '_', trailing dots and blanks go,
// and a name already in `taken` (letter case ignored) gets " (2)", " (3)", ...; it is added.
std::string jtvFileStem(std::string_view channelName, std::vector<std::string>& taken);

// A zip archive (libzip, deflated) of the files, named by bytes as given (no UTF-8 flag), each
// dated `modified`. Throws Error when libzip fails.
std::string zipArchive(const std::vector<std::pair<std::string, std::string>>& files,
                       std::chrono::sys_seconds modified);

struct JtvExport
{
    std::string archive; // the zip file's bytes; empty when no channel could be written
    std::size_t channels = 0;
    std::size_t shows = 0;
    std::vector<std::string> refused; // channels (windows-1251) whose titles do not fit the index
};

// The week's channels as a JTV archive: per channel "<name>.pdt" and "<name>.ndx", the shows in
// order of airing. A channel the index cannot hold is left out and named in `refused`.
JtvExport weekToJtv(const WeekListing& week);

} // namespace brevio::exchange

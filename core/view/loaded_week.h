#pragma once

#include "core/view/week_shows.h"

#include <memory>
#include <string>
#include <vector>

// A week read once and kept for the windows that show all of it (the search, the programme
// grid): every channel as the day view cuts and shifts it, and stamps of the files it came
// from, so that a window can tell when to read it again.
namespace brevio::view {

// The size and modification time of files, taken when they were read.
class FileStamps
{
public:
    // Stamps `path` as it is now (a missing file is stamped as missing).
    void add(std::string path);
    // False once a stamped file has changed, appeared or gone.
    bool upToDate() const;

private:
    struct Stamp
    {
        std::string path;
        bool exists = false;
        long long size = 0;
        long long modified = 0; // nanoseconds
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(std::string path);

    std::vector<Stamp> m_stamps;
};

class LoadedWeek
{
public:
    // Reads the week folder ("12012004/", empty for the working folder): its channel list,
    // times.dat and every channel file, each once. Throws IoError when the week has no channel
    // list; a channel that cannot be read whole keeps what was read and is named in problems().
    explicit LoadedWeek(std::string weekFolder);

    const std::string& weekFolder() const { return m_folder; }
    // Every channel of the list, in its order (channels()[i].index == i).
    const std::vector<ChannelWeek>& channels() const { return m_channels; }
    // "Channel: what went wrong" (UTF-8) for each channel that could not be read whole.
    const std::vector<std::string>& problems() const { return m_problems; }
    const FileStamps& stamps() const { return m_stamps; }
    bool upToDate() const { return m_stamps.upToDate(); }

private:
    std::string m_folder;
    std::vector<ChannelWeek> m_channels;
    std::vector<std::string> m_problems;
    FileStamps m_stamps;
};

// The week read last, lent to every window that asks for the same folder while one of them
// still holds it and its files are unchanged, so that windows open side by side read it once.
// It is kept only as long as a window holds it.
class WeekCache
{
public:
    // The week of `weekFolder`: the one held elsewhere when it is still current, else read now
    // (throws what LoadedWeek throws).
    std::shared_ptr<const LoadedWeek> week(const std::string& weekFolder);

private:
    std::weak_ptr<const LoadedWeek> m_last;
};

} // namespace brevio::view

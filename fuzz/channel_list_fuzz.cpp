// Channel list lines (aplp.dat, files.dat): the split at the first ':' loses nothing, and a file
// name that passes the check stays inside its week folder.
#include "core/store/channel_list.h"
#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "fuzz/fuzz_check.h"

#include <filesystem>

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const auto& line : store::splitLines(fuzz::bytesOf(data, size))) {
        const auto entry = store::splitChannelLine(line);
        fuzz::check(entry.name.find(':') == std::string::npos, "a channel name holds no ':'");
        if (line.find(':') == std::string::npos)
            fuzz::check(entry.name == line && entry.fileName.empty(), "a line without ':' is all name");
        else
            fuzz::check(entry.name + ":" + entry.fileName == line, "name ':' file name gives the line back");

        try {
            store::checkBareFileName(entry.fileName);
        } catch (const UnsafeNameError&) {
            continue;
        }
        const std::filesystem::path path
            = std::filesystem::path("12012004/" + entry.fileName).lexically_normal();
        fuzz::check(path.parent_path() == "12012004" && path.filename() == entry.fileName,
                    "a checked file name stays in its week folder");
    }
    return 0;
}

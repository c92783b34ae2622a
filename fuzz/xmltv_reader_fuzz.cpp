// XMLTV listings of any content, plain, gzip or xz: the reader reads a listing or refuses it with a
// message that names the file and a line, and what it read, written out again by the writer,
// reads back the same.
#include "core/exchange/exchange_errors.h"
#include "core/exchange/xmltv_reader.h"
#include "core/exchange/xmltv_writer.h"
#include "fuzz/fuzz_check.h"

#include <optional>
#include <sstream>
#include <sys/mman.h>
#include <unistd.h>

using namespace brevio;
using namespace brevio::exchange;

namespace {

// The bytes as a file the reader opens by name, without touching the disk.
class MemoryFile
{
public:
    explicit MemoryFile(std::string_view bytes)
        : m_fd(memfd_create("listing", MFD_CLOEXEC))
    {
        fuzz::check(m_fd >= 0, "a memory file can be made");
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            fuzz::check(n > 0, "a memory file can be written");
            done += static_cast<std::size_t>(n);
        }
    }
    ~MemoryFile() { ::close(m_fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

struct Listing : XmltvSink
{
    void channel(XmltvChannel&& channel) override { channels.push_back(std::move(channel)); }
    void programme(XmltvProgramme&& programme) override { programmes.push_back(std::move(programme)); }
    std::vector<XmltvChannel> channels;
    std::vector<XmltvProgramme> programmes;
};

std::optional<Listing> readListing(std::string_view bytes)
{
    const MemoryFile file(bytes);
    Listing listing;
    try {
        readXmltvFile(file.path(), listing);
    } catch (const XmltvError& e) {
        fuzz::check(std::string_view(e.what()).starts_with(file.path() + ":")
                        || std::string_view(e.what()).starts_with(file.path() + ", line "),
                    "a refusal names the file");
        return std::nullopt;
    }
    return listing;
}

} // namespace

// Equal as the listing means them: where an element stood in its file does not count.
namespace brevio::exchange {

bool operator==(const XmltvText& a, const XmltvText& b)
{
    return a.lang == b.lang && a.text == b.text;
}
bool operator==(const XmltvTime& a, const XmltvTime& b)
{
    return a.utc == b.utc && a.offsetMinutes == b.offsetMinutes;
}
bool operator==(const XmltvEpisode& a, const XmltvEpisode& b)
{
    return a.system == b.system && a.text == b.text;
}
bool operator==(const XmltvChannel& a, const XmltvChannel& b)
{
    return a.id == b.id && a.displayNames == b.displayNames;
}
bool operator==(const XmltvProgramme& a, const XmltvProgramme& b)
{
    return a.channel == b.channel && a.start == b.start && a.stop == b.stop && a.titles == b.titles
        && a.subTitles == b.subTitles && a.descriptions == b.descriptions && a.episodes == b.episodes;
}

} // namespace brevio::exchange

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<Listing> listing = readListing(fuzz::bytesOf(data, size));
    if (!listing)
        return 0;
    for (const XmltvChannel& channel : listing->channels)
        fuzz::check(channel.line >= 1 && !channel.id.empty(), "a channel has its line and id");
    for (const XmltvProgramme& programme : listing->programmes)
        fuzz::check(programme.line >= 1 && !programme.channel.empty() && !programme.titles.empty(),
                    "a programme has its line, channel and a title");

    std::ostringstream out;
    XmltvWriter writer(out, "fuzz");
    for (const XmltvChannel& channel : listing->channels)
        writer.channel(channel);
    for (const XmltvProgramme& programme : listing->programmes)
        writer.programme(programme);
    writer.finish();
    const std::optional<Listing> again = readListing(out.str());
    fuzz::check(again.has_value(), "a written listing reads back");
    fuzz::check(again->channels == listing->channels, "channels written read back the same");
    fuzz::check(again->programmes == listing->programmes, "programmes written read back the same");
    return 0;
}

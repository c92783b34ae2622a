#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Listings arrive plain, gzip- or xz-compressed, whatever their names say: the first bytes tell.
namespace brevio::exchange {

enum class Packing { Plain, Gzip, Xz };

// gzip: 1f 8b; xz: fd 37 7a 58 5a 00; anything else is plain.
Packing packingOf(std::string_view firstBytes);

// How far a compressed file may unpack. A listing of many channels and weeks is a few hundred
// megabytes and compresses ten to thirty times; what goes far beyond is refused unread.
struct UnpackLimits
{
    std::uint64_t maxBytes = std::uint64_t(8) << 30;
    std::uint64_t maxRatio = 250; // unpacked bytes per compressed byte ...
    std::uint64_t ratioFrom = std::uint64_t(64) << 20; // ... judged once this much is unpacked
};

// The unpacked bytes of an open file, read in pieces. Throws Error with a message for a reader
// (no file name: the caller adds it) when the data is damaged, cut short or passes a limit.
class UnpackingReader
{
public:
    // Reads from `fd`, which stays open (its owner closes it).
    UnpackingReader(int fd, UnpackLimits limits = {});
    ~UnpackingReader();
    UnpackingReader(const UnpackingReader&) = delete;
    UnpackingReader& operator=(const UnpackingReader&) = delete;

    class Decoder;

    // Up to `length` unpacked bytes; 0 only at the end of the data.
    std::size_t read(char* buffer, std::size_t length);
    Packing packing();
    std::uint64_t packedBytesRead() const { return m_packedRead; }
    std::uint64_t unpackedBytes() const { return m_unpacked; }

private:
    bool fillInput(); // false at the end of the file
    void count(std::size_t produced);

    int m_fd;
    UnpackLimits m_limits;
    std::string m_input;
    std::size_t m_inputAt = 0;
    bool m_inputEnded = false;
    std::uint64_t m_packedRead = 0;
    std::uint64_t m_unpacked = 0;
    std::unique_ptr<Decoder> m_decoder;
    Packing m_packing = Packing::Plain;
};

// "8 GiB", "64 MiB", "1000 bytes": a size as a message gives it.
std::string sizeText(std::uint64_t bytes);

// The first `length` unpacked bytes of a file (fewer when it is shorter); Error as read() throws,
// IoError when it cannot be opened.
std::string unpackedStart(const std::string& file, std::size_t length, UnpackLimits limits = {});

} // namespace brevio::exchange

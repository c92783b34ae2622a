#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brevio::exchange {

// The texts of a listing's shows, kept in an unnamed temporary file instead of memory, so
// that a listing of any size is turned into channel files with memory to spare. The file
// vanishes with the object (or the process).
class ShowSpool
{
public:
    ShowSpool(); // throws IoError when no temporary file can be made
    ~ShowSpool();
    ShowSpool(const ShowSpool&) = delete;
    ShowSpool& operator=(const ShowSpool&) = delete;

    // Stores bytes; returns where they start.
    std::uint64_t append(std::string_view bytes);
    // The `length` bytes stored at `offset`.
    std::string read(std::uint64_t offset, std::uint32_t length);

private:
    void flush();

    int m_fd = -1;
    std::string m_buffer; // appended, not yet written
    std::uint64_t m_written = 0;
};

} // namespace brevio::exchange

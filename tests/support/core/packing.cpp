#include "support/core/packing.h"

#include <lzma.h>
#include <zlib.h>

#include <stdexcept>

namespace brevio::test {

std::string gzipped(std::string_view bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

std::string xzPacked(std::string_view bytes)
{
    std::string out(lzma_stream_buffer_bound(bytes.size()), '\0');
    std::size_t written = 0;
    if (lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr,
                                reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                reinterpret_cast<std::uint8_t*>(out.data()), &written, out.size())
        != LZMA_OK)
        throw std::runtime_error("lzma_easy_buffer_encode");
    out.resize(written);
    return out;
}

} // namespace brevio::test

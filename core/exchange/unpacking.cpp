#include "core/exchange/unpacking.h"

#include "core/store/errors.h"

#include <lzma.h>
#include <zlib.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace brevio::exchange {

namespace {

constexpr std::size_t kInputPiece = 256 * 1024;
constexpr std::uint64_t kXzMemoryLimit = std::uint64_t(512) << 20; // far above what xz -9e needs

constexpr std::string_view kGzipMagic("\x1f\x8b", 2);
constexpr std::string_view kXzMagic("\xfd\x37\x7a\x58\x5a\x00", 6);

[[noreturn]] void cutShort()
{
    throw Error("the compressed data ends too early: the file is cut short");
}

[[noreturn]] void damaged(std::string_view detail)
{
    throw Error("the compressed data is damaged (" + std::string(detail) + ")");
}

struct Step
{
    std::size_t produced = 0;
    bool ended = false; // the data is at its end: nothing more comes
};

} // namespace

std::string sizeText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = std::uint64_t(1) << 20, kGiB = std::uint64_t(1) << 30;
    if (bytes >= kGiB && bytes % kGiB == 0)
        return std::to_string(bytes / kGiB) + " GiB";
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

Packing packingOf(std::string_view firstBytes)
{
    if (firstBytes.starts_with(kGzipMagic))
        return Packing::Gzip;
    if (firstBytes.starts_with(kXzMagic))
        return Packing::Xz;
    return Packing::Plain;
}

// Turns the input bytes `in` (what is left of them stays there) into unpacked bytes.
// `inputEnded`: no byte follows those of `in`.
class UnpackingReader::Decoder
{
public:
    virtual ~Decoder() = default;
    virtual Step unpack(std::string_view& in, char* out, std::size_t length, bool inputEnded) = 0;
};

namespace {

class PlainDecoder : public UnpackingReader::Decoder
{
public:
    Step unpack(std::string_view& in, char* out, std::size_t length, bool inputEnded) override
    {
        const std::size_t n = std::min(length, in.size());
        in.copy(out, n);
        in.remove_prefix(n);
        return {n, n == 0 && inputEnded};
    }
};

// gzip members one after another read as one stream, as gzip itself reads them; bytes after the
// last member that begin no other are ignored, as zlib's own file reader does.
class GzipDecoder : public UnpackingReader::Decoder
{
public:
    GzipDecoder()
    {
        if (inflateInit2(&m_stream, 15 + 16) != Z_OK)
            throw Error("the gzip decoder could not be set up");
    }
    ~GzipDecoder() override { inflateEnd(&m_stream); }

    Step unpack(std::string_view& in, char* out, std::size_t length, bool inputEnded) override
    {
        if (m_memberDone) {
            if (in.size() < kGzipMagic.size() && !inputEnded)
                return {};
            if (!in.starts_with(kGzipMagic)) {
                in = {};
                return {0, true};
            }
            inflateReset(&m_stream);
            m_memberDone = false;
        }
        if (in.empty()) {
            if (inputEnded)
                cutShort();
            return {};
        }
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        m_stream.avail_in = static_cast<uInt>(std::min<std::size_t>(in.size(), UINT32_MAX));
        m_stream.next_out = reinterpret_cast<Bytef*>(out);
        m_stream.avail_out = static_cast<uInt>(std::min<std::size_t>(length, UINT32_MAX));
        const uInt offered = m_stream.avail_in, room = m_stream.avail_out;
        const int result = inflate(&m_stream, Z_NO_FLUSH);
        in.remove_prefix(offered - m_stream.avail_in);
        if (result == Z_STREAM_END)
            m_memberDone = true;
        else if (result != Z_OK && result != Z_BUF_ERROR)
            damaged(m_stream.msg ? m_stream.msg : "gzip");
        return {room - m_stream.avail_out, false};
    }

private:
    z_stream m_stream{};
    bool m_memberDone = false;
};

class XzDecoder : public UnpackingReader::Decoder
{
public:
    XzDecoder()
    {
        if (lzma_stream_decoder(&m_stream, kXzMemoryLimit, LZMA_CONCATENATED) != LZMA_OK)
            throw Error("the xz decoder could not be set up");
    }
    ~XzDecoder() override { lzma_end(&m_stream); }

    Step unpack(std::string_view& in, char* out, std::size_t length, bool inputEnded) override
    {
        if (m_ended)
            return {0, true};
        m_stream.next_in = reinterpret_cast<const std::uint8_t*>(in.data());
        m_stream.avail_in = in.size();
        m_stream.next_out = reinterpret_cast<std::uint8_t*>(out);
        m_stream.avail_out = length;
        const lzma_ret result = lzma_code(&m_stream, inputEnded ? LZMA_FINISH : LZMA_RUN);
        in.remove_prefix(in.size() - m_stream.avail_in);
        const std::size_t produced = length - m_stream.avail_out;
        switch (result) {
        case LZMA_OK:
            return {produced, false};
        case LZMA_STREAM_END:
            m_ended = true;
            return {produced, produced == 0};
        case LZMA_BUF_ERROR:
            if (inputEnded)
                cutShort();
            return {produced, false};
        case LZMA_MEMLIMIT_ERROR:
            damaged("it asks for more memory than " + sizeText(kXzMemoryLimit));
        case LZMA_FORMAT_ERROR:
        case LZMA_OPTIONS_ERROR:
            damaged("not an xz stream this reader knows");
        default:
            damaged("xz");
        }
    }

private:
    lzma_stream m_stream = LZMA_STREAM_INIT;
    bool m_ended = false;
};

} // namespace

UnpackingReader::UnpackingReader(int fd, UnpackLimits limits)
    : m_fd(fd)
    , m_limits(limits)
{
}

UnpackingReader::~UnpackingReader() = default;

bool UnpackingReader::fillInput()
{
    m_input.erase(0, m_inputAt);
    m_inputAt = 0;
    const std::size_t kept = m_input.size();
    m_input.resize(kept + kInputPiece);
    ssize_t n;
    do
        n = ::read(m_fd, m_input.data() + kept, kInputPiece);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int err = errno;
        m_input.resize(kept);
        throw IoError::fromErrno(err);
    }
    m_input.resize(kept + static_cast<std::size_t>(n));
    m_packedRead += static_cast<std::uint64_t>(n);
    m_inputEnded = n == 0;
    return n > 0;
}

Packing UnpackingReader::packing()
{
    if (!m_decoder) {
        while (m_input.size() < kXzMagic.size() && fillInput()) { }
        const Packing packing = packingOf(m_input);
        if (packing == Packing::Gzip)
            m_decoder = std::make_unique<GzipDecoder>();
        else if (packing == Packing::Xz)
            m_decoder = std::make_unique<XzDecoder>();
        else
            m_decoder = std::make_unique<PlainDecoder>();
        m_packing = packing;
    }
    return m_packing;
}

void UnpackingReader::count(std::size_t produced)
{
    m_unpacked += produced;
    if (m_packing == Packing::Plain)
        return; // as large as the file: nothing to guard against
    if (m_unpacked > m_limits.maxBytes)
        throw Error("it unpacks to more than " + sizeText(m_limits.maxBytes) + ", more than a listing holds");
    if (m_unpacked > m_limits.ratioFrom
        && m_unpacked / std::max<std::uint64_t>(m_packedRead, 1) >= m_limits.maxRatio)
        throw Error("it unpacks to more than " + std::to_string(m_limits.maxRatio)
                    + " times its size, as no listing does: refused as a decompression bomb");
}

std::size_t UnpackingReader::read(char* buffer, std::size_t length)
{
    packing();
    for (;;) {
        std::string_view in(m_input.data() + m_inputAt, m_input.size() - m_inputAt);
        const std::size_t before = in.size();
        const Step step = m_decoder->unpack(in, buffer, length, m_inputEnded);
        m_inputAt += before - in.size();
        if (step.produced > 0) {
            count(step.produced);
            return step.produced;
        }
        if (step.ended || length == 0)
            return 0;
        if (before == in.size()) {
            // Nothing taken, nothing given: the decoder wants more than there is.
            if (m_inputEnded)
                cutShort();
            fillInput();
        }
    }
}

std::string unpackedStart(const std::string& file, std::size_t length, UnpackLimits limits)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw IoError::fromErrno(errno, file);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    UnpackingReader reader(fd, limits);
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const std::size_t n = reader.read(bytes.data() + got, length - got);
        if (n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

} // namespace brevio::exchange

#include "core/exchange/show_spool.h"

#include "core/store/errors.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace brevio::exchange {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

} // namespace

ShowSpool::ShowSpool()
{
    const char* dir = std::getenv("TMPDIR");
    std::string name = std::string(dir && *dir ? dir : "/tmp") + "/brevio-shows-XXXXXX";
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
        throw IoError::fromErrno(errno);
    ::unlink(name.c_str());
    m_buffer.reserve(kBufferSize);
}

ShowSpool::~ShowSpool()
{
    ::close(m_fd);
}

std::uint64_t ShowSpool::append(std::string_view bytes)
{
    const std::uint64_t offset = m_written + m_buffer.size();
    if (m_buffer.size() + bytes.size() > kBufferSize)
        flush();
    m_buffer += bytes;
    return offset;
}

void ShowSpool::flush()
{
    std::string_view rest = m_buffer;
    while (!rest.empty()) {
        const ssize_t n = ::pwrite(m_fd, rest.data(), rest.size(), static_cast<off_t>(m_written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw IoError::fromErrno(n < 0 ? errno : ENOSPC);
        m_written += static_cast<std::uint64_t>(n);
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    m_buffer.clear();
}

std::string ShowSpool::read(std::uint64_t offset, std::uint32_t length)
{
    if (offset + length > m_written)
        flush();
    std::string bytes(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n
            = ::pread(m_fd, bytes.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw IoError::fromErrno(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

} // namespace brevio::exchange

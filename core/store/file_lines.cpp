#include "core/store/file_lines.h"

#include "core/store/errors.h"
#include "core/store/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevio::store {

namespace {

constexpr char kEndOfText = 26; // Ctrl-Z

} // namespace

FileLines::FileLines(const std::filesystem::path& p, std::string& buffer, IfMissing ifMissing,
                     std::size_t piece)
    : m_path(p)
    , m_buffer(buffer)
    , m_piece(std::max<std::size_t>(piece, 1))
{
    // One open instead of a look for the file and then an open: the now view opens hundreds.
    // Only a plain file is read, as readFile does.
    do {
        m_fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        if (ifMissing == IfMissing::Skip && (errno == ENOENT || errno == ENOTDIR))
            return;
        throw IoError::fromErrno(errno, p.native());
    }
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        if (ifMissing == IfMissing::Throw)
            throw IoError(5, p.native());
    }
}

FileLines::~FileLines()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileLines::readMore()
{
    if (m_ended || m_fd < 0)
        return false;
    if (m_buffer.size() < m_loaded + m_piece)
        m_buffer.resize(std::max(m_buffer.size() * 2, m_loaded + m_piece));
    ssize_t n;
    do {
        n = ::read(m_fd, m_buffer.data() + m_loaded, m_piece);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        throw IoError::fromErrno(errno, m_path.native());
    const char* piece = m_buffer.data() + m_loaded;
    if (const auto* eot
        = static_cast<const char*>(std::memchr(piece, kEndOfText, static_cast<std::size_t>(n)))) {
        m_loaded += static_cast<std::size_t>(eot - piece);
        m_ended = true;
    } else {
        m_loaded += static_cast<std::size_t>(n);
        m_ended = n == 0;
    }
    return true;
}

bool FileLines::nextCut(std::string_view& line, bool atCr)
{
    // A line not closed by an LF may go on in the part not read yet. The search for the LF goes
    // on where it stopped, so that a very long line is not searched again for every piece.
    const char* lf = nullptr;
    for (std::size_t searched = m_pos;;) {
        lf = static_cast<const char*>(std::memchr(m_buffer.data() + searched, '\n', m_loaded - searched));
        if (lf)
            break;
        searched = m_loaded;
        if (!readMore())
            break;
    }
    if (m_pos == m_loaded)
        return false;
    // As cutRawLine and cutLine cut it, the LF found above taken as the line's end.
    const char* begin = m_buffer.data() + m_pos;
    const std::string_view raw(begin, lf ? static_cast<std::size_t>(lf - begin) : m_loaded - m_pos);
    line = atCr ? endAtCr(raw) : raw;
    m_pos += raw.size() + (lf ? 1 : 0);
    return true;
}

} // namespace brevio::store

#include "store/file_io.h"

#include "store/errors.h"
#include "store/line_reader.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace brevio::store {

namespace {

// Closes its descriptor on every path out of a function.
class Fd
{
public:
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now so that a late write error (reported by close) is not lost; 0 or an errno.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

Fd openOrThrow(const fs::path& p, int flags, mode_t mode = 0666)
{
    int fd;
    do {
        fd = ::open(p.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError::fromErrno(errno);
    return Fd(fd);
}

// 0 or the errno of the failed write.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Writes through a symbolic link to the file it names instead of replacing the link itself.
fs::path resolvedTarget(const fs::path& p)
{
    std::error_code ec;
    if (fs::is_symlink(p, ec)) {
        const fs::path resolved = fs::weakly_canonical(p, ec);
        if (!ec)
            return resolved;
    }
    return p;
}

// The longest file name the file systems we write to take (NAME_MAX).
constexpr std::size_t kMaxNameBytes = 255;

fs::path uniqueSibling(const fs::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string suffix = "." + std::to_string(::getpid()) + "-"
        + std::to_string(seed ^ (attempt * 2654435761u)) + "-" + std::to_string(counter++) + ".tmp";
    // The temporary name must fit where the target's name just fits: the target's part gives way.
    const std::string stem = target.filename().string().substr(0, kMaxNameBytes - 1 - suffix.size());
    return dir / ("." + stem + suffix);
}

// Removes a folder's contents (not the folder); false when anything stayed.
bool removeContents(const fs::path& dir) noexcept
{
    struct stat st;
    // Without write and search permission on the folder its entries cannot go.
    if (::lstat(dir.c_str(), &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(dir.c_str(), (st.st_mode & 07777) | S_IRWXU);

    bool ok = true;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path entry = it->path();
        if (::lstat(entry.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            ok = removeContents(entry) && ok;
            ok = ::rmdir(entry.c_str()) == 0 && ok;
        } else {
            ok = ::unlink(entry.c_str()) == 0 && ok;
        }
    }
    return !ec && ok;
}

} // namespace

bool fileExists(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string readFile(const fs::path& p)
{
    Fd fd = openOrThrow(p, O_RDONLY);
    std::string bytes;
    struct stat st;
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError::fromErrno(errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::vector<std::string> readLines(const fs::path& p)
{
    return splitLines(readFile(p));
}

void replaceFile(const fs::path& p, std::string_view bytes, FileSync sync)
{
    const fs::path target = resolvedTarget(p);

    fs::path temp;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = uniqueSibling(target, attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            throw IoError::fromErrno(errno);
    }
    if (fd < 0)
        throw IoError::fromErrno(EEXIST);
    Fd file(fd);

    int err = 0;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        // The new file takes the old one's place, so it keeps its mode (and owner where allowed).
        if (::fchown(file.get(), st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away; an unchanged owner is fine.
        }
        if (::fchmod(file.get(), st.st_mode & 07777) != 0)
            err = errno;
    }
    if (err == 0)
        err = writeAll(file.get(), bytes);
    if (err == 0 && sync == FileSync::Now && ::fsync(file.get()) != 0)
        err = errno;
    const int closeErr = file.close();
    if (err == 0)
        err = closeErr;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        throw IoError::fromErrno(err);
    }

    if (sync == FileSync::Later)
        return;
    // Make the rename itself durable; the data is already safe, so failure here is not reported.
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void syncFileSystem(const fs::path& p)
{
    Fd fd = openOrThrow(p, O_RDONLY);
    if (::syncfs(fd.get()) != 0)
        throw IoError::fromErrno(errno);
}

void appendToFile(const fs::path& p, std::string_view bytes)
{
    Fd file = openOrThrow(p, O_WRONLY | O_APPEND | O_CREAT);
    int err = writeAll(file.get(), bytes);
    const int closeErr = file.close();
    if (err == 0)
        err = closeErr;
    if (err != 0)
        throw IoError::fromErrno(err);
}

void createEmptyIfMissing(const fs::path& p)
{
    // Read-only open: an existing file is left alone even when it is write-protected.
    Fd file = openOrThrow(p, O_RDONLY | O_CREAT);
}

bool removeFile(const fs::path& p) noexcept
{
    if (::unlink(p.c_str()) == 0)
        return true;
    return errno == ENOENT || errno == ENOTDIR;
}

void createFolder(const fs::path& p)
{
    if (::mkdir(p.c_str(), 0777) == 0)
        return;
    const int err = errno;
    std::error_code ec;
    if (err == EEXIST && fs::is_directory(p, ec))
        return;
    throw IoError::fromErrno(err);
}

bool removeFolderTree(const fs::path& p) noexcept
{
    try {
        if (p.empty())
            return false;
        struct stat st;
        if (::lstat(p.c_str(), &st) != 0)
            return false;
        // A link is removed itself; what it points to lies outside and stays.
        if (S_ISLNK(st.st_mode))
            return ::unlink(p.c_str()) == 0;
        if (!S_ISDIR(st.st_mode))
            return false;
        const bool contentsGone = removeContents(p);
        return ::rmdir(p.c_str()) == 0 && contentsGone;
    } catch (...) {
        return false;
    }
}

} // namespace brevio::store

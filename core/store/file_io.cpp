#include "core/store/file_io.h"

#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/store/temp_files.h"

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
        throw IoError::fromErrno(errno, p.native());
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

fs::path folderOf(const fs::path& target)
{
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

fs::path uniqueSibling(const fs::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return folderOf(target)
        / tempSiblingName(target.filename().native(), ::getpid(), seed ^ (attempt * 2654435761u), counter++);
}

// Gives the new file the old one's mode (and owner where allowed); 0 or an errno.
int takeOverMode(int fd, const fs::path& target)
{
    struct stat st;
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Only root may give a file away; an unchanged owner is fine.
    }
    return ::fchmod(fd, st.st_mode & 07777) == 0 ? 0 : errno;
}

// Mode, content, flush to disk (unless later): 0 or the errno of the first failure.
int fillNewFile(int fd, const fs::path& target, std::string_view bytes, FileSync sync)
{
    int err = takeOverMode(fd, target);
    if (err == 0)
        err = writeAll(fd, bytes);
    if (err == 0 && sync == FileSync::Now && ::fsync(fd) != 0)
        err = errno;
    return err;
}

// An unnamed file in the target's folder; invalid where the file system has none.
Fd openUnnamed(const fs::path& target)
{
    int fd;
    do {
        fd = ::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return Fd(fd);
}

// Gives a filled unnamed file a sibling name of ours. Until the rename a kill leaves that
// name behind for the next start's sweep; the unnamed file itself never outlives a kill.
// 0 and the name, or an errno.
int linkUnnamed(const Fd& file, const fs::path& target, fs::path& temp)
{
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temp = uniqueSibling(target, attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST && errno != EINTR)
            return errno;
    }
    return EEXIST;
}

// A named sibling, written in place: the fallback where there are no unnamed files.
Fd openNamedSibling(const fs::path& target, fs::path& temp)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temp = uniqueSibling(target, attempt);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return Fd(fd);
        if (errno != EEXIST && errno != EINTR)
            throw IoError::fromErrno(errno, target.native());
    }
    throw IoError::fromErrno(EEXIST, target.native());
}

// Makes a rename durable; the data is already safe, so a failure here is not reported.
void syncFolder(const fs::path& target)
{
    const int dirFd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

// Renames a filled sibling over the target; removes it and throws on failure.
void renameOver(const fs::path& temp, const fs::path& target, int err, FileSync sync)
{
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        throw IoError::fromErrno(err, target.native());
    }
    if (sync == FileSync::Now)
        syncFolder(target);
}

// The unnamed way; false (nothing changed) when the system does not offer it.
bool replaceThroughUnnamedFile(const fs::path& target, std::string_view bytes, FileSync sync)
{
    Fd file = openUnnamed(target);
    if (!file.valid())
        return false;
    int err = fillNewFile(file.get(), target, bytes, sync);
    if (err != 0)
        throw IoError::fromErrno(err, target.native()); // the unnamed file goes with its descriptor
    fs::path temp;
    err = linkUnnamed(file, target, temp);
    if (err == ENOENT || err == EPERM || err == EOPNOTSUPP || err == EXDEV)
        return false; // no /proc, or links not allowed here: write a named file instead
    if (err != 0)
        throw IoError::fromErrno(err, target.native());
    renameOver(temp, target, file.close(), sync);
    return true;
}

void replaceThroughNamedFile(const fs::path& target, std::string_view bytes, FileSync sync)
{
    fs::path temp;
    Fd file = openNamedSibling(target, temp);
    int err = fillNewFile(file.get(), target, bytes, sync);
    const int closeErr = file.close();
    renameOver(temp, target, err != 0 ? err : closeErr, sync);
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

std::string_view readFileInto(const fs::path& p, std::string& buffer)
{
    // Without waiting for a writer, should the name be a pipe: only a plain file is read, so
    // that neither a pipe nor a device can stall or flood the window.
    Fd fd = openOrThrow(p, O_RDONLY | O_NONBLOCK);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        throw IoError::fromErrno(errno, p.native());
    if (!S_ISREG(st.st_mode))
        throw IoError(5, p.native());
    // One byte more than the size, so that the end shows without growing the buffer.
    if (buffer.size() <= static_cast<std::size_t>(st.st_size))
        buffer.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size())
            buffer.resize(buffer.size() * 2 + 65536); // a file that grows, or one of no known size
        const ssize_t n = ::read(fd.get(), buffer.data() + used, buffer.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError::fromErrno(errno, p.native());
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    return {buffer.data(), used};
}

std::string readFile(const fs::path& p)
{
    std::string bytes;
    const std::size_t size = readFileInto(p, bytes).size();
    bytes.resize(size);
    return bytes;
}

std::vector<std::string> readLines(const fs::path& p)
{
    return splitLines(readFile(p));
}

void replaceFile(const fs::path& p, std::string_view bytes, FileSync sync, TempFileKind kind)
{
    const fs::path target = resolvedTarget(p);
    if (kind == TempFileKind::Unnamed && replaceThroughUnnamedFile(target, bytes, sync))
        return;
    replaceThroughNamedFile(target, bytes, sync);
}

void syncFileSystem(const fs::path& p)
{
    Fd fd = openOrThrow(p, O_RDONLY);
    if (::syncfs(fd.get()) != 0)
        throw IoError::fromErrno(errno, p.native());
}

void appendToFile(const fs::path& p, std::string_view bytes)
{
    Fd file = openOrThrow(p, O_WRONLY | O_APPEND | O_CREAT);
    int err = writeAll(file.get(), bytes);
    const int closeErr = file.close();
    if (err == 0)
        err = closeErr;
    if (err != 0)
        throw IoError::fromErrno(err, p.native());
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
    throw IoError::fromErrno(err, p.native());
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

#include "core/sources/refresh_lock.h"

#include "core/store/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace brevio::sources {

std::unique_ptr<RefreshLock> RefreshLock::acquire(std::chrono::milliseconds wait,
                                                  const std::function<bool()>& pump)
{
    const int fd = ::open(kFileName, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throw IoError::fromErrno(errno, kFileName);
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return std::unique_ptr<RefreshLock>(new RefreshLock(fd));
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int err = errno;
            ::close(fd);
            throw IoError::fromErrno(err, kFileName);
        }
        if (std::chrono::steady_clock::now() >= until || (pump && !pump())) {
            ::close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // short: a window pumps between
    }
}

RefreshLock::~RefreshLock()
{
    ::close(m_fd);
}

} // namespace brevio::sources

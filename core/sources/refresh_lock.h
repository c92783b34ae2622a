#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace brevio::sources {

// One refresh at a time per week store, whichever process runs it (the window, a timer's
// `brevio --refresh`): an exclusive lock on a file in the store's folder, which the system drops
// when the process ends, however it ends.
class RefreshLock
{
public:
    static constexpr const char* kFileName = ".sources.lock";

    // The lock of the store in the current folder, waiting up to `wait` for another process to
    // let go (`pump` runs between tries; false from it stops waiting). None when it could not be
    // had; IoError when the lock file cannot be made.
    static std::unique_ptr<RefreshLock> acquire(std::chrono::milliseconds wait = std::chrono::milliseconds(0),
                                                const std::function<bool()>& pump = {});
    ~RefreshLock();
    RefreshLock(const RefreshLock&) = delete;
    RefreshLock& operator=(const RefreshLock&) = delete;

private:
    explicit RefreshLock(int fd)
        : m_fd(fd)
    {
    }
    int m_fd;
};

} // namespace brevio::sources

#pragma once

#include <memory>
#include <string>

namespace brevio {

// One running copy per user: an exclusive lock on a per-user file. The system drops the lock
// when the process ends, however it ends, so a crashed copy never blocks the next start.
class SingleInstanceLock
{
public:
    // nullptr when another process of this user holds the lock.
    static std::unique_ptr<SingleInstanceLock> acquire(const std::string& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // The lock file used for `name` by this user.
    static std::string lockPath(const std::string& name);

private:
    explicit SingleInstanceLock(int fd)
        : m_fd(fd)
    {
    }
    int m_fd;
};

} // namespace brevio

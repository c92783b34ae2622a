#include "core/session/single_instance.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace brevio {

std::string SingleInstanceLock::lockPath(const std::string& name)
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir && std::filesystem::is_directory(runtimeDir))
        return std::string(runtimeDir) + "/" + name + ".lock";
    // The temp folder is shared by all users: the user id keeps the names apart.
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getuid()) + ".lock"))
        .string();
}

std::unique_ptr<SingleInstanceLock> SingleInstanceLock::acquire(const std::string& name)
{
    const int fd = ::open(lockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(-1)); // cannot guard: run anyway
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(fd));
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace brevio

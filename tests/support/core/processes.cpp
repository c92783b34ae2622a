#include "support/core/processes.h"

#include <sys/wait.h>
#include <unistd.h>

namespace brevio::test {

pid_t endedProcessId()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace brevio::test

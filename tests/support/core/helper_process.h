#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace brevio::test {

// A port nobody listens on right now on 127.0.0.1 (the kernel's pick for an ephemeral bind).
long freeLoopbackPort();

// A program a test starts beside itself (a proxy, a web server): its output goes nowhere, and
// it is stopped with SIGTERM (SIGKILL when it does not end) at the latest when this goes.
class HelperProcess
{
public:
    // Starts `argv` (argv[0] the program's path); throws std::runtime_error when it cannot.
    explicit HelperProcess(std::vector<std::string> argv);
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Waits up to five seconds for the program to accept connections on `port`; throws with
    // the text of `log()` when it ends or does not listen in time.
    void waitForPort(long port, const std::function<std::string()>& log);
    void stop();

private:
    std::string m_name;
    pid_t m_pid = -1;
};

} // namespace brevio::test

#include "support/core/tinyproxy_runner.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace brevio::test {

namespace {

sockaddr_in loopback(long port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// A port nobody listens on right now (the kernel's pick for an ephemeral bind).
long freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw std::runtime_error("tinyproxy runner: no free loopback port");
    return ntohs(address.sin_port);
}

bool accepts(long port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    const bool ok
        = fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace

std::optional<std::string> TinyproxyRunner::binary()
{
    for (const char* path : {"/usr/sbin/tinyproxy", "/usr/bin/tinyproxy"})
        if (::access(path, X_OK) == 0)
            return std::string(path);
    return std::nullopt;
}

TinyproxyRunner::TinyproxyRunner()
{
    const auto program = binary();
    if (!program)
        throw std::runtime_error("tinyproxy is not installed");
    m_port = freePort();
    const std::string config = (m_dir / "tinyproxy.conf").string();
    m_dir.write("tinyproxy.conf",
                "Port " + std::to_string(m_port)
                    + "\n"
                      "Listen 127.0.0.1\n"
                      "Allow 127.0.0.1\n"
                      "Timeout 30\n"
                      "MaxClients 20\n"
                      "DisableViaHeader Yes\n"
                      "LogLevel Connect\n"
                      "LogFile \""
                    + (m_dir / "tinyproxy.log").string() + "\"\n");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string arg0 = *program, foreground = "-d", configFlag = "-c", configPath = config;
    char* argv[] = {arg0.data(), foreground.data(), configFlag.data(), configPath.data(), nullptr};
    const int rc = posix_spawn(&m_pid, program->c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("tinyproxy runner: cannot start " + *program);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!accepts(m_port)) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            throw std::runtime_error("tinyproxy ended at start; log:\n" + log());
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            throw std::runtime_error("tinyproxy does not listen on its port; log:\n" + log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TinyproxyRunner::~TinyproxyRunner()
{
    stop();
}

std::string TinyproxyRunner::log() const
{
    return m_dir.read("tinyproxy.log");
}

void TinyproxyRunner::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
}

} // namespace brevio::test

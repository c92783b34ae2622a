#include "support/core/tinyproxy_runner.h"

#include <stdexcept>
#include <unistd.h>

namespace brevio::test {

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
    m_port = freeLoopbackPort();
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

    m_process = std::make_unique<HelperProcess>(std::vector<std::string>{*program, "-d", "-c", config});
    m_process->waitForPort(m_port, [this] { return log(); });
}

TinyproxyRunner::~TinyproxyRunner() = default;

std::string TinyproxyRunner::log() const
{
    return m_dir.read("tinyproxy.log");
}

} // namespace brevio::test

#pragma once

#include "support/core/helper_process.h"
#include "support/core/temp_dir.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brevio::test {

// A real static web server for tests: nginx in the foreground, as the user the test runs as,
// on a free loopback port, with its configuration, pid file, logs and temporary folders in a
// folder of its own; stopped in the destructor.
class NginxRunner
{
public:
    // The installed nginx, if any.
    static std::optional<std::string> binary();

    // Serves the files below `root` (throws std::runtime_error when nginx cannot start).
    explicit NginxRunner(const std::filesystem::path& root);
    ~NginxRunner();
    NginxRunner(const NginxRunner&) = delete;
    NginxRunner& operator=(const NginxRunner&) = delete;

    // "http://127.0.0.1:<port>" + path.
    std::string url(std::string_view path) const;
    std::string accessLog() const { return m_dir.read("access.log"); }
    std::string errorLog() const { return m_dir.read("error.log"); }

private:
    TempDir m_dir;
    long m_port = 0;
    std::unique_ptr<HelperProcess> m_process;
};

} // namespace brevio::test

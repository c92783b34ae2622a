#pragma once

#include "support/core/helper_process.h"
#include "support/core/temp_dir.h"

#include <memory>
#include <optional>
#include <string>

namespace brevio::test {

// A real HTTP proxy for tests: tinyproxy in the foreground on a free loopback port, with a
// generated configuration, stopped in the destructor. Tests that need it skip when
// binary() finds nothing.
class TinyproxyRunner
{
public:
    // The installed tinyproxy (/usr/sbin or /usr/bin), if any.
    static std::optional<std::string> binary();

    TinyproxyRunner(); // throws std::runtime_error when it cannot start
    ~TinyproxyRunner();
    TinyproxyRunner(const TinyproxyRunner&) = delete;
    TinyproxyRunner& operator=(const TinyproxyRunner&) = delete;

    long port() const { return m_port; }
    std::string host() const { return "127.0.0.1"; }
    // What tinyproxy logged so far (connect and request lines at its "Connect" level).
    std::string log() const;

private:
    TempDir m_dir;
    long m_port = 0;
    std::unique_ptr<HelperProcess> m_process;
};

} // namespace brevio::test

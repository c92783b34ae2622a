#include "support/core/nginx_runner.h"

#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace brevio::test {

std::optional<std::string> NginxRunner::binary()
{
    for (const char* path : {"/usr/sbin/nginx", "/usr/bin/nginx"})
        if (::access(path, X_OK) == 0)
            return std::string(path);
    return std::nullopt;
}

NginxRunner::NginxRunner(const std::filesystem::path& root)
{
    const auto program = binary();
    if (!program)
        throw std::runtime_error("nginx is not installed");
    m_port = freeLoopbackPort();
    const std::string dir = m_dir.path().string();
    std::string config = R"(daemon off;
worker_processes 1;
pid @DIR@/nginx.pid;
error_log @DIR@/error.log;
@USER@events { worker_connections 32; }
http {
  access_log @DIR@/access.log;
  client_body_temp_path @DIR@/body;
  proxy_temp_path @DIR@/proxy;
  fastcgi_temp_path @DIR@/fastcgi;
  uwsgi_temp_path @DIR@/uwsgi;
  scgi_temp_path @DIR@/scgi;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:@PORT@;
    root @ROOT@;
  }
}
)";
    // Started by root (as CI is) nginx hands its workers to "nobody", who could not read the
    // test's folders; anyone else runs the workers as themselves and must not name a user.
    const std::pair<std::string, std::string> values[] = {
        {"@DIR@", dir},
        {"@USER@", ::geteuid() == 0 ? "user root;\n" : ""},
        {"@PORT@", std::to_string(m_port)},
        {"@ROOT@", root.string()},
    };
    for (const auto& [key, value] : values)
        for (auto at = config.find(key); at != config.npos; at = config.find(key, at + value.size()))
            config.replace(at, key.size(), value);
    m_dir.write("nginx.conf", config);
    // -e: the error log from the first moment, before the configuration names it.
    m_process = std::make_unique<HelperProcess>(
        std::vector<std::string>{*program, "-p", dir, "-c", dir + "/nginx.conf", "-e", dir + "/error.log"});
    m_process->waitForPort(m_port, [this] { return errorLog(); });
}

NginxRunner::~NginxRunner() = default;

std::string NginxRunner::url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

} // namespace brevio::test

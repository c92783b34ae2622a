#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace brevio::tools {

// The path below the served folder that a request target names, with '/' between its
// parts. Takes the origin form "/a/b" and the absolute form a request through a proxy
// carries ("http://host:port/a/b"); drops a query or fragment and decodes %XX escapes.
// Nothing when the target could leave the folder or is malformed: a ".." part, a
// backslash or NUL, a bad escape, another scheme than http. "/" gives "".
std::optional<std::string> servedPath(std::string_view target);

// Serves one folder read-only on 127.0.0.1: GET and HEAD of its files byte for byte as
// application/octet-stream with an ETag (of size and time) and Last-Modified, 304 without a
// body when If-None-Match names that tag (or, without it, If-Modified-Since repeats that
// time), 404 for what is not a file there, 403 for targets that would leave the folder
// (symbolic links included), 405 for other methods. Accepts HTTP/1.0 and HTTP/1.1 requests.
class StaticServer
{
public:
    // Throws std::runtime_error when `root` is not a folder.
    explicit StaticServer(const std::filesystem::path& root);
    ~StaticServer();
    StaticServer(const StaticServer&) = delete;
    StaticServer& operator=(const StaticServer&) = delete;

    // Called once per answered request with a line such as "GET /datas.dat 200 54".
    void setLog(std::function<void(const std::string& line)> log);

    // Takes the loopback port `port` (0: any free one) and returns it. Throws
    // std::runtime_error when the port cannot be had.
    int bind(int port);

    // Answers requests until stop(); call bind() first. Returns false when serving failed.
    bool run();

    // Ends run(), or makes it return at once when it has not started yet; safe from any
    // thread.
    void stop();

private:
    std::filesystem::path m_root;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_stopping{false};
    std::unique_ptr<httplib::Server> m_server;
    std::mutex m_logMutex; // httplib answers on several threads
    std::function<void(const std::string&)> m_log;
};

} // namespace brevio::tools

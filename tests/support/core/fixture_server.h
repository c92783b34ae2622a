#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace brevio::test {

// One request as the server received it.
struct FixtureRequest
{
    std::string raw; // the bytes exactly as received (header up to the empty line, then any body)
    std::string method;
    std::string target; // as in the request line: a path, or a whole URL when sent to a proxy
    std::string version; // "HTTP/1.0"
    std::string path; // the target's path, query cut off and %XX decoded ("/a/b.txt" also for a whole URL)
    std::vector<std::string> headerLines; // "Name: value" in order, without line ends

    // The value of the first header line called `name` (case ignored), without blanks around.
    std::optional<std::string> header(std::string_view name) const;
};

// How the server answers one request. The reply is composed from the status line, the header
// lines and the body unless `raw` is set; then `sendLimit` and `after` decide how it ends.
struct FixtureReply
{
    enum class After {
        Close, // close the connection normally
        Stall, // keep it open, sending nothing more, until the client hangs up or the server stops
        Reset // abort it with a TCP reset
    };

    std::string statusLine = "HTTP/1.0 200 OK";
    std::vector<std::string> headers; // without line ends
    std::string body;
    std::size_t bodyRepeat = 1; // the body goes out this many times: a large reply from a small string
    bool contentLength = true; // add "Content-Length: <body size>" after `headers`
    std::optional<std::string> raw; // send exactly these bytes instead
    std::chrono::milliseconds delay{0}; // before the first byte
    std::size_t chunkSize = 0; // 0: send at once; else in pieces of this size ...
    std::chrono::milliseconds chunkDelay{0}; // ... with this pause between them
    std::size_t sendLimit = static_cast<std::size_t>(-1); // send only this many bytes
    After after = After::Close;

    std::string bytes() const; // what the reply puts on the wire before `sendLimit` (the body once)

    static FixtureReply ok(std::string body);
    static FixtureReply status(std::string statusLine, std::string body = {});
    static FixtureReply redirect(int code, std::string location);
    static FixtureReply stall(); // read the request, never answer
    static FixtureReply rawBytes(std::string bytes);
};

// A tiny HTTP server on 127.0.0.1 with an ephemeral port, running on its own threads (one
// per connection, so a stalled reply holds back nobody else). It records every request and
// answers by route (exact decoded path) or else by the handler; unknown paths get 404. One
// request per connection. Stops in its destructor, cutting stalled connections.
class FixtureServer
{
public:
    using Handler = std::function<FixtureReply(const FixtureRequest&)>;

    FixtureServer();
    ~FixtureServer();
    FixtureServer(const FixtureServer&) = delete;
    FixtureServer& operator=(const FixtureServer&) = delete;

    long port() const { return m_port; }
    std::string url(std::string_view path = "/") const; // "http://127.0.0.1:<port>" + path

    void addRoute(const std::string& path, FixtureReply reply);
    // Called on a server thread for paths without a route; may run for several connections
    // at once.
    void setHandler(Handler handler);

    std::vector<FixtureRequest> requests() const;
    // Waits until at least `count` requests arrived; false on time-out.
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    void run();
    void serve(int client);
    enum class Wait { Ready, TimedOut, Stopping };
    // Waits until `fd` is readable (fd -1: only sleeps); -1 ms waits for ever.
    Wait wait(int fd, int timeoutMs) const;
    FixtureReply replyFor(const FixtureRequest& request);

    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    long m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::map<std::string, FixtureReply> m_routes;
    Handler m_handler;
    std::vector<FixtureRequest> m_requests;
    std::thread m_thread;
    std::vector<std::thread> m_connections; // touched by the accepting thread only
};

} // namespace brevio::test

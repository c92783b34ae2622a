#include "support/core/fixture_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <stdexcept>

namespace brevio::test {

namespace {

constexpr std::size_t kMaxRequestBytes = 1 << 20;

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                   == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string reasonOf(int code)
{
    switch (code) {
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    default:
        return "Redirect";
    }
}

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '%' && i + 2 < text.size()
            && std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr
                == text.data() + i + 3) {
            out += static_cast<char>(value);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Splits the header block into the request line parts and the header lines.
void parseRequest(FixtureRequest& request, std::string_view head)
{
    std::vector<std::string> lines;
    while (!head.empty()) {
        const auto end = head.find('\n');
        std::string_view line = head.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            break;
        lines.emplace_back(line);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
    }
    if (lines.empty())
        return;
    std::string_view first = lines.front();
    const auto space1 = first.find(' ');
    const auto space2 = first.find(' ', space1 == std::string_view::npos ? first.size() : space1 + 1);
    request.method = first.substr(0, space1);
    if (space1 != std::string_view::npos)
        request.target = first.substr(
            space1 + 1, space2 == std::string_view::npos ? std::string_view::npos : space2 - space1 - 1);
    if (space2 != std::string_view::npos)
        request.version = first.substr(space2 + 1);
    request.headerLines.assign(lines.begin() + 1, lines.end());

    std::string_view path = request.target;
    if (const auto scheme = path.find("://"); scheme != std::string_view::npos && path.front() != '/') {
        const auto slash = path.find('/', scheme + 3);
        path = slash == std::string_view::npos ? "/" : path.substr(slash);
    }
    request.path = percentDecoded(path.substr(0, path.find('?')));
}

// Sends everything unless the client goes away or `stopFd` becomes readable.
bool sendAll(int fd, std::string_view bytes, int stopFd)
{
    while (!bytes.empty()) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, POLLOUT, 0}};
        if (::poll(fds, 2, -1) <= 0 || fds[0].revents)
            return false;
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::optional<std::string> FixtureRequest::header(std::string_view name) const
{
    for (const std::string& line : headerLines) {
        const auto colon = line.find(':');
        if (colon != std::string::npos && equalNoCase(trimmed(std::string_view(line).substr(0, colon)), name))
            return std::string(trimmed(std::string_view(line).substr(colon + 1)));
    }
    return std::nullopt;
}

std::string FixtureReply::bytes() const
{
    if (raw)
        return *raw;
    std::string out = statusLine + "\r\n";
    for (const std::string& line : headers)
        out += line + "\r\n";
    if (contentLength)
        out += "Content-Length: " + std::to_string(body.size() * bodyRepeat) + "\r\n";
    return out + "\r\n" + body;
}

FixtureReply FixtureReply::ok(std::string body)
{
    FixtureReply reply;
    reply.body = std::move(body);
    return reply;
}

FixtureReply FixtureReply::status(std::string statusLine, std::string body)
{
    FixtureReply reply;
    reply.statusLine = std::move(statusLine);
    reply.body = std::move(body);
    return reply;
}

FixtureReply FixtureReply::redirect(int code, std::string location)
{
    FixtureReply reply;
    reply.statusLine = "HTTP/1.0 " + std::to_string(code) + " " + reasonOf(code);
    reply.headers.push_back("Location: " + location);
    return reply;
}

FixtureReply FixtureReply::stall()
{
    FixtureReply reply;
    reply.sendLimit = 0;
    reply.after = After::Stall;
    return reply;
}

FixtureReply FixtureReply::rawBytes(std::string bytes)
{
    FixtureReply reply;
    reply.raw = std::move(bytes);
    return reply;
}

FixtureServer::FixtureServer()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0 || ::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("fixture server: cannot create its sockets");
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(m_listener, 16) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("fixture server: cannot listen on loopback");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

FixtureServer::~FixtureServer()
{
    [[maybe_unused]] const ssize_t n = ::write(m_stopPipe[1], "x", 1);
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]})
        if (fd >= 0)
            ::close(fd);
}

std::string FixtureServer::url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

void FixtureServer::addRoute(const std::string& path, FixtureReply reply)
{
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(reply);
}

void FixtureServer::setHandler(Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

std::vector<FixtureRequest> FixtureServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool FixtureServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

FixtureServer::Wait FixtureServer::wait(int fd, int timeoutMs) const
{
    pollfd fds[2] = {{m_stopPipe[0], POLLIN, 0}, {fd, POLLIN, 0}};
    const int n = ::poll(fds, fd >= 0 ? 2 : 1, timeoutMs);
    if (n > 0 && fds[0].revents)
        return Wait::Stopping;
    return n > 0 ? Wait::Ready : Wait::TimedOut;
}

void FixtureServer::run()
{
    while (wait(m_listener, -1) == Wait::Ready) {
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        m_connections.emplace_back([this, client] {
            serve(client);
            ::close(client);
        });
    }
    for (std::thread& connection : m_connections)
        connection.join();
}

void FixtureServer::serve(int client)
{
    FixtureRequest request;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    char buffer[4096];
    // Reads the header, then as much body as its Content-Length announces.
    while (headEnd == std::string::npos || request.raw.size() < wanted) {
        if (wait(client, -1) != Wait::Ready)
            return;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0 || request.raw.size() > kMaxRequestBytes)
            break;
        request.raw.append(buffer, static_cast<std::size_t>(n));
        if (headEnd != std::string::npos)
            continue;
        const auto crlf = request.raw.find("\r\n\r\n");
        const auto lf = request.raw.find("\n\n");
        if (crlf == std::string::npos && lf == std::string::npos)
            continue;
        headEnd
            = std::min(crlf == std::string::npos ? crlf : crlf + 4, lf == std::string::npos ? lf : lf + 2);
        parseRequest(request, std::string_view(request.raw).substr(0, headEnd));
        std::size_t length = 0;
        if (const auto text = request.header("Content-Length"))
            std::from_chars(text->data(), text->data() + text->size(), length);
        wanted = headEnd + std::min(length, kMaxRequestBytes);
    }
    if (request.raw.empty())
        return;
    if (headEnd == std::string::npos)
        parseRequest(request, request.raw); // cut short: keep what came

    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
    }
    m_arrived.notify_all();

    const FixtureReply reply = replyFor(request);
    if (reply.delay.count() > 0 && wait(-1, static_cast<int>(reply.delay.count())) == Wait::Stopping)
        return;
    const std::string bytes = reply.bytes();
    std::string_view out = std::string_view(bytes).substr(0, std::min(reply.sendLimit, bytes.size()));
    const std::size_t chunk = reply.chunkSize ? reply.chunkSize : out.size();
    while (!out.empty()) {
        const std::size_t n = std::min(chunk, out.size());
        if (!sendAll(client, out.substr(0, n), m_stopPipe[0]))
            return;
        out.remove_prefix(n);
        if (!out.empty() && reply.chunkDelay.count() > 0
            && wait(-1, static_cast<int>(reply.chunkDelay.count())) == Wait::Stopping)
            return;
    }

    for (std::size_t i = 1; i < reply.bodyRepeat; ++i) {
        if (!sendAll(client, reply.body, m_stopPipe[0]))
            return;
    }

    switch (reply.after) {
    case FixtureReply::After::Close:
        ::shutdown(client, SHUT_WR);
        break;
    case FixtureReply::After::Stall:
        // Hold the connection until the client gives up or the server stops.
        while (wait(client, -1) == Wait::Ready && ::recv(client, buffer, sizeof buffer, 0) > 0) { }
        break;
    case FixtureReply::After::Reset: {
        const linger hard{1, 0};
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        break;
    }
    }
}

FixtureReply FixtureServer::replyFor(const FixtureRequest& request)
{
    Handler handler;
    {
        std::lock_guard lock(m_mutex);
        if (const auto route = m_routes.find(request.path); route != m_routes.end())
            return route->second;
        handler = m_handler;
    }
    return handler ? handler(request) : FixtureReply::status("HTTP/1.0 404 Not Found", "Not Found");
}

} // namespace brevio::test

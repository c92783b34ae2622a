#include "tools/static_server.h"

#include <httplib.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace brevio::tools {

namespace {

constexpr const char* kLoopback = "127.0.0.1";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded += char(high * 16 + low);
        i += 2;
    }
    return decoded;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    }
    return true;
}

// Whether `path` lies inside `root`; both are canonical.
bool isInside(const std::filesystem::path& path, const std::filesystem::path& root)
{
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (p == path.end() || *p != *r)
            return false;
    }
    return true;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// A file's validator: its size and modification time, so that a changed file gets a new one.
std::string entityTag(const std::filesystem::path& file)
{
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return {};
    char tag[64];
    std::snprintf(tag, sizeof tag, "\"%llx-%llx\"", static_cast<unsigned long long>(st.st_size),
                  static_cast<unsigned long long>(st.st_mtim.tv_sec) * 1000000000ULL
                      + static_cast<unsigned long long>(st.st_mtim.tv_nsec));
    return tag;
}

std::string lastModified(const std::filesystem::path& file)
{
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return {};
    std::tm utc{};
    gmtime_r(&st.st_mtim.tv_sec, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

// Whether an If-None-Match list ("a", "b" or *) names `tag`.
bool tagListed(std::string_view list, std::string_view tag)
{
    while (!list.empty()) {
        const auto comma = std::min(list.find(','), list.size());
        std::string_view item = list.substr(0, comma);
        item.remove_prefix(std::min(item.find_first_not_of(' '), item.size()));
        item = item.substr(0, item.find_last_not_of(' ') + 1);
        if (item.starts_with("W/"))
            item.remove_prefix(2);
        if (item == "*" || item == tag)
            return true;
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return false;
}

void answer(httplib::Response& res, int status, const char* text)
{
    res.status = status;
    res.set_content(std::string(text) + "\n", "text/plain");
}

} // namespace

std::optional<std::string> servedPath(std::string_view target)
{
    // A request through a proxy names the whole URL; only its path counts here.
    if (!target.starts_with('/')) {
        if (!startsWithNoCase(target, "http://"))
            return std::nullopt;
        target.remove_prefix(7);
        const auto slash = target.find('/');
        target = slash == target.npos ? std::string_view("/") : target.substr(slash);
    }
    target = target.substr(0, target.find_first_of("?#"));

    // Decoding comes first, so that "%2e%2e%2f" is judged as the "../" it stands for.
    const auto decoded = percentDecoded(target);
    if (!decoded)
        return std::nullopt;

    std::string path;
    std::istringstream parts(*decoded);
    for (std::string part; std::getline(parts, part, '/');) {
        if (part.empty() || part == ".")
            continue;
        if (part == ".." || part.find_first_of(std::string_view("\\\0", 2)) != part.npos)
            return std::nullopt;
        if (!path.empty())
            path += '/';
        path += part;
    }
    return path;
}

StaticServer::StaticServer(const std::filesystem::path& root)
    : m_server(std::make_unique<httplib::Server>())
{
    std::error_code rootError;
    m_root = std::filesystem::canonical(root, rootError);
    if (rootError || !std::filesystem::is_directory(m_root))
        throw std::runtime_error("not a folder: " + root.string());

    // httplib's default also sets SO_REUSEPORT, which would let a second server share the
    // port and take half of the requests; plain SO_REUSEADDR only allows a quick restart.
    m_server->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });

    // Requests carry no body worth having; a small cap keeps a stray client from filling memory.
    m_server->set_payload_max_length(64 * 1024);

    // Every request goes through here, before httplib's own routing, which would neither
    // take absolute targets nor keep to the folder.
    m_server->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (req.method != "GET" && req.method != "HEAD") {
            res.set_header("Allow", "GET, HEAD");
            answer(res, 405, "Method Not Allowed");
            return httplib::Server::HandlerResponse::Handled;
        }
        const auto relative = servedPath(req.target);
        if (!relative) {
            answer(res, 403, "Forbidden");
            return httplib::Server::HandlerResponse::Handled;
        }
        std::error_code error;
        const auto file = std::filesystem::weakly_canonical(m_root / *relative, error);
        if (error || !isInside(file, m_root)) {
            answer(res, 403, "Forbidden"); // a symbolic link pointing out of the folder
            return httplib::Server::HandlerResponse::Handled;
        }
        if (!std::filesystem::is_regular_file(file, error)) {
            answer(res, 404, "Not Found");
            return httplib::Server::HandlerResponse::Handled;
        }
        // Validators, so that a client asks again only for a changed file (conditional GET).
        const std::string tag = entityTag(file);
        const std::string modified = lastModified(file);
        const bool unchanged = req.has_header("If-None-Match")
            ? tagListed(req.get_header_value("If-None-Match"), tag)
            : req.has_header("If-Modified-Since") && req.get_header_value("If-Modified-Since") == modified;
        const auto bytes = unchanged ? std::optional<std::string>() : readWholeFile(file);
        if (!unchanged && !bytes) {
            answer(res, 404, "Not Found");
            return httplib::Server::HandlerResponse::Handled;
        }
        res.set_header("ETag", tag);
        res.set_header("Last-Modified", modified);
        if (unchanged) {
            res.status = 304;
            return httplib::Server::HandlerResponse::Handled;
        }
        res.status = 200;
        res.set_content(*bytes, "application/octet-stream");
        return httplib::Server::HandlerResponse::Handled;
    });

    m_server->set_logger([this](const httplib::Request& req, const httplib::Response& res) {
        const std::lock_guard lock(m_logMutex);
        if (m_log)
            m_log(req.method + " " + req.target + " " + std::to_string(res.status) + " "
                  + std::to_string(res.body.size()));
    });
}

StaticServer::~StaticServer()
{
    stop();
}

void StaticServer::setLog(std::function<void(const std::string& line)> log)
{
    const std::lock_guard lock(m_logMutex);
    m_log = std::move(log);
}

int StaticServer::bind(int port)
{
    const int bound = port == 0 ? m_server->bind_to_any_port(kLoopback)
                                : (m_server->bind_to_port(kLoopback, port) ? port : -1);
    if (bound <= 0)
        throw std::runtime_error("cannot listen on " + std::string(kLoopback) + ":" + std::to_string(port));
    return bound;
}

bool StaticServer::run()
{
    m_started = true;
    bool ok = true;
    if (!m_stopping)
        ok = m_server->listen_after_bind();
    m_finished = true;
    return ok || m_stopping;
}

void StaticServer::stop()
{
    m_stopping = true;
    // httplib ignores a stop that comes before its loop runs, so wait for the loop to start
    // (or for run() to see the flag and return by itself).
    while (m_started && !m_finished) {
        if (m_server->is_running()) {
            m_server->stop();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace brevio::tools

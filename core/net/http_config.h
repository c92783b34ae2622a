#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brevio::net {

struct ProxySettings
{
    bool enabled = false;
    std::string host;
    long port = 0;
    bool sendCredentials = false;
    std::string login; // windows-1251 bytes, as typed
    std::string password;
};

enum class HttpVersion { Http10, Http11 };

struct HttpClientConfig
{
    std::string userAgent;
    // The schedule server speaks HTTP/1.0; listing sources are ordinary web servers.
    HttpVersion version = HttpVersion::Http10;
    // Ask for "Content-Encoding: gzip" and decode it (the body cap counts the decoded bytes).
    bool acceptGzip = false;
    // Longest wait without progress (a name found, a connection made, request bytes sent, a
    // header line or body bytes received); 0: wait for ever.
    long timeoutMs = 0;
    ProxySettings proxy;
    std::size_t maxBodyBytes = 64u << 20;
};

// The header lines the program adds after the client's own, in order, for every request:
// "Pragma: no-cache", "Cache-Control: no-cache,no-store".
std::vector<std::string> programHeaderLines();

// The lines for the proxy alone: "Proxy-Authorization: Basic <login:password>" when the proxy
// is on and wants credentials (empty login and password are still sent). A plain request
// through the proxy carries them after the program's lines, a CONNECT (a tunnel to an https
// server) carries them alone, and a request inside a tunnel never does: the password goes to
// the proxy and to no web server.
std::vector<std::string> proxyHeaderLines(const ProxySettings& proxy);

} // namespace brevio::net

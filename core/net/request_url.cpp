#include "core/net/request_url.h"

#include "core/net/http_client.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <sys/socket.h>

#include <memory>

namespace brevio::net {

namespace {

using Kind = TransferError::Kind;

// A URL parsed by libcurl, freed on scope exit.
struct Url
{
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle{curl_url(), &curl_url_cleanup};

    explicit Url(const std::string& text)
    {
        if (!handle || curl_url_set(handle.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK)
            throw TransferError(Kind::Broken, "Not a valid address: " + text);
    }
    std::string part(CURLUPart which) const
    {
        char* value = nullptr;
        if (curl_url_get(handle.get(), which, &value, 0) != CURLUE_OK)
            return {};
        std::string out = value;
        curl_free(value);
        return out;
    }
    bool set(CURLUPart which, const std::string& value)
    {
        return curl_url_set(handle.get(), which, value.c_str(), 0) == CURLUE_OK;
    }
};

// `text` with every byte that `keep` refuses written as %XX.
template <class Keep>
std::string escaped(std::string_view text, Keep keep)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        if (keep(c)) {
            out += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
    return out;
}

} // namespace

std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string escapedUrl(std::string_view url)
{
    return escaped(url, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F
            && std::string_view("\"<>\\^`{|}").find(c) == std::string_view::npos;
    });
}

std::string escapedPathSegment(std::string_view name)
{
    return escaped(name, [](char c) {
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        return alphanumeric || std::string_view("-._~!$&'()*+,;=:@").find(c) != std::string_view::npos;
    });
}

std::string urlHost(const std::string& url)
{
    return Url(url).part(CURLUPART_HOST);
}

std::string urlWithHost(const std::string& url, std::string_view typed)
{
    std::string host(trimmedBlanks(typed));
    std::string port;
    const auto colon = host.rfind(':');
    const bool bracketed = !host.empty() && host.front() == '[';
    if (colon != std::string::npos && (bracketed ? host[colon - 1] == ']' : host.find(':') == colon)) {
        port = host.substr(colon + 1);
        host.resize(colon);
    }
    Url parsed(url);
    if (!parsed.set(CURLUPART_HOST, host) || (!port.empty() && !parsed.set(CURLUPART_PORT, port)))
        throw TransferError(Kind::HostNotFound, "Not a valid host: " + std::string(typed));
    return parsed.part(CURLUPART_URL);
}

bool hostNeedsLookup(std::string_view host)
{
    if (const auto scheme = host.find("://"); scheme != std::string_view::npos)
        host.remove_prefix(scheme + 3);
    if (const auto at = host.rfind('@'); at != std::string_view::npos)
        host.remove_prefix(at + 1);
    std::string name(host.substr(0, host.find('/')));
    unsigned char address[16];
    if (inet_pton(AF_INET6, name.c_str(), address) == 1)
        return false; // a bare IPv6 address
    if (!host.empty() && host.front() == '[')
        name = host.substr(1, host.find(']') - 1);
    else
        name = host.substr(0, host.find_first_of(":/"));
    return inet_pton(AF_INET, name.c_str(), address) != 1 && inet_pton(AF_INET6, name.c_str(), address) != 1;
}

} // namespace brevio::net

// Request addresses: escaping leaves only bytes that may stand raw in a URL and never changes
// what the address means (its percent-decoding); host handling never crashes, and an address
// with a typed host in it still has a host.
#include "core/net/http_client.h"
#include "core/net/request_url.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
            && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);
    const std::string escaped = net::escapedUrl(text);
    for (const char c : escaped) {
        const auto byte = static_cast<unsigned char>(c);
        fuzz::check(byte > 0x20 && byte < 0x7F
                        && std::string_view("\"<>\\^`{|}").find(c) == std::string_view::npos,
                    "an escaped address holds only bytes that may stand raw");
    }
    fuzz::check(percentDecoded(escaped) == percentDecoded(text), "escaping keeps what the address means");

    net::hostNeedsLookup(text);
    const std::string typed(net::trimmedBlanks(text));
    try {
        const std::string url = net::urlWithHost("http://127.0.0.1:8080/brevio/", typed);
        fuzz::check(!net::urlHost(url).empty(), "an address with a typed host has a host");
    } catch (const net::TransferError&) {
        // Not a host: refused, as the retrieval page reports it.
    }
    try {
        net::urlHost(std::string(text));
    } catch (const net::TransferError&) {
    }
    return 0;
}

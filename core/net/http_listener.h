#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brevio::net {

// The client's events, raised on the thread that called get(), never from inside libcurl.
// A handler may call HttpClient::abort() but must not start another get().
class HttpListener
{
public:
    virtual ~HttpListener() = default;

    virtual void hostResolved() { } // a host name was looked up (not raised for a numeric address)
    virtual void connected() { } // once per get(), when the first connection is up
    virtual void disconnected() { } // once at the end of every get() that connected
    // Request bytes sent so far; total is the Content-Length of the reply being read, else 0.
    virtual void packetSent(std::uint64_t /*sent*/, std::uint64_t /*total*/) { }
    // Body bytes of the reply being read so far, and its Content-Length (0 when it has none).
    virtual void packetReceived(std::uint64_t /*received*/, std::uint64_t /*total*/) { }
    virtual void succeeded() { } // the final reply's status is 298 or lower
    virtual void failed() { } // the final reply's status is 400 or higher
    virtual void connectionFailed() { } // refused or unreachable; get() throws right after
    // The host name was not found. Return a new host ("name" or "name:port") to try once
    // more, or nullopt to give up. Asked at most once per get().
    virtual std::optional<std::string> invalidHost() { return std::nullopt; }
};

} // namespace brevio::net

#pragma once

#include "core/net/http_config.h"
#include "core/net/http_listener.h"
#include "core/net/http_reply.h"
#include "core/net/reply_assembler.h"
#include "core/store/errors.h"

#include <functional>
#include <string>
#include <vector>

namespace brevio::net {

// A GET that did not bring a complete reply. The reply's status is not judged here: a 404 is
// a reply, not a transfer error (callers apply replySucceeded()).
class TransferError : public Error
{
public:
    enum class Kind {
        HostNotFound,
        ConnectionFailed, // refused or unreachable
        TimedOut, // no progress for the configured time
        Aborted, // HttpClient::abort()
        TooLarge, // body over HttpClientConfig::maxBodyBytes
        Broken // cut short, malformed, or any other transport failure
    };

    TransferError(Kind kind, const std::string& message)
        : Error(message)
        , m_kind(kind)
    {
    }
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// What one GET adds to the program's request.
struct HttpRequest
{
    std::vector<std::string> headerLines; // sent after the program's own ("If-None-Match: ...")
    BodySink* body = nullptr; // where the body goes; none: into reply().body
};

// One client per operation; each get() is a blocking HTTP/1.0 GET on libcurl that keeps the
// caller's window alive by calling `pump` between short polls. Single-threaded: every event
// and the pump run on the calling thread.
class HttpClient
{
public:
    HttpClient(HttpClientConfig config, HttpListener& listener, std::function<void()> pump);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Fetches an absolute http:// (or https://) URL, following redirects. On return reply()
    // holds the final reply's header text and body. Throws TransferError; an aborted or
    // broken transfer throws too, so its incomplete reply never reaches a success test.
    // After a throw, reply() holds whatever part of a reply had arrived (or the previous
    // reply when none had).
    const HttpReply& get(const std::string& url) { return get(url, HttpRequest{}); }
    const HttpReply& get(const std::string& url, const HttpRequest& request);
    const HttpReply& reply() const { return m_reply; }

    // Ends the transfer in progress; its get() throws TransferError::Kind::Aborted. Meant to
    // be called from the pump or a listener event; does nothing outside a transfer.
    void abort();

private:
    class Attempt;

    void runAttempt(Attempt& attempt);
    [[noreturn]] void fail(const Attempt& attempt, TransferError::Kind kind, const std::string& message);

    HttpClientConfig m_config;
    HttpListener& m_listener;
    std::function<void()> m_pump;
    void* m_multi; // CURLM*, kept out of this header
    HttpReply m_reply;
    bool m_busy = false;
    bool m_abortRequested = false;
};

} // namespace brevio::net

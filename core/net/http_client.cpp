#include "core/net/http_client.h"

#include "core/net/reply_assembler.h"
#include "core/net/request_url.h"

#include <curl/curl.h>

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace brevio::net {

namespace {

using Clock = std::chrono::steady_clock;
using Kind = TransferError::Kind;

constexpr long kPollMs = 15; // short enough for a responsive window, long enough to idle
constexpr long kMaxRedirects = 10;
// libcurl falls back to 300 s when no connect time-out is set; ours is the no-progress timer.
constexpr long kForeverMs = 365L * 24 * 3600 * 1000;

void ensureCurlGlobal()
{
    struct Global
    {
        Global() { curl_global_init(CURL_GLOBAL_DEFAULT); }
        ~Global() { curl_global_cleanup(); }
    };
    static Global global;
}

std::string durationText(long ms)
{
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

enum class EventType { HostResolved, Connected, PacketSent, PacketReceived };

struct Event
{
    EventType type;
    std::uint64_t count = 0;
    std::uint64_t total = 0;
};

} // namespace

// One try at one URL: the easy handle, what its callbacks collect, and the events they raise.
// Callbacks only queue events; they reach the listener between polls, so a listener can never
// run (or throw) inside libcurl.
class HttpClient::Attempt
{
public:
    enum class Stop { None, Aborted, TimedOut };

    Attempt(CURLM* multi, const HttpClientConfig& config, const HttpRequest& request, const std::string& url)
        : m_multi(multi)
        , m_easy(curl_easy_init())
        , m_assembler(config.maxBodyBytes, request.body)
        , m_url(url)
    {
        if (!m_easy)
            throw TransferError(Kind::Broken, "The network library could not start a transfer");
        const ProxySettings& proxy = config.proxy;
        m_lookupHost = proxy.enabled ? proxy.host : urlHost(url);
        for (const std::string& line : programHeaderLines())
            m_headers = curl_slist_append(m_headers, line.c_str());
        for (const std::string& line : request.headerLines)
            m_headers = curl_slist_append(m_headers, line.c_str());
        for (const std::string& line : proxyHeaderLines(proxy))
            m_proxyHeaders = curl_slist_append(m_proxyHeaders, line.c_str());
        configure(config);
    }

    ~Attempt()
    {
        if (m_added)
            curl_multi_remove_handle(m_multi, m_easy);
        curl_easy_cleanup(m_easy);
        curl_slist_free_all(m_headers);
        curl_slist_free_all(m_proxyHeaders);
    }

    Attempt(const Attempt&) = delete;
    Attempt& operator=(const Attempt&) = delete;

    void start()
    {
        m_lastProgress = Clock::now();
        if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
            throw TransferError(Kind::Broken, "The network library could not start a transfer");
        m_added = true;
    }

    // Takes the handle out of the multi stack; a transfer still running ends there.
    void finish(Stop stop)
    {
        m_stop = stop;
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(m_multi, &left)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == m_easy) {
                m_result = msg->data.result;
                m_done = true;
            }
        }
        curl_multi_remove_handle(m_multi, m_easy);
        m_added = false;
    }

    void flush(HttpListener& listener)
    {
        std::vector<Event> events;
        events.swap(m_events);
        for (const Event& e : events) {
            switch (e.type) {
            case EventType::HostResolved:
                listener.hostResolved();
                break;
            case EventType::Connected:
                listener.connected();
                break;
            case EventType::PacketSent:
                listener.packetSent(e.count, e.total);
                break;
            case EventType::PacketReceived:
                listener.packetReceived(e.count, e.total);
                break;
            }
        }
    }

    bool stalledFor(long ms) const { return Clock::now() - m_lastProgress >= std::chrono::milliseconds(ms); }
    Stop stop() const { return m_stop; }
    bool done() const { return m_done; }
    CURLcode result() const { return m_result; }
    bool connected() const { return m_connected; }
    bool tooLarge() const { return m_tooLarge; }
    const ReplyAssembler& assembler() const { return m_assembler; }
    const std::string& url() const { return m_url; }
    const std::string& lookupHost() const { return m_lookupHost; }

    long status() const
    {
        long code = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    // Where the last redirect pointed, as libcurl read it.
    std::string redirectTarget() const
    {
        char* target = nullptr;
        curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_URL, &target);
        if (!target)
            curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &target);
        return target ? target : "";
    }

    std::string detail() const
    {
        return m_errorBuffer[0] ? std::string(m_errorBuffer) : std::string(curl_easy_strerror(m_result));
    }

private:
    void configure(const HttpClientConfig& config)
    {
        const ProxySettings& proxy = config.proxy;
        curl_easy_setopt(m_easy, CURLOPT_URL, m_url.c_str());
        curl_easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(m_easy, CURLOPT_HTTP_VERSION,
                         static_cast<long>(config.version == HttpVersion::Http11 ? CURL_HTTP_VERSION_1_1
                                                                                 : CURL_HTTP_VERSION_1_0));
        if (config.acceptGzip)
            curl_easy_setopt(m_easy, CURLOPT_ACCEPT_ENCODING, "gzip");
        curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, kMaxRedirects);
        curl_easy_setopt(m_easy, CURLOPT_FORBID_REUSE, 1L); // one connection per request, as HTTP/1.0 has it
        curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
        // An abort or time-out during a slow name lookup must not wait for the lookup thread.
        curl_easy_setopt(m_easy, CURLOPT_QUICK_EXIT, 1L);
        curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, kForeverMs);
        curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorBuffer);
        if (!config.userAgent.empty())
            curl_easy_setopt(m_easy, CURLOPT_USERAGENT, config.userAgent.c_str());
        // Separate lists: the server's lines never go to a CONNECT, the proxy's never into a
        // tunnel; a plain request through the proxy gets the server's, then the proxy's.
        curl_easy_setopt(m_easy, CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));
        curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
        curl_easy_setopt(m_easy, CURLOPT_PROXYHEADER, m_proxyHeaders);

        // Only the program's proxy setting counts: no http_proxy or no_proxy from the
        // environment, and no credentials of libcurl's own (the program sends its line).
        curl_easy_setopt(m_easy, CURLOPT_PROXY, proxy.enabled ? proxy.host.c_str() : "");
        curl_easy_setopt(m_easy, CURLOPT_NOPROXY, "");
        curl_easy_setopt(m_easy, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
        curl_easy_setopt(m_easy, CURLOPT_PROXYAUTH, static_cast<unsigned long>(CURLAUTH_NONE));
        if (proxy.enabled && proxy.port > 0)
            curl_easy_setopt(m_easy, CURLOPT_PROXYPORT, proxy.port);
        curl_easy_setopt(m_easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

        curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &Attempt::onHeader);
        curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &Attempt::onBody);
        curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(m_easy, CURLOPT_OPENSOCKETFUNCTION, &Attempt::onOpenSocket);
        curl_easy_setopt(m_easy, CURLOPT_OPENSOCKETDATA, this);
        curl_easy_setopt(m_easy, CURLOPT_PREREQFUNCTION, &Attempt::onConnected);
        curl_easy_setopt(m_easy, CURLOPT_PREREQDATA, this);
        // The debug stream is the one place libcurl shows the request bytes it sends.
        curl_easy_setopt(m_easy, CURLOPT_DEBUGFUNCTION, &Attempt::onDebug);
        curl_easy_setopt(m_easy, CURLOPT_DEBUGDATA, this);
        curl_easy_setopt(m_easy, CURLOPT_VERBOSE, 1L);
    }

    void progressed() { m_lastProgress = Clock::now(); }

    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* a = static_cast<Attempt*>(self);
        a->progressed();
        a->m_assembler.addHeaderLine({data, size * count});
        return a->m_assembler.sinkFailed() ? 0 : size * count;
    }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* a = static_cast<Attempt*>(self);
        a->progressed();
        if (!a->m_assembler.addBody({data, size * count})) {
            a->m_tooLarge = !a->m_assembler.sinkFailed();
            return 0; // ends the transfer with a write error
        }
        a->m_events.push_back(
            {EventType::PacketReceived, a->m_assembler.bodySize(), a->m_assembler.contentLength()});
        return size * count;
    }

    static curl_socket_t onOpenSocket(void* self, curlsocktype, curl_sockaddr* address)
    {
        auto* a = static_cast<Attempt*>(self);
        a->progressed();
        if (!a->m_resolved && hostNeedsLookup(a->m_lookupHost))
            a->m_events.push_back({EventType::HostResolved});
        a->m_resolved = true;
        return socket(address->family, address->socktype, address->protocol);
    }

    static int onConnected(void* self, char*, char*, int, int)
    {
        auto* a = static_cast<Attempt*>(self);
        a->progressed();
        if (!a->m_connected)
            a->m_events.push_back({EventType::Connected});
        a->m_connected = true;
        a->m_sent = 0;
        a->m_assembler.startRequest();
        return CURL_PREREQFUNC_OK;
    }

    static int onDebug(CURL*, curl_infotype type, char*, std::size_t size, void* self)
    {
        if (type != CURLINFO_HEADER_OUT && type != CURLINFO_DATA_OUT)
            return 0;
        auto* a = static_cast<Attempt*>(self);
        a->progressed();
        a->m_sent += size;
        a->m_events.push_back({EventType::PacketSent, a->m_sent, a->m_assembler.contentLength()});
        return 0;
    }

    CURLM* m_multi;
    CURL* m_easy;
    curl_slist* m_headers = nullptr;
    curl_slist* m_proxyHeaders = nullptr;
    ReplyAssembler m_assembler;
    std::string m_url;
    std::string m_lookupHost;
    std::vector<Event> m_events;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    Clock::time_point m_lastProgress = Clock::now();
    std::uint64_t m_sent = 0;
    CURLcode m_result = CURLE_OK;
    Stop m_stop = Stop::None;
    bool m_added = false;
    bool m_done = false;
    bool m_resolved = false;
    bool m_connected = false;
    bool m_tooLarge = false;
};

HttpClient::HttpClient(HttpClientConfig config, HttpListener& listener, std::function<void()> pump)
    : m_config(std::move(config))
    , m_listener(listener)
    , m_pump(pump ? std::move(pump) : [] {})
    , m_multi(nullptr)
{
    // A proxy switched on with no address would send the proxy password to the web server.
    if (m_config.proxy.enabled && trimmedBlanks(m_config.proxy.host).empty())
        m_config.proxy.enabled = false;
    ensureCurlGlobal();
    m_multi = curl_multi_init();
    if (!m_multi)
        throw TransferError(Kind::Broken, "The network library could not start");
}

HttpClient::~HttpClient()
{
    curl_multi_cleanup(static_cast<CURLM*>(m_multi));
}

void HttpClient::abort()
{
    if (m_busy)
        m_abortRequested = true;
}

const HttpReply& HttpClient::get(const std::string& url, const HttpRequest& request)
{
    if (m_busy)
        throw TransferError(Kind::Broken, "Another transfer is still running");
    struct BusyScope
    {
        bool& busy;
        ~BusyScope() { busy = false; }
    };
    m_busy = true;
    BusyScope scope{m_busy};
    m_abortRequested = false;

    std::string target = escapedUrl(url);
    bool hostAsked = false;
    for (;;) {
        Attempt attempt(static_cast<CURLM*>(m_multi), m_config, request, target);
        runAttempt(attempt);
        if (attempt.assembler().started()) {
            m_reply.header = attempt.assembler().header();
            m_reply.body = attempt.assembler().body();
        }

        if (attempt.stop() == Attempt::Stop::Aborted)
            fail(attempt, Kind::Aborted, "The transfer was aborted");
        if (attempt.stop() == Attempt::Stop::TimedOut)
            fail(attempt, Kind::TimedOut,
                 "The server did not answer within " + durationText(m_config.timeoutMs) + ": "
                     + attempt.url());
        if (!attempt.done())
            fail(attempt, Kind::Broken, "The network library failed: " + attempt.url());

        switch (attempt.result()) {
        case CURLE_OK: {
            const long status = attempt.status();
            if (status <= 298)
                m_listener.succeeded();
            else if (status >= 400)
                m_listener.failed();
            if (attempt.connected())
                m_listener.disconnected();
            return m_reply;
        }
        case CURLE_COULDNT_RESOLVE_HOST:
            if (!hostAsked) {
                hostAsked = true;
                const std::optional<std::string> host = m_listener.invalidHost();
                if (m_abortRequested)
                    fail(attempt, Kind::Aborted, "The transfer was aborted");
                if (host && !trimmedBlanks(*host).empty()) {
                    target = urlWithHost(target, *host);
                    continue;
                }
            }
            fail(attempt, Kind::HostNotFound, "Host not found: " + attempt.lookupHost());
        case CURLE_COULDNT_RESOLVE_PROXY:
            fail(attempt, Kind::HostNotFound, "Proxy server not found: " + attempt.lookupHost());
        case CURLE_COULDNT_CONNECT:
            m_listener.connectionFailed();
            fail(attempt, Kind::ConnectionFailed, "Connection failed: " + attempt.detail());
        case CURLE_OPERATION_TIMEDOUT:
            fail(attempt, Kind::TimedOut, "Timed out: " + attempt.detail());
        case CURLE_UNSUPPORTED_PROTOCOL: {
            const std::string redirect = attempt.redirectTarget();
            fail(attempt, Kind::Broken,
                 redirect.empty() || redirect == attempt.url()
                     ? "Only http and https addresses can be fetched: " + attempt.url()
                     : "A redirect to " + redirect + " was not followed: only http and https addresses are");
        }
        default:
            if (attempt.assembler().sinkFailed())
                fail(attempt, Kind::Broken, "The download could not be written: " + request.body->failure());
            if (attempt.tooLarge())
                fail(attempt, Kind::TooLarge,
                     "The reply is larger than " + std::to_string(m_config.maxBodyBytes)
                         + " bytes: " + attempt.url());
            fail(attempt, Kind::Broken, "The transfer failed: " + attempt.detail());
        }
    }
}

void HttpClient::runAttempt(Attempt& attempt)
{
    auto* multi = static_cast<CURLM*>(m_multi);
    attempt.start();
    for (;;) {
        int running = 0;
        const CURLMcode code = curl_multi_perform(multi, &running);
        attempt.flush(m_listener);
        if (code != CURLM_OK || running == 0)
            return attempt.finish(Attempt::Stop::None);
        if (m_abortRequested)
            return attempt.finish(Attempt::Stop::Aborted);
        if (m_config.timeoutMs > 0 && attempt.stalledFor(m_config.timeoutMs))
            return attempt.finish(Attempt::Stop::TimedOut);
        m_pump();
        if (m_abortRequested)
            return attempt.finish(Attempt::Stop::Aborted);
        curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
    }
}

void HttpClient::fail(const Attempt& attempt, TransferError::Kind kind, const std::string& message)
{
    if (attempt.connected())
        m_listener.disconnected();
    throw TransferError(kind, message);
}

} // namespace brevio::net

#pragma once

#include "core/net/http_listener.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brevio {

namespace net {
class HttpClient;
struct ProxySettings;
} // namespace net
class PageHost;

// The window's side of every transfer: it makes the one current client with the settings
// page's values, tells the client's events as status texts, asks for a new host, and aborts.
// While a client is current no second one can be made, so no second transfer starts from a
// control that the pump lets through.
class HttpSession : public QObject, public net::HttpListener
{
    Q_OBJECT

public:
    explicit HttpSession(PageHost& host);
    ~HttpSession() override;

    // A new client with the settings page's proxy and time-out, made the current one. Throws
    // ConvertError for a proxy port that is not a whole number (before any request) and
    // brevio::Error while another client is still in use.
    net::HttpClient& createClient();
    void releaseClient();
    // The proxy as the settings page has it now. Throws ConvertError for a port that is not
    // a whole number.
    net::ProxySettings proxy() const;
    bool busy() const { return m_client != nullptr; }
    // Closing the window during a transfer: abort it and close the window when it is released.
    void closeWhenDone();

    // Makes the schedule server's base URL from the settings the current one.
    void loadServerUrl();
    const std::string& serverUrl() const { return m_serverUrl; }

    // Cancels the transfer in progress and sets the abort flag.
    void abortTransfer();
    bool abortFlag() const { return m_abortFlag; }
    void clearAbortFlag() { m_abortFlag = false; }

    // Appends the failed reply to error.dat.
    static void logHttpError(std::string_view header, std::string_view body);

    // The client's events: they become status texts; a failed connection is said in a box,
    // and an unknown host may be replaced by one the user types.
    void hostResolved() override;
    void connected() override;
    void disconnected() override;
    void packetSent(std::uint64_t sent, std::uint64_t total) override;
    void packetReceived(std::uint64_t received, std::uint64_t total) override;
    void succeeded() override;
    void failed() override;
    void connectionFailed() override;
    std::optional<std::string> invalidHost() override;

    // "Brevio (<site host>)", sent as the User-Agent.
    static std::string identification();

Q_SIGNALS:
    // The progress of a transfer, for every status line.
    void statusChanged(const QString& text);
    // How the last reply ended ("Get Succeeded", "Get Failed"), for the retrieval page's line.
    void replyEnded(const QString& text);
    // A connection is up (true) or over (false).
    void connectionChanged(bool connected);

private:
    QString progressText(std::uint64_t count, std::uint64_t total) const;

    PageHost& m_host;
    std::unique_ptr<net::HttpClient> m_client;
    std::string m_serverUrl;
    bool m_abortFlag = false;
    bool m_closePending = false;
};

// The current client of one operation, released when the operation ends however it ends.
class ClientScope
{
public:
    explicit ClientScope(HttpSession& session);
    ~ClientScope();
    ClientScope(const ClientScope&) = delete;
    ClientScope& operator=(const ClientScope&) = delete;

    net::HttpClient& client() const { return m_client; }

private:
    HttpSession& m_session;
    net::HttpClient& m_client;
};

} // namespace brevio

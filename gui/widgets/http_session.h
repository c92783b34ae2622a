#pragma once

#include "core/net/http_listener.h"

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
class TBrevioForm;

// The window's side of every transfer: it makes the one current client from the settings
// page, shows the client's events on both status lines and the retrieval page's buttons,
// asks for a new host, and aborts. While a client is current no second one can be made, so
// no second transfer starts from a control that the pump lets through.
class HttpSession : public net::HttpListener
{
public:
    explicit HttpSession(TBrevioForm& form);
    ~HttpSession() override;

    // A new client from the settings page, made the current one. Throws ConvertError for a
    // proxy port that is not a whole number (before any request) and brevio::Error while
    // another client is still in use.
    net::HttpClient& CreateHttpClient();
    void releaseClient();
    // The proxy as the settings page has it now. Throws ConvertError for a port that is not
    // a whole number.
    net::ProxySettings proxy() const;
    bool busy() const { return m_client != nullptr; }
    // Closing the window during a transfer: abort it and close the window when it is released.
    void closeWhenDone();

    // Makes the schedule server's base URL from the settings the current one.
    void SetServerUrl();
    const std::string& serverUrl() const { return m_serverUrl; }

    // "Прервать сеанс связи": cancels the transfer in progress and sets the abort flag.
    void FlatSpeedButton27Click();
    bool abortFlag() const { return m_abortFlag; }
    void clearAbortFlag() { m_abortFlag = false; }

    // Appends the failed reply to error.dat.
    static void LogHttpError(std::string_view header, std::string_view body);

    // The client's events.
    void NMHTTP1HostResolved();
    void NMHTTP1Connect();
    void NMHTTP1Disconnect();
    void NMHTTP1PacketSent(std::uint64_t sent, std::uint64_t total);
    void NMHTTP1PacketRecvd(std::uint64_t received, std::uint64_t total);
    void NMHTTP1Success();
    void NMHTTP1Failure();
    void NMHTTP1ConnectionFailed();
    std::optional<std::string> NMHTTP1InvalidHost();

    // "Brevio (<site host>)", sent as the User-Agent.
    static std::string identification();

private:
    void hostResolved() override { NMHTTP1HostResolved(); }
    void connected() override { NMHTTP1Connect(); }
    void disconnected() override { NMHTTP1Disconnect(); }
    void packetSent(std::uint64_t sent, std::uint64_t total) override { NMHTTP1PacketSent(sent, total); }
    void packetReceived(std::uint64_t received, std::uint64_t total) override
    {
        NMHTTP1PacketRecvd(received, total);
    }
    void succeeded() override { NMHTTP1Success(); }
    void failed() override { NMHTTP1Failure(); }
    void connectionFailed() override { NMHTTP1ConnectionFailed(); }
    std::optional<std::string> invalidHost() override { return NMHTTP1InvalidHost(); }

    // Both status lines: the retrieval page's and the news page's.
    void showStatus(const QString& text);
    QString progressText(std::uint64_t count, std::uint64_t total) const;

    TBrevioForm& m_form;
    std::unique_ptr<net::HttpClient> m_client;
    std::string m_serverUrl;
    bool m_abortFlag = false;
    bool m_closePending = false;
};

// The current client of one operation, released when the operation ends however it ends.
class ClientScope
{
public:
    explicit ClientScope(TBrevioForm& form);
    ~ClientScope();
    ClientScope(const ClientScope&) = delete;
    ClientScope& operator=(const ClientScope&) = delete;

    net::HttpClient& client() const { return m_client; }

private:
    HttpSession& m_session;
    net::HttpClient& m_client;
};

} // namespace brevio

#include "gui/widgets/http_session.h"

#include "core/net/http_client.h"
#include "core/store/error_log.h"
#include "core/store/errors.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace brevio {

namespace {
// The product's web site, named in the identification text.
constexpr std::string_view kSiteHost = "www.brevio.example";
} // namespace

HttpSession::HttpSession(PageHost& host)
    : m_host(host)
{
}

HttpSession::~HttpSession() = default;

std::string HttpSession::identification()
{
    return "Brevio (" + std::string(kSiteHost) + ")";
}

net::HttpClient& HttpSession::createClient()
{
    if (m_client)
        throw Error("Another transfer is still running; wait for it to end or abort it.");
    net::HttpClientConfig config;
    config.userAgent = identification();
    config.timeoutMs = static_cast<long>(m_host.transferTimeoutSeconds()) * 1000;
    config.proxy = proxy();
    // Between polls the window handles its events, so it repaints and the abort button works.
    m_client = std::make_unique<net::HttpClient>(
        std::move(config), *this, [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    return *m_client;
}

net::ProxySettings HttpSession::proxy() const
{
    return m_host.proxy();
}

void HttpSession::releaseClient()
{
    m_client.reset();
    if (m_closePending) {
        m_closePending = false;
        // After the step's handler has returned, not from inside it.
        QTimer::singleShot(0, m_host.window(), [window = m_host.window()] { window->close(); });
    }
}

void HttpSession::closeWhenDone()
{
    m_closePending = true;
    abortTransfer();
}

void HttpSession::loadServerUrl()
{
    m_serverUrl = toData(serverBaseUrl(m_host.settings()));
}

void HttpSession::abortTransfer()
{
    if (m_client)
        m_client->abort();
    m_abortFlag = true;
}

void HttpSession::logHttpError(std::string_view header, std::string_view body)
{
    store::appendErrorLog(header, body);
}

QString HttpSession::progressText(std::uint64_t count, std::uint64_t total) const
{
    return QString::number(count) + m_host.text(TextId::ProgressOf) + QString::number(total)
        + m_host.text(TextId::ProgressDone);
}

void HttpSession::hostResolved()
{
    Q_EMIT statusChanged(m_host.text(TextId::HostResolved));
}

void HttpSession::connected()
{
    Q_EMIT statusChanged(m_host.text(TextId::Connected));
    Q_EMIT connectionChanged(true);
}

void HttpSession::disconnected()
{
    Q_EMIT statusChanged(m_host.text(TextId::Disconnected));
    Q_EMIT connectionChanged(false);
}

void HttpSession::packetSent(std::uint64_t sent, std::uint64_t total)
{
    Q_EMIT statusChanged(progressText(sent, total));
}

void HttpSession::packetReceived(std::uint64_t received, std::uint64_t total)
{
    Q_EMIT statusChanged(progressText(received, total));
}

void HttpSession::succeeded()
{
    Q_EMIT replyEnded(QStringLiteral("Get Succeeded"));
}

void HttpSession::failed()
{
    Q_EMIT replyEnded(QStringLiteral("Get Failed"));
}

void HttpSession::connectionFailed()
{
    m_host.dialogs().message(m_host.text(TextId::ConnectionFailed));
}

std::optional<std::string> HttpSession::invalidHost()
{
    const std::optional<QString> host = m_host.dialogs().input(
        QStringLiteral("Invalid Host!"), QStringLiteral("Specify a new host:"), QString());
    if (!host)
        return std::nullopt;
    return toData(*host);
}

ClientScope::ClientScope(HttpSession& session)
    : m_session(session)
    , m_client(session.createClient())
{
}

ClientScope::~ClientScope()
{
    m_session.releaseClient();
}

} // namespace brevio

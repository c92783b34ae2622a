#include "gui/widgets/http_session.h"

#include "app/main_window.h"
#include "core/net/http_client.h"
#include "core/store/error_log.h"
#include "core/store/errors.h"
#include "core/store/int_text.h"
#include "core/texts/text_ids.h"
#include "gui/news/news_page.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/settings/settings_page.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace brevio {

namespace {
// The product's web site, named in the identification text.
constexpr std::string_view kSiteHost = "www.brevio.example";
} // namespace

HttpSession::HttpSession(MainWindow& form)
    : m_form(form)
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
    SettingsPage* page = m_form.settingsPage();
    net::HttpClientConfig config;
    config.userAgent = identification();
    config.timeoutMs = static_cast<long>(page->timeoutSeconds()->value()) * 1000;
    config.proxy = proxy();
    // Between polls the window handles its events, so it repaints and the abort button works.
    m_client = std::make_unique<net::HttpClient>(
        std::move(config), *this, [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    return *m_client;
}

net::ProxySettings HttpSession::proxy() const
{
    const SettingsPage* page = m_form.settingsPage();
    net::ProxySettings proxy;
    if (page->useProxy()->isChecked()) {
        proxy.enabled = true;
        proxy.host = toData(page->proxyHost()->text());
        proxy.port = store::strToInt(toData(page->proxyPort()->text()));
        proxy.sendCredentials = page->proxyNeedsPassword()->isChecked();
        proxy.login = toData(page->proxyLogin()->text());
        proxy.password = toData(page->proxyPassword()->text());
    }
    return proxy;
}

void HttpSession::releaseClient()
{
    m_client.reset();
    if (m_closePending) {
        m_closePending = false;
        // After the step's handler has returned, not from inside it.
        QTimer::singleShot(0, &m_form, [form = &m_form] { form->close(); });
    }
}

void HttpSession::closeWhenDone()
{
    m_closePending = true;
    abortTransfer();
}

void HttpSession::loadServerUrl()
{
    m_serverUrl = toData(serverBaseUrl(m_form.settings()));
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

void HttpSession::showStatus(const QString& text)
{
    m_form.retrievalPage()->statusLine()->setText(text);
    m_form.newsPage()->statusLine()->setText(text);
}

QString HttpSession::progressText(std::uint64_t count, std::uint64_t total) const
{
    return QString::number(count) + m_form.text(TextId::ProgressOf) + QString::number(total)
        + m_form.text(TextId::ProgressDone);
}

void HttpSession::hostResolved()
{
    showStatus(m_form.text(TextId::HostResolved));
}

void HttpSession::connected()
{
    showStatus(m_form.text(TextId::Connected));
    RetrievalPage* page = m_form.retrievalPage();
    page->abortButton()->setVisible(true);
    page->checkButton()->setVisible(false);
    page->downloadButton()->setVisible(false);
}

void HttpSession::disconnected()
{
    showStatus(m_form.text(TextId::Disconnected));
    m_form.retrievalPage()->abortButton()->setVisible(false);
}

void HttpSession::packetSent(std::uint64_t sent, std::uint64_t total)
{
    showStatus(progressText(sent, total));
}

void HttpSession::packetReceived(std::uint64_t received, std::uint64_t total)
{
    showStatus(progressText(received, total));
}

void HttpSession::succeeded()
{
    m_form.retrievalPage()->statusLine()->setText(QStringLiteral("Get Succeeded"));
}

void HttpSession::failed()
{
    m_form.retrievalPage()->statusLine()->setText(QStringLiteral("Get Failed"));
}

void HttpSession::connectionFailed()
{
    m_form.dialogs().message(m_form.text(TextId::ConnectionFailed));
}

std::optional<std::string> HttpSession::invalidHost()
{
    const std::optional<QString> host = m_form.dialogs().input(
        QStringLiteral("Invalid Host!"), QStringLiteral("Specify a new host:"), QString());
    if (!host)
        return std::nullopt;
    return toData(*host);
}

ClientScope::ClientScope(MainWindow& form)
    : m_session(form.http())
    , m_client(form.createClient())
{
}

ClientScope::~ClientScope()
{
    m_session.releaseClient();
}

} // namespace brevio

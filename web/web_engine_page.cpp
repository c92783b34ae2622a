#include "web/web_engine_page.h"

#include <QAuthenticator>
#include <QBuffer>
#include <QCoreApplication>
#include <QQuickWindow>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>

namespace brevio::web {

namespace {

const QByteArray kCopyScheme = QByteArrayLiteral("brevio-copy");

bool isWeb(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("ws") || scheme == QLatin1String("wss");
}

// Addresses that stay inside the page: an empty frame, inline data, the page's own blobs.
bool isInert(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("about") || scheme == QLatin1String("data")
        || scheme == QLatin1String("blob");
}

// Every request of every page passes here: a copy reaches nothing but itself, a web page
// nothing but the web (never a file, a copy or another program's scheme).
class RequestGuard : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl& target = info.requestUrl();
        const bool allowed
            = isInert(target) || (isCopy(info.firstPartyUrl()) ? isCopy(target) : isWeb(target));
        info.block(!allowed);
    }
};

void restrict(QWebEngineSettings* settings)
{
    using S = QWebEngineSettings;
    for (const S::WebAttribute off :
         {S::LocalContentCanAccessFileUrls, S::LocalContentCanAccessRemoteUrls, S::PluginsEnabled,
          S::PdfViewerEnabled, S::JavascriptCanOpenWindows, S::JavascriptCanAccessClipboard,
          S::JavascriptCanPaste, S::AllowWindowActivationFromJavaScript, S::FullScreenSupportEnabled,
          S::ScreenCaptureEnabled, S::AllowGeolocationOnInsecureOrigins, S::AllowRunningInsecureContent,
          S::HyperlinkAuditingEnabled, S::NavigateOnDropEnabled, S::WebGLEnabled, S::AutoLoadIconsForPage,
          S::TouchIconsEnabled})
        settings->setAttribute(off, false);
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(S::PlaybackRequiresUserGesture, true);
    settings->setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
    // The sources are Russian sites: a page that names no character set is most likely in this one.
    settings->setDefaultTextEncoding(QStringLiteral("windows-1251"));
}

} // namespace

bool isCopy(const QUrl& url)
{
    return url.scheme().toLatin1() == kCopyScheme;
}

QUrl CopyStore::replace(const QUrl& previous, const QByteArray& bytes, const QString& charset)
{
    drop(previous);
    const QString name = QString::number(++m_last);
    m_copies.insert(name, {bytes, "text/html;charset=" + charset.toLatin1()});
    return QUrl(QString::fromLatin1(kCopyScheme) + QLatin1Char(':') + name);
}

void CopyStore::requestStarted(QWebEngineUrlRequestJob* job)
{
    const auto copy = m_copies.constFind(job->requestUrl().path());
    if (copy == m_copies.cend()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* body = new QBuffer(job);
    body->setData(copy->bytes);
    job->reply(copy->contentType, body);
}

Engine& engine()
{
    static Engine made = [] {
        // Pages are drawn in software: no GPU process, the same pictures on every machine
        // and display, and news pages need no more.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        QWebEngineUrlScheme scheme(kCopyScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        QWebEngineUrlScheme::registerScheme(scheme);
        // The engine is loaded long after the application started, so its GL set-up is done now.
        QtWebEngineQuick::initialize();

        auto* profile = new QWebEngineProfile(QStringLiteral("brevio"), QCoreApplication::instance());
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setSpellCheckEnabled(false);
        restrict(profile->settings());
        profile->setUrlRequestInterceptor(new RequestGuard(profile));
        auto* copies = new CopyStore(profile);
        profile->installUrlSchemeHandler(kCopyScheme, copies);
        QObject::connect(
            profile, &QWebEngineProfile::downloadRequested, profile, [](QWebEngineDownloadRequest* download) {
                download->cancel();
                if (auto* page = qobject_cast<GuardedPage*>(download->page()); page && page->refused)
                    page->refused();
            });
        return Engine{profile, copies};
    }();
    return made;
}

GuardedPage::GuardedPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    // No window of its own: a link the user opens "in a new window" opens here; a window a
    // script asks for is not made.
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated() && isWeb(request.requestedUrl()) && !isCopy(url()))
            setUrl(request.requestedUrl());
    });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl&, QAuthenticator* authenticator, const QString&) {
                // Asked again after an answer: the login is wrong, and the load fails.
                if (!m_loginGiven || m_loginUsed)
                    return;
                m_loginUsed = true;
                authenticator->setUser(m_login);
                authenticator->setPassword(m_password);
            });
}

void GuardedPage::setProxyLogin(bool given, const QString& login, const QString& password)
{
    m_loginGiven = given;
    m_loginUsed = false;
    m_login = login;
    m_password = password;
}

bool GuardedPage::acceptNavigationRequest(const QUrl& target, NavigationType type, bool isMainFrame)
{
    // Only the program opens a copy or leaves one; a link or script in a copy goes nowhere.
    const bool byProgram = type == NavigationTypeTyped && isMainFrame;
    if (isCopy(target))
        return byProgram;
    if (isInert(target))
        return true;
    if (!isWeb(target))
        return false;
    return byProgram || !isCopy(url());
}

} // namespace brevio::web

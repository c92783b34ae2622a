#pragma once

#include <QHash>
#include <QWebEnginePage>
#include <QWebEngineUrlSchemeHandler>

#include <functional>

class QWebEngineProfile;

// The web engine's side of the browser panel, behind the rule that nothing a page runs
// reaches the machine: no files, no plug-ins, no pop-up windows, no downloads, no boxes of
// its own, no permissions; and a saved copy shown offline fetches nothing at all.
//
// Every request passes RequestGuard: a web page reaches only http(s)/ws(s) (and its own
// data/blob), never file:; a saved copy reaches nothing but itself. GuardedPage keeps links in
// the panel (a user's "new window" link opens in it, a script's window is not made), refuses
// navigation to other schemes, answers every permission, full-screen, protocol-handler and
// file-system request with no, shows no boxes and offers no files to upload. Downloads are
// cancelled and the status line says so. Plug-ins, the PDF viewer, clipboard access, window
// activation, WebGL and hyperlink auditing are off. A saved copy is shown under the scheme
// brevio-copy:, served from memory: its scripts run, but nothing it names is fetched and no
// link leaves it. The engine takes the settings page's proxy at each load
// (QNetworkProxy::setApplicationProxy; a change rebuilds its network side so that the very
// next request uses it) and answers the proxy's challenge once with the login. Pages are drawn
// in software (Qt Quick's software back end); the profile "brevio" keeps its cache and cookies
// under $XDG_CACHE_HOME/Morvane/brevio and $XDG_DATA_HOME/Morvane/brevio. As root the
// sandbox is turned off for this process (one line on standard error).
namespace brevio::web {

// Saved copies are served under a scheme of their own, so a copy has an origin that no web
// request may leave and that no web page may read.
bool isCopy(const QUrl& url);

// The copies the views show, by address.
class CopyStore : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    // Keeps `bytes` (a page in `charset`) in place of `previous`; returns its address.
    QUrl replace(const QUrl& previous, const QByteArray& bytes, const QString& charset);
    void drop(const QUrl& address) { m_copies.remove(address.path()); }

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    struct Copy
    {
        QByteArray bytes;
        QByteArray contentType;
    };
    QHash<QString, Copy> m_copies;
    int m_last = 0;
};

// The one profile of the program's pages, made on first use. What it stores (cache, cookies)
// goes to the user's cache and data folders for the program: QtWebEngine/brevio under
// $XDG_CACHE_HOME/Morvane/brevio and $XDG_DATA_HOME/Morvane/brevio.
struct Engine
{
    QWebEngineProfile* profile;
    CopyStore* copies;
};
Engine& engine();

// A page of the panel: links stay in it, everything else a page may ask for is refused.
class GuardedPage : public QWebEnginePage
{
    Q_OBJECT

public:
    GuardedPage(QWebEngineProfile* profile, QObject* parent);

    // Called when the page asked for something that was refused and the user should know.
    std::function<void()> refused;
    // The login for the proxy's challenge during the next load; none: the challenge fails.
    void setProxyLogin(bool given, const QString& login, const QString& password);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
    void javaScriptAlert(const QUrl&, const QString&) override { }
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

private:
    bool m_loginGiven = false;
    bool m_loginUsed = false;
    QString m_login;
    QString m_password;
};

} // namespace brevio::web

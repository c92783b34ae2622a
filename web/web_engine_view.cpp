// The browser panel's view on the web engine. Built as a module of its own and loaded by the
// program the first time a browser source is used: linking the engine into the program
// would cost every start a quarter of a second and some 80 MB, wanted or not.
#include "gui/news/browser_view.h"
#include "web/web_engine_page.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QNetworkProxy>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace brevio::web {

namespace {

class WebEngineView : public QWebEngineView, public BrowserView
{
public:
    WebEngineView(QWidget* parent, const BrowserSetup& setup)
        : QWebEngineView(parent)
        , m_engine(engine())
        , m_page(new GuardedPage(m_engine.profile, this))
    {
        m_page->refused = setup.refused;
        setPage(m_page);
        connect(this, &QWebEngineView::loadStarted, this, [this] { m_loading = true; });
        connect(this, &QWebEngineView::loadFinished, this, [this] { m_loading = false; });
    }

    ~WebEngineView() override { m_engine.copies->drop(m_copy); }

    QWidget* widget() override { return this; }

    void navigate(const BrowserPage& page, const BrowserProxy& proxy) override
    {
        // Every load takes the proxy as the settings page has it now, as the program's own
        // transfers do; without one the engine goes direct, whatever the environment says.
        // The engine reads a changed proxy only for the request after next, unless its network
        // side is rebuilt, which a change of the cache's size does.
        const QNetworkProxy wanted = proxy.enabled
            ? QNetworkProxy(QNetworkProxy::HttpProxy, proxy.host, proxy.port)
            : QNetworkProxy(QNetworkProxy::NoProxy);
        if (wanted != QNetworkProxy::applicationProxy()) {
            QNetworkProxy::setApplicationProxy(wanted);
            QWebEngineProfile* profile = m_engine.profile;
            profile->setHttpCacheMaximumSize(profile->httpCacheMaximumSize() == 0 ? 64 << 20 : 0);
        }
        m_page->setProxyLogin(proxy.enabled && proxy.needsLogin, proxy.login, proxy.password);
        m_loading = true;
        load(QUrl(page.address));
    }

    void showCopy(const BrowserPage& copy) override
    {
        m_copy = m_engine.copies->replace(m_copy, copy.bytes, copy.charset);
        m_loading = true;
        load(m_copy);
    }

    bool loading() const override { return m_loading; }

    void readText(std::function<void(const QString&)> done) override { m_page->toPlainText(std::move(done)); }

protected:
    // Moving about and copying text; nothing that saves, opens windows or shows the source.
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        for (const QWebEnginePage::WebAction action :
             {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload, QWebEnginePage::Copy})
            menu.addAction(pageAction(action));
        menu.exec(event->globalPos());
    }

private:
    Engine& m_engine;
    GuardedPage* m_page;
    QUrl m_copy;
    bool m_loading = false;
};

} // namespace

} // namespace brevio::web

extern "C" Q_DECL_EXPORT brevio::BrowserView* brevioCreateWebView(QWidget* parent,
                                                                  const brevio::BrowserSetup& setup)
{
    return new brevio::web::WebEngineView(parent, setup);
}

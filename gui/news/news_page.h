#pragma once

#include "gui/news/browser_view.h"

#include <QFrame>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QTextEdit;
class QToolButton;

namespace brevio {

class PageHost;
namespace news {
struct NewsSource;
struct SourceContext;
} // namespace news

// The news page: mode switch, source buttons, the news pane and the browser panel. Every
// source button runs one frame: in "Загрузка" fetch, turn the reply into lines and save them;
// in "Просмотр" show the saved copy.
class NewsPage : public QFrame
{
    Q_OBJECT

public:
    NewsPage(PageHost& host, QWidget* parent);
    ~NewsPage() override;

    // Opening the page: the source buttons take their configured names, the pane and the
    // browser panel end 5 pixels before the page's edges, and the browser panel is hidden.
    void pageOpened();

    // A web address in the pane was clicked: only web and mail addresses are opened.
    void openLink(const QString& address);

    // Where addresses are opened (the desktop's browser; tests record them instead).
    void setUrlOpener(std::function<void(const QString&)> opener) { m_openUrl = std::move(opener); }

    QLabel* statusLine() const { return m_status; }
    QTextEdit* newsPane() const { return m_pane; }
    QWidget* browserPanel() const { return m_browserPanel; }
    // The browser panel's view, made on first use; browserMade() tells whether it was.
    BrowserView& browser();
    bool browserMade() const { return m_browser != nullptr; }

private:
    void runSource(const news::NewsSource& source);
    void fetch(const news::NewsSource& source);
    void view(const news::NewsSource& source);
    // After a fetch that brought no news: the source's saved copy, or an empty pane without one.
    void showSavedCopy(const news::NewsSource& source);
    // The source's name as the settings give it (its built-in caption by default).
    QString sourceName(const news::NewsSource& source) const;
    news::SourceContext contextOf(const news::NewsSource& source) const;
    // The rate request's date from the window's clock, in the system's date style.
    std::string requestDate() const;

    PageHost& m_host;
    QLabel* m_status = nullptr;
    QTextEdit* m_pane = nullptr;
    QWidget* m_browserPanel = nullptr;
    std::unique_ptr<BrowserView> m_browser;
    QToolButton* m_loadMode = nullptr;
    QToolButton* m_dummy = nullptr;
    std::function<void(const QString&)> m_openUrl;
    // Every source with its button.
    std::vector<std::pair<const news::NewsSource*, QToolButton*>> m_sourceButtons;
};

} // namespace brevio

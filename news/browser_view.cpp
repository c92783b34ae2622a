#include "news/browser_view.h"

#include <QUrl>

namespace brevio {

BrowserView::BrowserView(QWidget* parent, std::function<void(const QString&)> openLink)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this, openLink](const QUrl& link) { openLink(QUrl(m_address).resolved(link).toString()); });
}

void BrowserView::showPage(const QString& address, const QString& html)
{
    m_address = address;
    setHtml(html);
}

QVariant BrowserView::loadResource(int, const QUrl&)
{
    return {};
}

} // namespace brevio

#include "gui/news/text_browser_view.h"

#include "core/news/news_lines.h"
#include "gui/news/browser_pages.h"

#include <QUrl>

namespace brevio {

TextBrowserView::TextBrowserView(QWidget* parent, std::function<void(const QString&)> openLink)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this, openLink](const QUrl& link) { openLink(QUrl(m_address).resolved(link).toString()); });
}

void TextBrowserView::navigate(const BrowserPage& page, const BrowserProxy&)
{
    show(page);
}

void TextBrowserView::showCopy(const BrowserPage& copy)
{
    show(copy);
}

void TextBrowserView::show(const BrowserPage& page)
{
    m_address = page.address;
    // A page of megabytes would take seconds to lay out: the panel shows its beginning.
    const std::string html = news::browserPage(std::string_view(page.bytes.constData(), page.bytes.size()));
    setHtml(decodePage(QByteArray::fromStdString(html), page.charset));
}

QVariant TextBrowserView::loadResource(int, const QUrl&)
{
    return {};
}

} // namespace brevio

#pragma once

#include <QTextBrowser>

#include <functional>

namespace brevio {

// The browser panel's view. This build has no web engine: the page's HTML as fetched is shown
// by a text browser, which never loads anything itself (no images, style sheets or local
// files named by the page); a clicked link is handed to `openLink`, resolved against the page.
class BrowserView : public QTextBrowser
{
    Q_OBJECT

public:
    BrowserView(QWidget* parent, std::function<void(const QString&)> openLink);

    // Shows a fetched page; `address` is where it came from.
    void showPage(const QString& address, const QString& html);
    const QString& address() const { return m_address; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString m_address;
};

} // namespace brevio

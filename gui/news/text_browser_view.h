#pragma once

#include "gui/news/browser_view.h"

#include <QTextBrowser>

namespace brevio {

// The browser panel's view where the web engine is missing: a text browser shows the page
// as fetched, read in its character set. It loads nothing by itself (no images, style
// sheets or files the page names); a clicked link goes to the desktop's browser, resolved
// against the page.
class TextBrowserView : public QTextBrowser, public BrowserView
{
    Q_OBJECT

public:
    TextBrowserView(QWidget* parent, std::function<void(const QString&)> openLink);

    QWidget* widget() override { return this; }
    void navigate(const BrowserPage& page, const BrowserProxy& proxy) override;
    void showCopy(const BrowserPage& copy) override;
    bool loading() const override { return false; }
    void readText(std::function<void(const QString&)> done) override { done(toPlainText()); }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void show(const BrowserPage& page);

    QString m_address;
};

} // namespace brevio

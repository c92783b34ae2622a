#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

// The browser panel's view as the news page uses it, whichever engine shows the
// pages. The web engine lives in a module of its own that is loaded on first use, so this
// header is all the two sides share: Qt types only, nothing of the program's libraries.
namespace brevio {

// A page to show: where it is, its bytes as the program has them, and their character set.
struct BrowserPage
{
    QString address;
    QByteArray bytes;
    QString charset;
};

// The proxy of the settings page at the moment of a fetch.
struct BrowserProxy
{
    bool enabled = false;
    QString host;
    quint16 port = 0;
    bool needsLogin = false; // answer the proxy's challenge with the login below
    QString login;
    QString password;
};

// What the owner gives the view.
struct BrowserSetup
{
    // A link the view cannot follow itself, for the desktop's browser.
    std::function<void(const QString&)> openLink;
    // The page asked for something that was refused (a download): says so to the user.
    std::function<void()> refused;
};

class BrowserView
{
public:
    virtual ~BrowserView() = default;

    virtual QWidget* widget() = 0;
    // Shows the page fetched from `page.address`. The web engine fetches it again itself,
    // through `proxy`, with its images and scripts; the text browser shows `page.bytes`.
    virtual void navigate(const BrowserPage& page, const BrowserProxy& proxy) = 0;
    // Shows a saved copy without going online: nothing it names is fetched.
    virtual void showCopy(const BrowserPage& copy) = 0;

    // Whether a page is still loading, and the text of the page shown (handed over once
    // the view has it).
    virtual bool loading() const = 0;
    virtual void readText(std::function<void(const QString&)> done) = 0;
};

} // namespace brevio

// The browser sources on the web engine, in a real window against loopback servers: the engine
// is loaded only when a page is shown; each source shows its page with image, script and
// Cyrillic in load mode and its saved copy offline in view mode; a hostile page reaches
// nothing outside the program's own folders; links stay in the panel; the proxy and its
// login are used. And the text browser that stands in where the engine is missing.
#include "core/news/news_sources.h"
#include "core/news/rtf.h"
#include "core/news/web_page.h"
#include "gui/news/browser_pages.h"
#include "gui/news/browser_view.h"
#include "gui/news/news_page.h"
#include "gui/news/text_browser_view.h"
#include "gui/settings/settings_page.h"
#include "gui/widgets/qt_text.h"
#include "support/core/temp_dir.h"
#include "support/ui/news_fixture.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

using namespace brevio;
using namespace brevio::test;

namespace {

// Everything the process may write lives below one folder: home, XDG folders, temp folder.
TempDir* g_root = nullptr;

const QString kHeadline = QStringLiteral("Новости дня");
const QString kScriptText = QStringLiteral("Скрипт: 3");

std::set<std::string> listing()
{
    std::set<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(g_root->path()))
        paths.insert(std::filesystem::relative(entry.path(), g_root->path()).string());
    return paths;
}

// What appeared since `before`, outside the program's own folders for the web engine and the
// working folder's saved-news files.
QStringList strayPaths(const std::set<std::string>& before)
{
    QStringList stray;
    for (const std::string& path : listing()) {
        const bool own = path.starts_with("cache/Morvane/brevio") || path.starts_with("data/Morvane/brevio")
            || path == "cache/Morvane" || path == "data/Morvane" || path.ends_with(".nws");
        if (!before.count(path) && !own)
            stray << QString::fromStdString(path);
    }
    return stray;
}

bool engineLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

std::string redPicture()
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toStdString();
}

FixtureReply html(const std::string& body, const std::string& contentType = "text/html")
{
    FixtureReply reply = FixtureReply::ok(body);
    reply.headers = {"Content-Type: " + contentType};
    return reply;
}

// The page a source serves: a picture at the top left, a headline, a script that writes into
// the page and a picture from an absolute address, in `charset`.
std::string sourcePage(const QString& charset, const QString& meta, const std::string& server)
{
    const QString page
        = QStringLiteral("<html><head>%1<style>body{margin:0} img{display:block}</style></head><body>"
                         "<img src=\"/pic.png\" width=60 height=60><h1>%2</h1><p id=s></p>"
                         "<script>document.getElementById('s').textContent = 'Скрипт: ' + (1 + 2);</script>"
                         "<img src=\"%3abs.png\"></body></html>")
              .arg(meta, kHeadline, QString::fromStdString(server));
    QStringEncoder encode(charset.toLatin1().constData());
    return QByteArray(encode(page)).toStdString();
}

// Waits in a real event loop: the engine's side of the window runs its tasks from it, and
// the sleeps between QTest's polls would stretch a page load to seconds.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(20);
    if (!done())
        loop.exec();
    return done();
}

QString textOf(BrowserView& view)
{
    QString text;
    bool ready = false;
    view.readText([&](const QString& shown) {
        text = shown;
        ready = true;
    });
    if (!waitUntil([&] { return ready; }, 10000))
        qWarning("the page's text did not come");
    return text;
}

bool waitForPage(BrowserView& view)
{
    return waitUntil([&] { return !view.loading(); });
}

bool waitForText(BrowserView& view, const QString& part)
{
    return waitUntil([&] { return textOf(view).contains(part); }, 15000);
}

QRgb pixel(BrowserView& view, QPoint at)
{
    return view.widget()->grab().toImage().pixel(at);
}

bool isRed(QRgb colour)
{
    return qRed(colour) > 200 && qGreen(colour) < 60 && qBlue(colour) < 60;
}

} // namespace

// Builds without the engine show pages in the text browser: only its test applies.
#ifdef BREVIO_WEBENGINE
#define REQUIRE_ENGINE()
#else
#define REQUIRE_ENGINE() QSKIP("this build shows pages in the text browser")
#endif

class NewsBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Runs first: the process has not loaded the engine before.
    void theEngineIsLoadedOnlyWhenABrowserSourceShowsAPage()
    {
        REQUIRE_ENGINE();
        NewsFixture n;
        n.server.addRoute("/news/newstv.php", html("<p>TV news</p>"));
        n.server.addRoute("/pages/express.shtml", FixtureReply::status("HTTP/1.0 404 Not Found"));
        NewsPage& page = n.start(true);
        const std::set<std::string> before = listing();
        // Text sources and a browser source without a saved copy make no browser.
        n.fixture.write("kurs_nbu.nws", news::linesToRtf({"rates"}));
        n.click("FlatSpeedButton39");
        n.click("FlatSpeedButton53");
        QCOMPARE(n.fixture.dialogs.messages.size(), 1);
        QVERIFY(!page.browserMade());
        QVERIFY(!engineLoaded());

        n.setLoadMode(true);
        n.click("FlatSpeedButton53");
        QVERIFY(engineLoaded());
        QVERIFY(page.browserPanel()->isVisibleTo(&page));
        QVERIFY(!page.newsPane()->isVisibleTo(&page));
        BrowserView& view = page.browser();
        QCOMPARE(view.widget()->objectName(), QStringLiteral("WebBrowser3"));
        QVERIFY(waitForPage(view));
        QVERIFY(textOf(view).contains(QStringLiteral("TV news")));
        QCOMPARE(n.server.requests().size(), size_t(2)); // the program's fetch, then the engine's

        // A failed fetch leaves the browser on its page; opening the page hides the panel.
        n.click("FlatSpeedButton52");
        QVERIFY(waitForPage(view));
        QVERIFY(textOf(view).contains(QStringLiteral("TV news")));
        n.fixture.form().showNewsPage();
        QVERIFY(!page.browserPanel()->isVisibleTo(&page));
        const QStringList stray = strayPaths(before);
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(QStringLiteral(", "))));
        QVERIFY(std::filesystem::exists(g_root->path() / "data/Morvane/brevio/QtWebEngine/brevio"));
    }

    void eachBrowserSourceShowsItsPageOnlineAndItsCopyOffline_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<QString>("meta");
        QTest::newRow("KOI8-R named by the header") << "podrobn"
                                                    << "koi8-r"
                                                    << "text/html; charset=koi8-r"
                                                    << "";
        QTest::newRow("UTF-8 named by a meta tag") << "unl"
                                                   << "utf-8"
                                                   << "text/html"
                                                   << "<meta charset=utf-8>";
        QTest::newRow("windows-1251 named nowhere") << "rusdisn"
                                                    << "windows-1251"
                                                    << "text/html"
                                                    << "";
    }

    void eachBrowserSourceShowsItsPageOnlineAndItsCopyOffline()
    {
        REQUIRE_ENGINE();
        QFETCH(QString, stem);
        QFETCH(QString, charset);
        QFETCH(QString, contentType);
        QFETCH(QString, meta);
        const news::NewsSource& source
            = *std::find_if(news::newsSources().begin(), news::newsSources().end(),
                            [&](const news::NewsSource& s) { return s.stem == stem.toStdString(); });
        const QByteArray button = QByteArray(source.button.data(), qsizetype(source.button.size()));
        const std::string path = source.address({});
        NewsFixture n;
        const std::string page = sourcePage(charset, meta, n.server.url("/"));
        n.server.addRoute(path, html(page, contentType.toStdString()));
        n.server.addRoute("/pic.png", html(redPicture(), "image/png"));
        NewsPage& newsPage = n.start(true);
        n.setLoadMode(true);
        n.click(button.constData());
        BrowserView& view = newsPage.browser();
        QVERIFY(waitForPage(view));
        QString text = textOf(view);
        QVERIFY2(text.contains(kHeadline) && text.contains(kScriptText), qPrintable(text));
        // The picture is drawn a moment after the load has finished.
        QVERIFY(waitUntil([&] { return isRed(pixel(view, {30, 30})); }, 10000));
        QVERIFY(n.server.waitForRequests(4)); // page twice, both pictures

        // View mode: the saved copy, with its script run, and not one request.
        const size_t requests = n.server.requests().size();
        n.setLoadMode(false);
        n.click("FlatSpeedButton39"); // a text source's message in between
        n.click(button.constData());
        QVERIFY(newsPage.browserPanel()->isVisibleTo(&newsPage));
        QVERIFY(waitForPage(view));
        text = textOf(view);
        QVERIFY2(text.contains(kHeadline) && text.contains(kScriptText), qPrintable(text));
        waitUntil([] { return false; }, 200);
        QCOMPARE(n.server.requests().size(), requests);
    }

    void aHostilePageReachesNothingOutsideTheProgram()
    {
        REQUIRE_ENGINE();
        NewsFixture n;
        // Each attempt writes how it ended into the page; a leak would reach the server.
        n.server.addRoute(
            "/news/newstv.php",
            html(
                "<html><body>\n"
                "<iframe id=f src=\"file:///etc/passwd\"></iframe>\n"
                "<a id=d href=\"/file.bin\" download=\"file.bin\">get</a>\n"
                "<p id=r></p>\n"
                "<script>\n"
                "const say = (t) => document.getElementById('r').textContent += t + ';';\n"
                "const leak = (t) => fetch('/leak?' + encodeURIComponent(t));\n"
                "alert('box');\n"
                "say('popup:' + (window.open('/popup') ? 'opened' : 'refused'));\n"
                "fetch('file:///etc/passwd').then(r => r.text()).then(leak, () => say('file:refused'));\n"
                "window.onload = () => {\n"
                "  let text = '';\n"
                "  try { text = document.getElementById('f').contentDocument.body.innerText; } catch (e) {}\n"
                "  leak(text);\n"
                "  say('frame:' + (text.includes('root') ? 'read' : 'refused'));\n"
                "  document.getElementById('d').click();\n"
                "};\n"
                "</script></body></html>\n"));
        FixtureReply attachment = FixtureReply::ok("MZ binary");
        attachment.headers
            = {"Content-Type: application/octet-stream", "Content-Disposition: attachment; filename=run.exe"};
        n.server.addRoute("/file.bin", attachment);
        NewsPage& page = n.start(true);
        const std::set<std::string> before = listing();
        const int windows = QApplication::topLevelWidgets().size();
        n.setLoadMode(true);
        n.click("FlatSpeedButton53");
        BrowserView& view = page.browser();
        QVERIFY(waitForPage(view));
        QVERIFY(waitUntil(
            [&] { return page.statusLine()->text() == n.fixture.form().text(TextId::DownloadRefused); },
            15000));
        QVERIFY(waitForText(view, QStringLiteral("frame:")));
        QVERIFY(waitForText(view, QStringLiteral("file:refused")));
        const QString text = textOf(view);
        QVERIFY2(text.contains(QStringLiteral("popup:refused"))
                     && text.contains(QStringLiteral("frame:refused")),
                 qPrintable(text));
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        for (const FixtureRequest& request : n.server.requests())
            QVERIFY2(request.path != "/popup" && request.target.find("root") == std::string::npos,
                     request.target.c_str());
        const QStringList stray = strayPaths(before);
        QVERIFY2(stray.isEmpty(), qPrintable(stray.join(QStringLiteral(", "))));
    }

    void linksClickedInThePageStayInThePanel()
    {
        REQUIRE_ENGINE();
        NewsFixture n;
        n.server.addRoute(
            "/news/newstv.php",
            html("<body style=\"margin:0\"><a href=\"/second\" "
                 "style=\"display:block;width:200px;height:60px;background:#00f\">same window</a></body>"));
        n.server.addRoute("/second",
                          html("<body style=\"margin:0\"><a href=\"/third\" target=_blank "
                               "style=\"display:block;width:200px;height:60px;background:#0f0\">new "
                               "window</a><p>second page</p></body>"));
        n.server.addRoute("/third", html("<p>third page</p>"));
        NewsPage& page = n.start(true);
        QStringList opened;
        page.setUrlOpener([&](const QString& address) { opened << address; });
        const int windows = QApplication::topLevelWidgets().size();
        n.setLoadMode(true);
        n.click("FlatSpeedButton53");
        BrowserView& view = page.browser();
        QVERIFY(waitForPage(view));
        QWidget* surface = view.widget()->focusProxy();
        QVERIFY(surface);

        // A click counts once the link is on the screen.
        QVERIFY(waitUntil([&] { return pixel(view, {20, 20}) == qRgb(0, 0, 255); }, 10000));
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(waitForText(view, QStringLiteral("second page")));
        QVERIFY(waitUntil([&] { return pixel(view, {20, 20}) == qRgb(0, 255, 0); }, 10000));
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(waitForText(view, QStringLiteral("third page")));
        QVERIFY(opened.isEmpty());
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    }

    void theEngineGoesThroughTheProxyAndAnswersItsChallenge()
    {
        REQUIRE_ENGINE();
        // The loopback server plays a proxy that wants a login, and the source's host exists
        // only behind it; asked directly it serves the page itself.
        NewsFixture n;
        const std::string login = "Basic dXNlcjpzZWNyZXQ="; // user:secret
        n.server.setHandler([login](const FixtureRequest& request) {
            if (request.target.starts_with("http://") && request.header("Proxy-Authorization") != login) {
                FixtureReply challenge = FixtureReply::status("HTTP/1.1 407 Proxy Authentication Required");
                challenge.headers = {"Proxy-Authenticate: Basic realm=\"news\""};
                return challenge;
            }
            return html("<p>served to " + request.target + "</p>");
        });
        n.fixture.setSetting(QStringLiteral("Sources"), QStringLiteral("rusdisn"),
                             QStringLiteral("http://news.brevio.invalid"));
        NewsPage& page = n.start(true);
        SettingsPage& settings = *n.fixture.form().settingsPage();
        settings.useProxy()->setChecked(true);
        settings.proxyHost()->setText(QStringLiteral("127.0.0.1"));
        settings.proxyPort()->setText(QString::number(n.server.port()));
        settings.proxyNeedsPassword()->setChecked(true);
        settings.proxyLogin()->setText(QStringLiteral("user"));
        settings.proxyPassword()->setText(QStringLiteral("secret"));
        n.setLoadMode(true);
        n.click("FlatSpeedButton53");
        BrowserView& view = page.browser();
        QVERIFY(waitForPage(view));
        QVERIFY(
            textOf(view).contains(QStringLiteral("served to http://news.brevio.invalid/news/newstv.php")));
        // The engine asked without a login first, was challenged, and answered.
        const auto proxied = n.server.requests();
        QVERIFY(proxied.size() >= 3);
        QVERIFY(!proxied[1].header("Proxy-Authorization"));
        QVERIFY(proxied.back().header("Proxy-Authorization") == login);

        // The proxy turned off: the engine goes direct, as the program's own fetch does.
        n.fixture.setSetting(QStringLiteral("Sources"), QStringLiteral("rusdisn"),
                             QString::fromStdString(n.server.url("/")));
        settings.useProxy()->setChecked(false);
        n.click("FlatSpeedButton53");
        QVERIFY(waitForPage(view));
        QVERIFY(textOf(view).contains(QStringLiteral("served to /news/newstv.php")));
        QCOMPARE(n.server.requests().size(), proxied.size() + 2);
    }

    void theTextBrowserReadsThePageInItsCharset()
    {
        QWidget parent;
        TextBrowserView view(&parent, [](const QString&) {});
        const QByteArray koi8
            = QStringEncoder("koi8-r")(QStringLiteral("<p>Новости</p><a href=\"/x\">ссылка</a>"));
        view.navigate({QStringLiteral("http://site.example/news/"), koi8, QStringLiteral("koi8-r")}, {});
        QCOMPARE(view.toPlainText(), QStringLiteral("Новости\nссылка"));
        view.showCopy({QStringLiteral("http://site.example/news/"), koi8, QStringLiteral("no-such-charset")});
        QVERIFY(!view.toPlainText().contains(QStringLiteral("Новости")));
    }

    void aSavedCopyKeepsItsBodyWhenItsPageDeclaresAnUnknownCharset()
    {
        // The program's lines around the page make the copy one UTF-8 document.
        const std::string page = "<meta charset=\"x-made-up\"><p>" + toData(kHeadline) + "</p>";
        const BrowserPage copy = savedCopyPage("http://site.example/", {{"Heading"}, page, {"Closing"}});
        QCOMPARE(copy.charset, QStringLiteral("utf-8"));
        const QString document = QString::fromUtf8(copy.bytes);
        QVERIFY2(document.contains(kHeadline), qPrintable(document));
        QVERIFY(document.indexOf(QStringLiteral("Heading")) < document.indexOf(kHeadline));
        QVERIFY(document.indexOf(kHeadline) < document.indexOf(QStringLiteral("Closing")));
    }
};

int main(int argc, char* argv[])
{
    TempDir root;
    g_root = &root;
    for (const char* folder : {"home", "cache", "data", "config", "tmp", "runtime"})
        std::filesystem::create_directories(root / folder);
    std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
    const auto set = [&](const char* name, const char* folder) {
        qputenv(name, QByteArray::fromStdString((root / folder).string()));
    };
    set("HOME", "home");
    set("XDG_CACHE_HOME", "cache");
    set("XDG_DATA_HOME", "data");
    set("XDG_CONFIG_HOME", "config");
    set("TMPDIR", "tmp");
    set("XDG_RUNTIME_DIR", "runtime");
    // The program turns the sandbox off only for root; tests run as anyone, so they say it.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    // As the program names itself: its folders are the ones the program would use.
    QApplication::setApplicationName(QStringLiteral("brevio"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    NewsBrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "news_browser_test.moc"

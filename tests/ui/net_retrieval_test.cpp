// The retrieval page's transfers on a real main window against loopback servers: the request
// on the wire, the success test and error log, time-out, abort, refused and unknown hosts.
#include "app/main_window.h"
#include "core/store/errors.h"
#include "gui/news/news_page.h"
#include "gui/settings/settings_page.h"
#include "gui/widgets/http_session.h"
#include "support/core/tinyproxy_runner.h"
#include "support/ui/retrieval_fixture.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

const std::string kWeeks = "12.01.2004\r\n05.01.2004\r\n";

// The week on offer with a catalogue of three channels.
void serveWeek(RetrievalFixture& r)
{
    r.serve("datas.dat", kWeeks);
    r.serve("12012004/data.dat", "12.01.2004");
    r.serve("12012004/files.dat", "One:one.txt:Two:two.txt:Three:three.txt");
}

std::string errorRecord(const std::string& header, const std::string& body)
{
    return std::string(50, '=') + "\r\n\r\n" + header + "\r\n\r\n" + body + "\r\n\r\n";
}

enum class CheckEnd { Offered, Failed };

// The check ended and the page is usable again. A check that got to its end offers the
// download in the check button's place; after a failed one the check is offered again, and no
// channel offer is left.
void verifyCheckEnded(RetrievalFixture& r, CheckEnd end = CheckEnd::Offered)
{
    const bool offered = end == CheckEnd::Offered;
    QCOMPARE(r.page().checkButton()->isVisibleTo(&r.page()), !offered);
    QCOMPARE(r.page().checkButton()->isEnabled(), !offered);
    QCOMPARE(r.page().downloadButton()->isVisibleTo(&r.page()), offered);
    QCOMPARE(r.page().downloadButton()->isEnabled(), offered);
    if (!offered)
        QVERIFY(!r.fixture.exists("files.dat"));
    QVERIFY(!r.page().abortButton()->isVisibleTo(&r.page()));
    QVERIFY(r.pageButtonsEnabled());
    QVERIFY(r.page().channelChecklist()->isEnabled());
    QVERIFY(!r.fixture.form().http().busy());
}

} // namespace

class NetRetrievalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestCarriesTheProgramLinesAfterTheClientLines()
    {
        RetrievalFixture r;
        serveWeek(r);
        MainWindow& form = r.start();
        // Credentials ticked with the proxy off must not leak a Proxy-Authorization line.
        form.settingsPage()->proxyNeedsPassword()->setChecked(true);
        r.fixture.dialogs.confirmAnswers = {false};
        QVERIFY(r.check());

        const auto requests = r.server.requests();
        QCOMPARE(requests.size(), size_t(2));
        QVERIFY(requests[0].raw.starts_with("GET /tv/datas.dat HTTP/1.0\r\n"));
        QCOMPARE(requests[1].path, std::string("/tv/12012004/data.dat"));
        const auto& lines = requests[0].headerLines;
        QVERIFY(lines.size() >= 4);
        QCOMPARE(requests[0].header("User-Agent").value_or(""), HttpSession::identification());
        QCOMPARE(HttpSession::identification(), std::string("Brevio (www.brevio.example)"));
        QCOMPARE(lines[lines.size() - 2], std::string("Pragma: no-cache"));
        QCOMPARE(lines[lines.size() - 1], std::string("Cache-Control: no-cache,no-store"));
        QVERIFY(!requests[0].header("Proxy-Authorization"));

        // Answering No: the checklist stays empty and the memo still asks for ticks.
        QCOMPARE(r.fixture.dialogs.confirmations,
                 QStringList{form.text(TextId::NewWeekShowChannels)
                             + QStringLiteral("\nНа сервере дата понедельника - 12.01.2004")});
        QCOMPARE(r.page().channelChecklist()->count(), 0);
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::TickAndDownload));
        // Both status lines end on "Disconnected".
        QCOMPARE(r.page().statusLine()->text(), form.text(TextId::Disconnected));
        QCOMPARE(form.newsPage()->statusLine()->text(), form.text(TextId::Disconnected));
        verifyCheckEnded(r);
        QVERIFY(r.fixture.dialogs.messages.isEmpty());
    }

    void proxyGetsTheWholeUrlAndEmptyCredentials()
    {
        if (!TinyproxyRunner::binary())
            QSKIP("tinyproxy is not installed");
        TinyproxyRunner proxy;
        RetrievalFixture r;
        serveWeek(r);
        MainWindow& form = r.start();
        SettingsPage* settings = form.settingsPage();
        settings->useProxy()->setChecked(true);
        settings->proxyHost()->setText(QString::fromStdString(proxy.host()));
        settings->proxyPort()->setText(QString::number(proxy.port()));
        settings->proxyNeedsPassword()->setChecked(true);
        settings->proxyLogin()->clear();
        settings->proxyPassword()->clear();
        r.fixture.dialogs.confirmAnswers = {false};
        QVERIFY(r.check());

        const auto requests = r.server.requests();
        QCOMPARE(requests.size(), size_t(2));
        QCOMPARE(requests[0].header("Proxy-Authorization").value_or(""), std::string("Basic Og=="));
        QCOMPARE(requests[0].header("Cache-Control").value_or(""), std::string("no-cache,no-store"));
        const std::string sent = "GET " + r.server.url("/tv/datas.dat") + " HTTP/1.0";
        QVERIFY2(proxy.log().find(sent) != std::string::npos, proxy.log().c_str());
    }

    void badProxyPortFailsBeforeAnyRequest()
    {
        RetrievalFixture r;
        serveWeek(r);
        MainWindow& form = r.start();
        form.settingsPage()->useProxy()->setChecked(true);
        form.settingsPage()->proxyHost()->setText(QStringLiteral("127.0.0.1"));
        form.settingsPage()->proxyPort()->setText(QStringLiteral("80a"));
        QVERIFY(!r.check());
        QCOMPARE(r.fixture.dialogs.messages,
                 QStringList{QStringLiteral("'80a' is not a valid integer value")});
        QVERIFY(r.server.requests().empty());
        verifyCheckEnded(r, CheckEnd::Failed);
    }

    void onlyTheStatusCodeTwoHundredPasses()
    {
        RetrievalFixture r;
        // Not found, though the Content-Length of 1200 holds "200": no week list.
        std::string body = "12.01.2004\r\n";
        body += std::string(1200 - body.size(), 'x');
        r.serve("datas.dat", FixtureReply::status("HTTP/1.0 404 Not Found", body));
        MainWindow& form = r.start();
        QVERIFY(r.check());
        QVERIFY(r.fixture.dialogs.weekChoices.isEmpty());
        QCOMPARE(r.fixture.dialogs.messages, QStringList{form.text(TextId::SessionFailed)});
        QCOMPARE(r.fixture.read("error.dat"),
                 errorRecord("HTTP/1.0 404 Not Found\r\nContent-Length: 1200\r\n\r\n", body));
        QCOMPARE(r.requestPaths(), std::vector<std::string>{"/tv/datas.dat"});
    }

    void notFoundShowsTheErrorAndAppendsARecord()
    {
        RetrievalFixture r;
        r.serve("datas.dat", FixtureReply::status("HTTP/1.0 404 Not Found", "no such file"));
        MainWindow& form = r.start();
        QVERIFY(r.check());
        QVERIFY(r.check());
        QCOMPARE(r.fixture.dialogs.messages,
                 (QStringList{form.text(TextId::SessionFailed), form.text(TextId::SessionFailed)}));
        QCOMPARE(r.page().statusLine()->text(), form.text(TextId::Disconnected));
        const std::string header = "HTTP/1.0 404 Not Found\r\nContent-Length: 12\r\n\r\n";
        QCOMPARE(r.fixture.read("error.dat"),
                 errorRecord(header, "no such file") + errorRecord(header, "no such file"));
        // No week dialog after a failed list, and the memo keeps its last message.
        QVERIFY(r.fixture.dialogs.weekChoices.isEmpty());
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::CheckingServer));
        verifyCheckEnded(r, CheckEnd::Failed);
    }

    void stalledServerIsCutOffAtTheTimeOut()
    {
        RetrievalFixture r;
        r.serve("datas.dat", FixtureReply::stall());
        MainWindow& form = r.start();
        form.settingsPage()->timeoutSeconds()->setValue(1);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!r.check());
        QVERIFY(clock.elapsed() >= 900);
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(r.fixture.dialogs.messages.size(), 1);
        QVERIFY(r.fixture.dialogs.messages[0] != form.text(TextId::SessionFailed));
        verifyCheckEnded(r, CheckEnd::Failed);
    }

    void refusedConnectionSaysConnectionFailed()
    {
        long closedPort = 0;
        {
            FixtureServer gone;
            closedPort = gone.port();
        }
        RetrievalFixture r;
        r.fixture.setSetting(QStringLiteral("Server"), QStringLiteral("url"),
                             QStringLiteral("http://127.0.0.1:%1/tv/").arg(closedPort));
        MainWindow& form = r.start();
        QVERIFY(!r.check());
        QCOMPARE(r.fixture.dialogs.messages.size(), 2);
        QCOMPARE(r.fixture.dialogs.messages[0], form.text(TextId::ConnectionFailed));
        verifyCheckEnded(r, CheckEnd::Failed);
    }

    void unknownHostIsAskedForOncePerRequest()
    {
        RetrievalFixture r;
        serveWeek(r);
        r.fixture.setSetting(QStringLiteral("Server"), QStringLiteral("url"),
                             QStringLiteral("http://no-such-host.invalid/tv/"));
        r.start();
        // The first request goes on to the loopback server; the second one is cancelled.
        r.fixture.dialogs.inputAnswers = {QStringLiteral("127.0.0.1:%1").arg(r.server.port()), std::nullopt};
        QVERIFY(!r.check());
        QCOMPARE(r.fixture.dialogs.inputPrompts,
                 (QStringList{QStringLiteral("Invalid Host!: Specify a new host:"),
                              QStringLiteral("Invalid Host!: Specify a new host:")}));
        QCOMPARE(r.requestPaths(), std::vector<std::string>{"/tv/datas.dat"});
        QCOMPARE(r.fixture.dialogs.messages.size(), 1); // the host error of the second request
        verifyCheckEnded(r, CheckEnd::Failed);
    }

    void abortEndsADownloadAndKeepsWhatArrived()
    {
        RetrievalFixture r;
        serveWeek(r);
        r.serve("12012004/one.txt", "first channel");
        r.serve("12012004/two.txt", FixtureReply::stall());
        MainWindow& form = r.start();
        form.settingsPage()->timeoutSeconds()->setValue(30);
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        r.tick({0, 1, 2});

        // The abort button is pressed from the event loop while the second file stalls.
        QTimer presser;
        int clicks = 0;
        connect(&presser, &QTimer::timeout, &r.page(), [&] {
            if (r.server.requests().size() >= 5 && !r.page().abortButton()->isHidden() && clicks == 0) {
                ++clicks;
                QTest::mouseClick(r.page().abortButton(), Qt::LeftButton);
            }
        });
        presser.start(20);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!r.download());
        presser.stop();
        QCOMPARE(clicks, 1);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(r.fixture.form().http().abortFlag());

        QCOMPARE(r.fixture.read("12012004/one.txt"), std::string("first channel"));
        QCOMPARE(r.fixture.read("12012004/aplp.dat"), std::string("One:one.txt\r\n"));
        QVERIFY(!r.fixture.exists("12012004/two.txt"));
        QVERIFY(!r.fixture.exists("12012004/three.txt"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string());
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("lastdate")).value_or(QString()),
                 QString());
        // The offer went with the round: the next download needs a new check.
        QVERIFY(!r.fixture.exists("files.dat"));
        // The buttons are back: check shown, download hidden, abort hidden, pages usable.
        QVERIFY(r.page().checkButton()->isVisibleTo(&r.page()));
        QVERIFY(!r.page().downloadButton()->isVisibleTo(&r.page()));
        QVERIFY(!r.page().abortButton()->isVisibleTo(&r.page()));
        QVERIFY(r.pageButtonsEnabled());
        QCOMPARE(r.page().statusLine()->text(), form.text(TextId::Disconnected));
        QCOMPARE(r.fixture.dialogs.messages.size(), 1);
    }

    void progressTextsCountTheBytesOnBothStatusLines()
    {
        RetrievalFixture r;
        FixtureReply slow = FixtureReply::ok("12.01.2004\r\n" + std::string(4000, 'x'));
        slow.contentLength = false; // no length: the total shows as 0
        slow.chunkSize = 1000;
        slow.chunkDelay = std::chrono::milliseconds(60);
        r.serve("datas.dat", slow);
        r.serve("12012004/data.dat", "12.01.2004");
        MainWindow& form = r.start();
        QStringList seen;
        QStringList seenOnNews;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, &r.page(), [&] {
            seen << r.page().statusLine()->text();
            seenOnNews << form.newsPage()->statusLine()->text();
        });
        watcher.start(10);
        r.fixture.dialogs.confirmAnswers = {false};
        QVERIFY(r.check());
        watcher.stop();
        // The received bytes are counted, "N From 0 Is Executed", on both lines.
        const QRegularExpression received(QStringLiteral("^[1-9][0-9]* From 0 Is Executed$"));
        QVERIFY2(!seen.filter(received).isEmpty(), qPrintable(seen.join(QLatin1Char('|'))));
        QVERIFY(!seenOnNews.filter(received).isEmpty());
    }

    void successAndFailureShowOnTheRetrievalLineOnly()
    {
        RetrievalFixture r;
        MainWindow& form = r.start();
        form.newsPage()->statusLine()->setText(QStringLiteral("news"));
        form.http().succeeded();
        QCOMPARE(r.page().statusLine()->text(), QStringLiteral("Get Succeeded"));
        form.http().failed();
        QCOMPARE(r.page().statusLine()->text(), QStringLiteral("Get Failed"));
        QCOMPARE(form.newsPage()->statusLine()->text(), QStringLiteral("news"));
    }

    void closingDuringATransferAbortsItThenCloses()
    {
        RetrievalFixture r;
        r.serve("datas.dat", FixtureReply::stall());
        r.fixture.start(true);
        MainWindow& form = r.fixture.form();
        form.settingsPage()->timeoutSeconds()->setValue(60);
        bool refused = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &r.page(), [&] {
            if (!refused && form.http().busy())
                refused = !form.close();
        });
        closer.start(20);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!r.check());
        closer.stop();
        QVERIFY(refused);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(form.http().abortFlag());
        QVERIFY(form.isVisible()); // the step's own end first
        QTRY_VERIFY(!form.isVisible());
    }

    void onlyOneTransferAtATime()
    {
        RetrievalFixture r;
        r.serve("datas.dat", FixtureReply::stall());
        MainWindow& form = r.start();
        form.settingsPage()->timeoutSeconds()->setValue(1);
        bool tried = false;
        bool refused = false;
        QTimer second;
        connect(&second, &QTimer::timeout, &r.page(), [&] {
            if (tried || !form.http().busy())
                return;
            tried = true;
            // The page buttons are disabled, and a direct second client is refused.
            refused = !form.pageButtons()[0]->isEnabled() && !r.page().channelChecklist()->isEnabled()
                && !form.guard([&] { form.http().createClient(); });
            r.page().checkForNewWeek(); // ignored while busy
        });
        second.start(50);
        QVERIFY(!r.check());
        second.stop();
        QVERIFY(tried);
        QVERIFY(refused);
        QCOMPARE(r.server.requests().size(), size_t(1));
        verifyCheckEnded(r, CheckEnd::Failed);
    }
};

QTEST_MAIN(NetRetrievalTest)
#include "net_retrieval_test.moc"

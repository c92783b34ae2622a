// The news page's source frame on a real main window against a loopback server: a fetch that
// succeeds is shown and saved, a failed one changes nothing, view mode reads the saved copy,
// one transfer at a time, and which clicked links are opened.
#include "app/main_window.h"
#include "core/news/news_lines.h"
#include "core/news/parse_text.h"
#include "core/news/rtf.h"
#include "gui/news/news_page.h"
#include "gui/news/news_pane.h"
#include "gui/widgets/http_session.h"
#include "support/core/fixture_server.h"
#include "support/ui/news_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace brevio;
using namespace brevio::test;

namespace {

const QString kGeneral
    = QStringLiteral("Сохраненных новостей нет. Надо получить последние новости из Интернет.");

const std::string kCbrReply = "<ValCurs><Valute><NumCode>840</NumCode><CharCode>USD</CharCode>"
                              "<Nominal>1</Nominal><Name>"
    + news::data("Доллар США") + "</Name><Value>79,1234</Value></Valute></ValCurs>";

} // namespace

class NewsPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void successShowsAndSavesAndViewModeShowsTheSameLines()
    {
        NewsFixture n;
        // A redirect is followed: the final reply's status counts.
        n.server.addRoute("/scripts/XML_daily.asp", FixtureReply::redirect(302, "/rates.xml"));
        n.server.addRoute("/rates.xml", FixtureReply::ok(kCbrReply));
        NewsPage& page = n.start();
        n.setLoadMode(true);
        n.click("FlatSpeedButton40");

        const auto requests = n.server.requests();
        QCOMPARE(requests.size(), size_t(2));
        // The request date is the window clock's day (2026-12-09) in the system's date style.
        QVERIFY(QRegularExpression(QStringLiteral("^/scripts/XML_daily\\.asp\\?date_req=09([./-])12\\g{1}"
                                                  "2026$"))
                    .match(QString::fromStdString(requests[0].target))
                    .hasMatch());
        const auto shown = n.pane();
        QCOMPARE(shown.size(), size_t(12));
        QCOMPARE(shown[6], "840\tUSD\t1\t" + news::data("Доллар США") + "\t79,1234");
        // The heading names the date that was asked for.
        const std::string date = requests[0].target.substr(requests[0].target.find('=') + 1);
        QVERIFY(shown[3].find(" " + date + " ") != std::string::npos);
        QCOMPARE(news::readNewsText(n.fixture.read("kurs_cbr.nws")), shown);
        QVERIFY(!n.anySourcePressed());
        QVERIFY(!n.fixture.form().http().busy());

        // View mode: another source without a file shows the message and leaves the pane.
        n.setLoadMode(false);
        n.click("FlatSpeedButton53");
        QCOMPARE(n.fixture.dialogs.messages, QStringList{kGeneral});
        QVERIFY(page.browserPanel()->isVisibleTo(&page));
        n.click("FlatSpeedButton39");
        QCOMPARE(n.fixture.dialogs.messages.size(), 2);
        QCOMPARE(n.pane(), shown);
        QVERIFY(page.newsPane()->isVisibleTo(&page));

        page.newsPane()->clear();
        n.click("FlatSpeedButton40");
        QCOMPARE(n.pane(), shown);
        QCOMPARE(n.server.requests().size(), size_t(2));
        QVERIFY(!n.anySourcePressed());
        // Opening the page again keeps the pane.
        n.fixture.form().showNewsPage();
        QCOMPARE(n.pane(), shown);
    }

    void siteNamesAndTheColumnEditorComeFromTheSettings()
    {
        NewsFixture n;
        n.fixture.setSetting("SourceNames", "kornet", QStringLiteral("Мой сайт"));
        n.fixture.setSetting("SourceNames", "ezhe_editor", QStringLiteral("Иван Петров"));
        n.fixture.setSetting("SourceNames", "ezhe_mail", "ivan@e.test");
        n.server.addRoute(
            "/data/newscolumn.js",
            FixtureReply::ok("var __kp_ids = new Array (1);\nvar __kp_titles = new Array ('t');\n"
                             "var __kp_dates = new Array ('d');\nvar __kp_subs = new Array ('s');\n"));
        n.server.addRoute("/data/pravda/topost.txt", FixtureReply::ok("column"));
        n.start();
        QCOMPARE(n.fixture.find<QToolButton>("FlatSpeedButton51")->text(), QStringLiteral("Мой сайт"));
        QCOMPARE(n.fixture.find<QToolButton>("FlatSpeedButton26")->text(), QStringLiteral("uaSport"));
        n.setLoadMode(true);
        n.click("FlatSpeedButton51");
        QCOMPARE(n.pane().front(), news::data("Мой сайт"));
        QCOMPARE(n.pane().back().substr(0, news::data("Мой сайт").size()), news::data("Мой сайт"));
        n.click("FlatSpeedButton47");
        QCOMPARE(n.pane().back(), news::data("Ответственный редактор - Иван Петров ( ivan@e.test )"));
    }

    void aSavedCopyOfAMillionLinesIsShownCutAtOnce()
    {
        NewsFixture n;
        std::string huge;
        for (int i = 0; i < 1'000'000; ++i)
            huge += "line " + std::to_string(i) + "\r\n";
        n.fixture.write("kurs_cbr.nws", huge);
        n.start();
        n.setLoadMode(false);
        QElapsedTimer clock;
        clock.start();
        n.click("FlatSpeedButton40");
        // Laid out whole, this pane took minutes; cut, it is one pane's worth.
        QVERIFY2(clock.elapsed() < 10'000, qPrintable(QString::number(clock.elapsed())));
        const auto shown = n.pane();
        QCOMPARE(shown.size(), news::kPaneMaxLines + 1);
        QCOMPARE(shown.front(), std::string("line 0"));
        QVERIFY(n.fixture.dialogs.messages.isEmpty());
    }

    void aFailedFetchChangesNeitherPaneNorFile()
    {
        NewsFixture n;
        n.server.addRoute("/KURS/last_kurs.htm",
                          FixtureReply::status("HTTP/1.1 404 Not Found", "<h5>gone</h5>"));
        n.server.addRoute("/newstopic/oreandaru.ini", FixtureReply::status("HTTP/1.1 500 Oops", "head=x"));
        const std::string saved = news::linesToRtf({"old", news::data("курсы")});
        n.fixture.write("kurs_nbu.nws", saved);
        n.fixture.write("oreanda.tmp", "previous");
        NewsPage& page = n.start();
        showNewsLines(page.newsPane(), {"on screen"});
        n.setLoadMode(true);
        n.click("FlatSpeedButton39");
        n.click("FlatSpeedButton43");
        QCOMPARE(n.server.requests().size(), size_t(2));
        QCOMPARE(n.fixture.read("kurs_nbu.nws"), saved);
        QCOMPARE(n.fixture.read("oreanda.tmp"), std::string("previous"));
        QVERIFY(!n.fixture.exists("oreanda.nws"));
        QCOMPARE(n.pane(), std::vector<std::string>{"on screen"});
        QVERIFY(n.fixture.dialogs.messages.isEmpty());
        QVERIFY(!n.anySourcePressed());
        QCOMPARE(page.statusLine()->text(), n.fixture.form().text(TextId::Disconnected));

        // Nothing listening: the transfer error is caught, nothing changes.
        n.fixture.setSetting(QStringLiteral("Sources"), QStringLiteral("kurs_nbu"),
                             QStringLiteral("http://127.0.0.1:1"));
        n.click("FlatSpeedButton39");
        QCOMPARE(n.fixture.read("kurs_nbu.nws"), saved);
        QVERIFY(!n.fixture.form().http().busy());
    }

    void theAgencyKeepsItsRawReplyAndViewModeShowsTheLotteryMessage()
    {
        NewsFixture n;
        const std::string ini = "[a]\r\nhead=H\r\nbody=B\r\ndate=D\r\nurl=U\r\ntopic=T\r\n";
        n.server.addRoute("/newstopic/oreandaru.ini", FixtureReply::ok(ini));
        n.start();
        n.setLoadMode(true);
        n.click("FlatSpeedButton43");
        QCOMPARE(n.fixture.read("oreanda.tmp"), ini);
        QCOMPARE(news::readNewsText(n.fixture.read("oreanda.nws")), n.pane());
        QCOMPARE(n.pane()[3], std::string("====="));

        n.setLoadMode(false);
        n.click("FlatSpeedButton52");
        QCOMPARE(
            n.fixture.dialogs.messages,
            QStringList{QStringLiteral(
                "Сохраненного файла с результатами тиражей нет. Необходимо получить его из Интернета.")});
    }

    void aSourceClickDuringAFetchStartsNoSecondTransfer()
    {
        NewsFixture n;
        FixtureReply slow = FixtureReply::ok(kCbrReply);
        slow.delay = std::chrono::milliseconds(600);
        n.server.addRoute("/scripts/XML_daily.asp", slow);
        n.server.addRoute("/KURS/last_kurs.htm", FixtureReply::ok("<h5 align=center>x<br>y"));
        n.start();
        n.setLoadMode(true);
        bool clickedDuringFetch = false;
        QTimer::singleShot(150, [&] {
            clickedDuringFetch = n.fixture.form().http().busy();
            n.click("FlatSpeedButton39");
            n.click("FlatSpeedButton48");
        });
        n.click("FlatSpeedButton40");
        QVERIFY(clickedDuringFetch);
        QCOMPARE(n.server.requests().size(), size_t(1));
        QVERIFY(n.fixture.exists("kurs_cbr.nws"));
        QVERIFY(!n.fixture.exists("kurs_nbu.nws"));
        QVERIFY(!n.anySourcePressed());
    }

    void onlyWebAndMailLinksAreOpened()
    {
        NewsFixture n;
        NewsPage& page = n.start();
        QStringList opened;
        page.setUrlOpener([&](const QString& address) { opened << address; });
        page.openLink(QStringLiteral("file:///etc/passwd"));
        page.openLink(QStringLiteral("javascript:alert(1)"));
        page.openLink(QStringLiteral("www.site.example/a"));
        QCOMPARE(opened, QStringList{QStringLiteral("http://www.site.example/a")});

        // A real click on a link of the pane, with the right button too.
        n.fixture.form().show();
        QTextEdit* pane = page.newsPane();
        showNewsLines(pane, {"title", "see http://kornet.example/jsclick.php?arid=7 now"});
        QTextCursor cursor(pane->document()->findBlockByNumber(1));
        cursor.setPosition(cursor.position() + 10);
        const QPoint onLink = pane->cursorRect(cursor).center();
        QTest::mouseClick(pane->viewport(), Qt::RightButton, {}, onLink);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {},
                          pane->cursorRect(QTextCursor(pane->document())).center());
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last(), QStringLiteral("http://kornet.example/jsclick.php?arid=7"));

        // The right button as the desktop delivers it: the press through the window raises a
        // context-menu event too. On a link it opens the link; elsewhere the pane's menu comes.
        QWindow* window = n.fixture.form().windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        int menus = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                ++menus;
                menu->close();
            }
        });
        closer.start(100);
        const auto rightClick = [&](QPoint inViewport) {
            const QPoint at = pane->viewport()->mapTo(pane->window(), inViewport);
            QTest::mousePress(window, Qt::RightButton, {}, at);
            QTest::mouseRelease(window, Qt::RightButton, {}, at);
        };
        rightClick(onLink);
        QCOMPARE(menus, 0);
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened.last(), QStringLiteral("http://kornet.example/jsclick.php?arid=7"));
        rightClick(pane->cursorRect(QTextCursor(pane->document())).center());
        QTRY_COMPARE(menus, 1);
        QCOMPARE(opened.size(), 3);
    }
};

QTEST_MAIN(NewsPageTest)
#include "news_page_test.moc"

// Listings of the road users take: a generated XMLTV file, published by brevio-publish, served
// by a real nginx, fetched by a whole update round of the real window and read in the day view.
#include "core/net/update_catalogue.h"
#include "core/store/cp1251.h"
#include "core/store/line_reader.h"
#include "support/core/nginx_runner.h"
#include "support/ui/retrieval_fixture.h"
#include "ui/view_week_data.h"

#include <QFileInfo>
#include <QProcess>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

QString toolPath(const char* name)
{
    return QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + QStringLiteral("/tools/")
        + QLatin1String(name);
}

// Runs a tool in the listings' time zone; its exit status, its output on failure.
bool runTool(const char* name, const QStringList& arguments)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Moscow"));
    tool.setProcessEnvironment(environment);
    tool.start(toolPath(name), arguments);
    const bool ok
        = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (!ok)
        qWarning().noquote() << name << tool.readAllStandardError();
    return ok;
}

} // namespace

class ExchangeNginxRoundTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishedListingsServedByNginxReachTheDayView()
    {
        if (!NginxRunner::binary())
            QSKIP("nginx is not installed (scripts/install-deps.sh installs nginx-light)");
        if (!QFileInfo::exists(toolPath("brevio-publish")))
            QSKIP("the tools are not built (BREVIO_TOOLS)");
        TempDir site;
        const QString listing = QString::fromStdString((site / "listing.xml").string());
        QVERIFY(runTool("brevio-demo-data",
                        {QStringLiteral("--xmltv"), listing, QStringLiteral("--today"),
                         QStringLiteral("2026-12-09"), QStringLiteral("--channels"), QStringLiteral("5"),
                         QStringLiteral("--days"), QStringLiteral("7")}));
        QVERIFY(
            runTool("brevio-publish",
                    {QStringLiteral("--out"), QString::fromStdString((site / "www/tv").string()), listing}));
        NginxRunner nginx(site / "www");

        RetrievalFixture r;
        r.fixture.setSetting(QStringLiteral("Server"), QStringLiteral("url"),
                             QString::fromStdString(nginx.url("/tv/")));
        MainWindow& form = r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.fixture.dialogs.weekChoices, QList<QStringList>{{QStringLiteral("07.12.2026")}});
        const auto catalogue = net::parseCatalogue(site.read("www/tv/07122026/files.dat"));
        QCOMPARE(catalogue.size(), size_t(5));
        // Channels come in alphabetical order.
        QCOMPARE(
            r.checklistNames(),
            (QStringList{QStringLiteral("Культура"), QStringLiteral("НТВ"), QStringLiteral("Первый канал"),
                         QStringLiteral("Россия 1"), QStringLiteral("Спорт")}));
        r.tick({0, 1, 2, 3, 4});
        QVERIFY(r.download());
        QVERIFY(r.fixture.dialogs.messages.isEmpty());

        // The store holds what was published, byte for byte, and lists the week.
        QCOMPARE(r.fixture.read("dats.dat"), std::string("07.12.2026\r\n"));
        std::string channelList;
        for (const store::ChannelEntry& entry : catalogue) {
            QCOMPARE(r.fixture.read("07122026/" + entry.fileName),
                     site.read("www/tv/07122026/" + entry.fileName));
            channelList += entry.name + ":" + entry.fileName + "\r\n";
        }
        QCOMPARE(r.fixture.read("07122026/aplp.dat"), channelList);
        QVERIFY(nginx.accessLog().find("GET /tv/07122026/perviy.demo.txt HTTP/1.0\" 200")
                != std::string::npos);

        // The day view reads Monday of a channel as published.
        form.pageButtons()[0]->click();
        ViewingPage* page = form.viewingPage();
        clickChannel(page->channelList(), 2);
        const auto lines = store::splitLines(site.read("www/tv/07122026/perviy.demo.txt"));
        const auto tuesday = std::find(lines.begin() + 2, lines.end(), std::string());
        QStringList monday;
        for (auto it = lines.begin() + 2; it != tuesday; ++it)
            monday << QString::fromStdString(cp1251ToUtf8(*it));
        QVERIFY(monday.size() > 10);
        QVERIFY(monday.first().startsWith(QStringLiteral("06:")));
        QCOMPARE(shownLines(page->dayPane(0)).mid(2), monday);
        QCOMPARE(shownLines(page->dayPane(0)).first(), QStringLiteral("Первый канал"));
    }
};

QTEST_MAIN(ExchangeNginxRoundTest)
#include "exchange_nginx_round_test.moc"

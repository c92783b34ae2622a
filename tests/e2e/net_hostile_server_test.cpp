// Hostile schedule servers and news sources on loopback against the real main window. After
// each case every file created, changed or removed anywhere under the test's temporary root is
// listed: nothing may change outside the working folder (but the settings file), nothing inside
// it but what the case may write, and the week list and every channel list stay well-formed.
#include "app/brevio_form.h"
#include "app/settings_page.h"
#include "news/news_lines.h"
#include "news/news_page.h"
#include "news/news_pane.h"
#include "news/parse_text.h"
#include "news/rtf.h"
#include "store/errors.h"
#include "store/line_reader.h"
#include "store/week_folder.h"
#include "support/core/file_tree.h"
#include "support/core/temp_dir.h"
#include "support/ui/retrieval_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <set>

using namespace brevio;
using namespace brevio::test;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// One case's window, server and store; made with the temporary root as the temp folder, so
// that its working folder and settings lie below the root.
struct Round
{
    Round()
    {
        for (const char* stem : {"kurs_nbu", "kurs_cbr", "kurs_nbk", "oreanda", "ezhe", "unl"})
            r.fixture.setSetting(QStringLiteral("Sources"), QString::fromLatin1(stem),
                                 QString::fromStdString(r.server.url("/")));
    }
    TBrevioForm& form() { return r.fixture.form(); }
    // The usual week on offer, with the given date file and catalogue.
    void offer(std::string date, std::string catalogue)
    {
        r.serve("datas.dat", "12.01.2004\r\n");
        r.serve("12012004/data.dat", std::move(date));
        r.serve("12012004/files.dat", std::move(catalogue));
    }
    void setLastDate(const char* date)
    {
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("lastdate"), QString::fromLatin1(date));
    }
    // Check (answering Yes), tick every offered channel, download.
    void checkAndDownloadAll()
    {
        r.fixture.dialogs.confirmAnswers = {true};
        r.check();
        std::vector<int> all(static_cast<std::size_t>(r.page().channelChecklist()->count()));
        std::iota(all.begin(), all.end(), 0);
        r.tick(all);
        r.download();
    }
    // A news source fetched in load mode; how long the click took.
    qint64 fetchNews(const char* button)
    {
        form().FlatSpeedButton36Click();
        r.fixture.find<QToolButton>("FlatSpeedButton38")->click();
        QElapsedTimer clock;
        clock.start();
        r.fixture.find<QToolButton>(button)->click();
        return clock.elapsed();
    }
    // A reply of a few megabytes is shown within about a second (a busy machine gets slack).
    void fetchLargeNews(const char* button)
    {
        const qint64 ms = fetchNews(button);
        qInfo("%s: %lld ms from the click to the shown pane", button, ms);
        QVERIFY(ms < 3000);
    }
    std::vector<std::string> pane() { return newsPaneLines(form().newsPage()->newsPane()); }
    QString newsStatus() { return form().newsPage()->statusLine()->text(); }
    QString messages() { return r.fixture.dialogs.messages.join(QLatin1Char('|')); }

    RetrievalFixture r;
};

struct HostileCase
{
    const char* name;
    std::function<void(Round&)> setUp; // the server's files and the store before the window starts
    std::function<void(Round&)> act;
    std::set<std::string> mayWrite; // paths in the working folder the case may create, change or remove
    std::function<void(Round&)> verify = [](Round&) {};
};

const std::string kSaved = news::linesToRtf({"saved", "copy"});

// Lines each ended by CR LF, nothing else.
std::vector<std::string> crLfLines(const std::string& text, const std::string& file)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start != text.size())
        QTest::qFail(qPrintable(QString::fromStdString(file + " does not end with CR LF")), __FILE__,
                     __LINE__);
    return lines;
}

bool fileNameIsSafe(const std::string& name)
{
    try {
        store::checkBareFileName(name);
        return true;
    } catch (const Error&) {
        return false;
    }
}

void verifyStoreWellFormed(const fs::path& work)
{
    std::ifstream weekList(work / "dats.dat", std::ios::binary);
    const std::string weeks{std::istreambuf_iterator<char>(weekList), std::istreambuf_iterator<char>()};
    std::set<std::string> seenWeeks;
    for (const std::string& week : crLfLines(weeks, "dats.dat")) {
        QVERIFY2(store::isWeekDate(week), week.c_str());
        QVERIFY2(seenWeeks.insert(week).second, ("twice in dats.dat: " + week).c_str());
    }
    for (const auto& entry : fs::directory_iterator(work)) {
        if (!fs::exists(entry.path() / "aplp.dat"))
            continue;
        std::ifstream in(entry.path() / "aplp.dat", std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::set<std::string> seen;
        for (const std::string& line : crLfLines(text, "aplp.dat")) {
            const auto colon = line.find(':');
            QVERIFY2(colon != std::string::npos, line.c_str());
            QVERIFY2(line.find_first_of("\r\n\x1a"s + '\0') == std::string::npos, line.c_str());
            QVERIFY2(fileNameIsSafe(line.substr(colon + 1)), line.c_str());
            QVERIFY2(seen.insert(line).second, ("twice in aplp.dat: " + line).c_str());
        }
    }
}

std::string hugeBody(std::size_t bytes)
{
    std::string body;
    while (body.size() < bytes)
        body += "<p>" + std::to_string(body.size()) + "</p>\r\n";
    return body;
}

const std::vector<HostileCase>& cases()
{
    static const std::vector<HostileCase> all = {
        // Week dates that are no week dates never name a folder or a line.
        {"date naming a hidden folder",
         [](Round& x) { x.offer(".s.sh.", "Keys:authorized_keys"); },
         [](Round& x) { x.checkAndDownloadAll(); },
         {},
         [](Round& x) { QVERIFY(x.messages().contains(QStringLiteral("cannot name a week folder"))); }},
        {"date with a line break",
         [](Round& x) { x.offer("14.12\r\n2026", "A:a.txt"); },
         [](Round& x) { x.checkAndDownloadAll(); },
         {},
         [](Round& x) { QVERIFY(x.messages().contains(QChar(0x240D))); }},
        {"date ending in Ctrl-Z",
         [](Round& x) { x.offer("12.01.2004\x1a", "A:a.txt"); },
         [](Round& x) { x.checkAndDownloadAll(); },
         {}},
        // The week's own files and names with control bytes are never offered.
        {"catalogue naming the week's own files",
         [](Round& x) {
             x.offer("12.01.2004",
                     "One:one.txt:List:aplp.dat:Temp:APLP.TMP:Sel:selpn:Next:SelSledPn:Nul:n\0l.txt:"
                     "Ok:ok.txt"s);
             x.r.serve("12012004/ok.txt", "ok");
             x.r.fixture.write("dats.dat", "12.01.2004\r\n");
             x.r.fixture.write("12012004/aplp.dat", "One:one.txt\r\n");
             x.r.fixture.write("12012004/selpn", "my own list\r\n");
             x.setLastDate("12.01.2004");
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"12012004/ok.txt", "12012004/aplp.dat"},
         [](Round& x) {
             QCOMPARE(x.r.fixture.read("12012004/aplp.dat"), "One:one.txt\r\nOk:ok.txt\r\n"s);
             QVERIFY(x.messages().contains(QStringLiteral("'selpn' is one of the week's own files")));
         }},
        {"catalogue fields with line breaks",
         [](Round& x) {
             x.offer("12.01.2004", "A:a.txt:\r\nB:b.txt:\r\nC:c.txt");
             for (const char* name : {"a.txt", "b.txt", "c.txt"})
                 x.r.serve("12012004/"s + name, name);
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"12012004", "12012004/aplp.dat", "12012004/a.txt", "dats.dat"},
         [](Round& x) { QCOMPARE(x.r.fixture.read("12012004/aplp.dat"), "A:a.txt\r\n"s); }},
        // Only status 200 is a schedule.
        {"not found with 200 in its header",
         [](Round& x) {
             x.offer("12.01.2004", "A:a.txt");
             x.r.serve("12012004/a.txt",
                       FixtureReply::status("HTTP/1.0 404 Not Found", std::string(1200, 'x')));
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"12012004", "12012004/aplp.dat", "files.dat", "error.dat"},
         [](Round& x) {
             QCOMPARE(x.r.fixture.read("12012004/aplp.dat"), ""s);
             QCOMPARE(x.messages(), x.form().text(60));
         }},
        {"huge error page",
         [](Round& x) {
             FixtureReply page = FixtureReply::status("HTTP/1.0 500 Error", std::string(1 << 20, 'e'));
             page.bodyRepeat = 8;
             x.r.serve("datas.dat", page);
         },
         [](Round& x) { x.r.check(); },
         {"error.dat"},
         [](Round& x) { QVERIFY(x.r.fixture.read("error.dat").size() < 66 * 1024); }},
        {"redirect to a local file",
         [](Round& x) {
             x.offer("12.01.2004", "A:a.txt");
             x.r.serve("12012004/a.txt", FixtureReply::redirect(302, "file:///etc/passwd"));
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"12012004", "12012004/aplp.dat", "files.dat"}},
        // Names reach the server as they are and are stored as they are.
        {"reserved characters and a long name",
         [](Round& x) {
             const std::string longName(250, 'n');
             x.offer("12.01.2004", "Odd:a#b c%20d?.txt:Long:" + longName);
             x.r.serve("12012004/a#b c%20d?.txt", "odd");
             x.r.serve("12012004/" + longName, "long");
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"12012004", "12012004/aplp.dat", "12012004/a#b c%20d?.txt", "12012004/" + std::string(250, 'n'),
          "dats.dat"},
         [](Round& x) {
             QCOMPARE(x.r.fixture.read("12012004/a#b c%20d?.txt"), "odd"s);
             QCOMPARE(x.r.fixture.read("12012004/" + std::string(250, 'n')), "long"s);
             QVERIFY(x.messages().isEmpty());
         }},
        // An older week picked again: one line in the week list, its channel list grows.
        {"older week picked again",
         [](Round& x) {
             x.r.serve("datas.dat", "05.01.2004\r\n12.01.2004\r\n");
             x.r.serve("05012004/data.dat", "05.01.2004");
             x.r.serve("05012004/files.dat", "Old:old.txt:New:new.txt");
             x.r.serve("05012004/old.txt", "old again");
             x.r.serve("05012004/new.txt", "new");
             x.r.fixture.write("dats.dat", "05.01.2004\r\n12.01.2004\r\n");
             x.r.fixture.write("05012004/aplp.dat", "Old:old.txt\r\n");
             x.r.fixture.write("05012004/old.txt", "old");
             x.r.fixture.write("12012004/aplp.dat", "Top:top.txt\r\n");
             x.setLastDate("12.01.2004");
         },
         [](Round& x) { x.checkAndDownloadAll(); },
         {"05012004/aplp.dat", "05012004/old.txt", "05012004/new.txt"},
         [](Round& x) {
             QCOMPARE(x.r.fixture.read("05012004/aplp.dat"), "Old:old.txt\r\nNew:new.txt\r\n"s);
             QCOMPARE(x.r.fixture.setting(QStringLiteral("Main"), QStringLiteral("lastdate")),
                      QStringLiteral("12.01.2004"));
             QCOMPARE(x.form().weekSelector()->count(), 2);
         }},
        // The proxy's login goes with the CONNECT of a tunnel, and the server's lines stay out of it.
        {"redirect to https through a proxy with a login",
         [](Round& x) {
             x.r.server.setHandler([](const FixtureRequest& request) {
                 return request.method == "CONNECT"
                     ? FixtureReply::status("HTTP/1.0 403 Forbidden")
                     : FixtureReply::redirect(302, "https://secure.invalid/tv/datas.dat");
             });
         },
         [](Round& x) {
             SettingsPage* settings = x.form().settingsPage();
             settings->useProxy()->setChecked(true);
             settings->proxyHost()->setText(QStringLiteral("127.0.0.1"));
             settings->proxyPort()->setText(QString::number(x.r.server.port()));
             settings->proxyNeedsPassword()->setChecked(true);
             settings->proxyLogin()->setText(QStringLiteral("user"));
             settings->proxyPassword()->setText(QStringLiteral("secret"));
             x.r.check();
         },
         {},
         [](Round& x) {
             const auto requests = x.r.server.requests();
             QCOMPARE(requests.size(), size_t(2));
             const std::string login = "Basic dXNlcjpzZWNyZXQ=";
             QCOMPARE(requests[0].headerLines.back(), "Proxy-Authorization: " + login);
             QCOMPARE(requests[1].method, "CONNECT"s);
             QCOMPARE(requests[1].header("Proxy-Authorization").value_or(""), login);
             QVERIFY(!requests[1].header("Pragma"));
         }},
        // News: a failed or empty reply keeps the saved copy; what is shown stays within a pane.
        {"news page not found with 200 in its header",
         [](Round& x) {
             FixtureReply reply = FixtureReply::status("HTTP/1.0 404 Not Found", "<NumCode>1</NumCode>");
             reply.headers = {"X-Length: 1200"};
             x.r.server.addRoute("/scripts/XML_daily.asp", reply);
             x.r.fixture.write("kurs_cbr.nws", kSaved);
         },
         [](Round& x) { x.fetchNews("FlatSpeedButton40"); },
         {},
         [](Round& x) { QCOMPARE(x.newsStatus(), x.form().text(72)); }},
        {"news reply that is empty",
         [](Round& x) {
             x.r.server.addRoute("/KURS/last_kurs.htm", FixtureReply::ok(""));
             x.r.fixture.write("kurs_nbu.nws", kSaved);
         },
         [](Round& x) { x.fetchNews("FlatSpeedButton39"); },
         {},
         [](Round& x) {
             QCOMPARE(x.pane(), (std::vector<std::string>{"saved", "copy"}));
             QCOMPARE(x.newsStatus(), x.form().text(116));
         }},
        {"news reply of random bytes",
         [](Round& x) {
             x.r.server.addRoute("/newstopic/oreandaru.ini", FixtureReply::ok(std::string(100000, 'z')));
             x.r.fixture.write("oreanda.tmp", "last good reply");
         },
         [](Round& x) { x.fetchNews("FlatSpeedButton43"); },
         {},
         [](Round& x) { QCOMPARE(x.newsStatus(), x.form().text(116)); }},
        {"news reply over the size cap",
         [](Round& x) {
             FixtureReply reply = FixtureReply::ok(std::string(1 << 20, 'n'));
             reply.bodyRepeat = 65;
             x.r.server.addRoute("/data/pravda/topost.txt", reply);
             x.r.fixture.write("ezhe.nws", kSaved);
         },
         [](Round& x) { x.fetchNews("FlatSpeedButton47"); },
         {},
         [](Round& x) { QCOMPARE(x.newsStatus(), x.form().text(115)); }},
        {"dense 5 MB feed",
         [](Round& x) {
             std::string feed;
             while (feed.size() < (5u << 20))
                 feed += "head=\nbody=\ndate=\nurl=\ntopic=[\n";
             x.r.server.addRoute("/newstopic/oreandaru.ini", FixtureReply::ok(feed));
         },
         [](Round& x) { x.fetchLargeNews("FlatSpeedButton43"); },
         {"oreanda.nws", "oreanda.tmp"},
         [](Round& x) {
             const auto shown = x.pane();
             QCOMPARE(shown.size(), news::kPaneMaxLines + 1);
             QCOMPARE(news::readNewsText(x.r.fixture.read("oreanda.nws")), shown);
         }},
        {"5 MB column in one line",
         [](Round& x) {
             std::string column;
             while (column.size() < (5u << 20))
                 column += "word ";
             x.r.server.addRoute("/data/pravda/topost.txt", FixtureReply::ok(column));
         },
         [](Round& x) { x.fetchLargeNews("FlatSpeedButton47"); },
         {"ezhe.nws"},
         [](Round& x) { QCOMPARE(x.pane().size(), 7u); }},
        {"5 MB page for the browser panel",
         [](Round& x) { x.r.server.addRoute("/pages/express.shtml", FixtureReply::ok(hugeBody(5u << 20))); },
         [](Round& x) { x.fetchLargeNews("FlatSpeedButton52"); },
         {"unl.nws"},
         [](Round& x) { QCOMPARE(x.pane().size(), news::kPaneMaxLines + 1); }},
    };
    return all;
}

} // namespace

class NetHostileServerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingLeavesTheWorkingFolderOrBreaksTheStore_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < cases().size(); ++i)
            QTest::newRow(cases()[i].name) << static_cast<int>(i);
    }

    void nothingLeavesTheWorkingFolderOrBreaksTheStore()
    {
        QFETCH(int, index);
        const HostileCase& c = cases()[static_cast<std::size_t>(index)];
        const TempDir root;
        const ScopedEnv tmp("TMPDIR", root.path().string());
        root.write("home/.ssh/authorized_keys", "ssh-ed25519 AAAA user\n");
        Round x;
        c.setUp(x);
        x.r.start();
        const fs::path work = x.r.fixture.workDir();
        const fs::path settings = x.r.fixture.settingsFile().toStdString();
        const FileTree before = fileTree(root.path());
        c.act(x);
        if (QTest::currentTestFailed())
            return;

        std::string outside;
        std::string unexpected;
        for (const std::string& path : changedPaths(before, fileTree(root.path()))) {
            const fs::path full = root.path() / path;
            const std::string inWork = full.lexically_relative(work).string();
            if (full.parent_path() == settings.parent_path())
                continue; // the settings file and its lock
            if (inWork.empty() || inWork.starts_with(".."))
                outside += " '" + path + "'";
            else if (!c.mayWrite.contains(inWork))
                unexpected += " '" + inWork + "'";
        }
        QVERIFY2(outside.empty(), ("written outside the working folder:" + outside).c_str());
        QVERIFY2(unexpected.empty(), ("written in the working folder:" + unexpected).c_str());
        verifyStoreWellFormed(work);
        if (!QTest::currentTestFailed())
            c.verify(x);
    }
};

QTEST_MAIN(NetHostileServerTest)
#include "net_hostile_server_test.moc"

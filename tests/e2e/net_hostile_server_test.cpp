// Hostile schedule servers and news sources on loopback against the real main window. After
// each case every file created, changed or removed anywhere under the case's temporary root is
// listed: nothing may change outside the working folder (but the settings file), nothing inside
// it but what the case may write, and the week list and every channel list stay well-formed.
#include "app/main_window.h"
#include "core/news/news_lines.h"
#include "core/news/rtf.h"
#include "core/store/channel_list.h"
#include "core/store/error_log.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "gui/news/news_page.h"
#include "gui/news/news_pane.h"
#include "gui/widgets/qt_text.h"
#include "support/core/file_tree.h"
#include "support/ui/retrieval_fixture.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <numeric>
#include <random>

using namespace brevio;
using namespace brevio::test;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// What a case may create, change or remove in the working folder; with a content, what the
// file must then hold.
using Writes = std::map<std::string, std::optional<std::string>>;

struct HostileCase
{
    const char* name;
    std::map<std::string, FixtureReply> served; // by path on the server
    std::map<std::string, std::string> store; // the working folder before; the newest week is lastdate
    const char* newsButton; // a news source fetched in load mode; none: check, tick all, download
    Writes writes;
    const char* said = ""; // shown in a box or on the news status line (UTF-8)
    std::size_t paneLines = 0; // how many lines the news pane then shows, when it matters
};

// The schedule server's week 12.01.2004 with `date` as its data.dat and `catalogue` as its
// files.dat, and channel files by name.
std::map<std::string, FixtureReply> week(std::string date, std::string catalogue,
                                         std::map<std::string, FixtureReply> channels = {})
{
    std::map<std::string, FixtureReply> served{
        {"/tv/datas.dat", FixtureReply::ok("12.01.2004\r\n")},
        {"/tv/12012004/data.dat", FixtureReply::ok(std::move(date))},
        {"/tv/12012004/files.dat", FixtureReply::ok(std::move(catalogue))}};
    for (auto& [name, reply] : channels)
        served.emplace("/tv/12012004/" + name, std::move(reply));
    return served;
}

FixtureReply repeated(FixtureReply reply, std::size_t times)
{
    reply.bodyRepeat = times;
    return reply;
}

std::string fiveMegabytesOf(const std::string& piece)
{
    std::string text;
    while (text.size() < (5u << 20))
        text += piece;
    return text;
}

// `size` bytes of noise, the same in every run.
std::string randomBytes(std::size_t size)
{
    std::mt19937 random(17);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

const std::string kSaved = news::linesToRtf({"saved", "copy"});
const std::string kLong(250, 'n');

const std::vector<HostileCase>& cases()
{
    static const std::vector<HostileCase> all = [] {
        std::vector<HostileCase> list = {
            // Names of the week's own files and names with control bytes are never offered.
            {"catalogue naming the week's own files",
             week("12.01.2004", "One:one.txt:L:aplp.dat:T:APLP.TMP:S:selpn:N:SelSledPn:Z:n\0l.txt:Ok:ok.txt"s,
                  {{"ok.txt", FixtureReply::ok("ok")}}),
             {{"dats.dat", "12.01.2004\r\n"},
              {"12012004/aplp.dat", "One:one.txt\r\n"},
              {"12012004/selpn", "mine\r\n"}},
             nullptr,
             {{"12012004/ok.txt", "ok"}, {"12012004/aplp.dat", "One:one.txt\r\nOk:ok.txt\r\n"}},
             "'selpn' is one of the week's own files"},
            {"catalogue fields with line breaks",
             week("12.01.2004", "A:a.txt:\r\nB:b.txt:\r\nC:c.txt",
                  {{"a.txt", FixtureReply::ok("a")}, {"b.txt", FixtureReply::ok("b")}}),
             {},
             nullptr,
             {{"12012004", {}},
              {"12012004/aplp.dat", "A:a.txt\r\n"},
              {"12012004/a.txt", "a"},
              {"dats.dat", {}}},
             "holds a control character"},
            // Only the status code 200 makes a reply a schedule.
            {"not found with 200 in its header",
             week("12.01.2004", "A:a.txt",
                  {{"a.txt", FixtureReply::status("HTTP/1.0 404 Not Found", std::string(1200, 'x'))}}),
             {},
             nullptr,
             {{"error.dat", {}}},
             "Terminated With Error"},
            {"huge error page",
             {{"/tv/datas.dat",
               repeated(FixtureReply::status("HTTP/1.0 500 Error", std::string(1 << 20, 'e')), 8)}},
             {},
             nullptr,
             {{"error.dat",
               store::errorLogRecord("HTTP/1.0 500 Error\r\nContent-Length: 8388608\r\n\r\n",
                                     std::string(8 << 20, 'e'))}}},
            {"redirect to a local file",
             week("12.01.2004", "A:a.txt", {{"a.txt", FixtureReply::redirect(302, "file:///etc/passwd")}}),
             {},
             nullptr,
             {}},
            // Only week dates are offered, whatever else the list holds.
            {"week list of noise",
             [] {
                 auto served = week("12.01.2004", "A:a.txt", {{"a.txt", FixtureReply::ok("a")}});
                 served["/tv/datas.dat"]
                     = FixtureReply::ok(".s.sh.\r\n" + std::string(50u << 20, '9')
                                        + "\r\n\x01\x02\x7f\r\n29.02.2027\r\n31-04-2026\r\n"
                                          "12.01.2004\r\n");
                 return served;
             }(),
             {},
             nullptr,
             {{"12012004", {}},
              {"12012004/aplp.dat", "A:a.txt\r\n"},
              {"12012004/a.txt", "a"},
              {"dats.dat", "12.01.2004\r\n"}}},
            // The stored week under other separators is that week: one line, its channel list grows.
            {"stored week with dashes",
             week("12-01-2004", "One:one.txt:Two:two.txt",
                  {{"one.txt", FixtureReply::ok("one again")}, {"two.txt", FixtureReply::ok("two")}}),
             {{"dats.dat", "12.01.2004\r\n"},
              {"12012004/aplp.dat", "One:one.txt\r\nOwn:own.txt\r\n"},
              {"12012004/one.txt", "1"},
              {"12012004/own.txt", "own"}},
             nullptr,
             {{"12012004/aplp.dat", "One:one.txt\r\nOwn:own.txt\r\nTwo:two.txt\r\n"},
              {"12012004/two.txt", "two"}}},
            // Names reach the server as they are, and long ones are stored.
            {"reserved characters and a long name",
             week("12.01.2004", "Odd:a#b c%20d?.txt:Long:" + kLong,
                  {{"a#b c%20d?.txt", FixtureReply::ok("odd")}, {kLong, FixtureReply::ok("long")}}),
             {},
             nullptr,
             {{"12012004", {}},
              {"12012004/aplp.dat", "Odd:a#b c%20d?.txt\r\nLong:" + kLong + "\r\n"},
              {"12012004/a#b c%20d?.txt", "odd"},
              {"12012004/" + kLong, "long"},
              {"dats.dat", "12.01.2004\r\n"}}},
            // An older week picked again keeps its one line in the week list; its channel list grows.
            {"older week picked again",
             {{"/tv/datas.dat", FixtureReply::ok("05.01.2004\r\n12.01.2004\r\n")},
              {"/tv/05012004/data.dat", FixtureReply::ok("05.01.2004")},
              {"/tv/05012004/files.dat", FixtureReply::ok("Old:old.txt:New:new.txt")},
              {"/tv/05012004/old.txt", FixtureReply::ok("old again")},
              {"/tv/05012004/new.txt", FixtureReply::ok("new")}},
             {{"dats.dat", "05.01.2004\r\n12.01.2004\r\n"},
              {"05012004/aplp.dat", "Old:old.txt\r\n"},
              {"05012004/old.txt", "old"},
              {"12012004/aplp.dat", "Top:top.txt\r\n"}},
             nullptr,
             {{"05012004/aplp.dat", "Old:old.txt\r\nNew:new.txt\r\n"},
              {"05012004/old.txt", "old again"},
              {"05012004/new.txt", "new"}}},
            // News: a failed, empty or marker-less reply keeps the saved copy and shows it.
            {"news not found with 200 in its header",
             {{"/scripts/XML_daily.asp",
               FixtureReply::status("HTTP/1.0 404 Not Found",
                                    "<NumCode>1</NumCode><Value>1</Value>" + std::string(1164, ' '))}},
             {{"kurs_cbr.nws", kSaved}},
             "FlatSpeedButton40",
             {}},
            {"news reply that is empty",
             {{"/KURS/last_kurs.htm", FixtureReply::ok("")}},
             {{"kurs_nbu.nws", kSaved}},
             "FlatSpeedButton39",
             {},
             "No News In The Reply",
             2},
            {"news reply of random bytes",
             {{"/newstopic/oreandaru.ini", FixtureReply::ok(std::string(100000, 'z'))}},
             {{"oreanda.tmp", "last good reply"}},
             "FlatSpeedButton43",
             {},
             "No News In The Reply"},
            // The daily column has no markers: a reply that is no text is no news either.
            {"column of random bytes",
             {{"/data/pravda/topost.txt", FixtureReply::ok(randomBytes(5u << 20))}},
             {{"ezhe.nws", kSaved}},
             "FlatSpeedButton47",
             {},
             "No News In The Reply",
             2},
            // The pane shows the clicked source's copy, not the page of the source before.
            {"news reply over the size cap",
             {{"/data/pravda/topost.txt", repeated(FixtureReply::ok(std::string(1 << 20, 'n')), 65)}},
             {{"ezhe.nws", kSaved}},
             "FlatSpeedButton47",
             {},
             "Reply Too Large",
             2},
            // Large replies are shown within about a second, cut to what a pane shows.
            {"dense 5 MB feed",
             {{"/newstopic/oreandaru.ini",
               FixtureReply::ok(fiveMegabytesOf("head=\nbody=\ndate=\nurl=\ntopic=[\n"))}},
             {},
             "FlatSpeedButton43",
             {{"oreanda.nws", {}}, {"oreanda.tmp", {}}},
             {},
             news::kPaneMaxLines + 1},
            {"5 MB column in one line",
             {{"/data/pravda/topost.txt", FixtureReply::ok(fiveMegabytesOf("word "))}},
             {},
             "FlatSpeedButton47",
             {{"ezhe.nws", {}}},
             {},
             7},
            {"5 MB page for the browser panel",
             {{"/pages/express.shtml",
               FixtureReply::ok(fiveMegabytesOf("<p>one more line of results</p>\r\n"))}},
             {},
             "FlatSpeedButton52",
             {{"unl.nws", {}}},
             {},
             news::kPaneMaxLines + 1},
        };
        // A week date that is no week date names no folder and no line.
        for (const auto& [name, date] : {std::pair{"week date naming a hidden folder", ".s.sh."},
                                         std::pair{"week date with a line break", "14.12\r\n2026"},
                                         std::pair{"week date ending in Ctrl-Z", "12.01.2004\x1a"},
                                         std::pair{"week date of no calendar", "29.02.2027"}})
            list.push_back({name, week(date, "A:a.txt"), {}, nullptr, {}, "cannot name a week folder"});
        return list;
    }();
    return all;
}

bool channelLineIsSafe(const std::string& line)
{
    try {
        const store::ChannelEntry entry = store::splitChannelLine(line);
        store::checkNoControlCharacters(entry.name);
        store::checkBareFileName(entry.fileName);
        return true;
    } catch (const Error&) {
        return false;
    }
}

// dats.dat and every aplp.dat: lines ended by CR LF, each once, each a week date or a channel
// whose file may be written. No channel offer outlives its round, and no week folder is left
// without a channel.
void verifyStoreWellFormed(const fs::path& work)
{
    QVERIFY(!fs::exists(work / "files.dat"));
    for (const auto& entry : fs::directory_iterator(work)) {
        if (!entry.is_directory())
            continue;
        const fs::path list = entry.path() / "aplp.dat";
        const bool onlyAnEmptyList = std::all_of(
            fs::directory_iterator(entry.path()), fs::directory_iterator(),
            [&](const fs::directory_entry& file) { return file.path() == list && fs::file_size(list) == 0; });
        QVERIFY2(!onlyAnEmptyList, entry.path().c_str());
    }
    for (const auto& entry : fs::recursive_directory_iterator(work)) {
        const std::string name = entry.path().filename().string();
        if (name != "dats.dat" && name != "aplp.dat")
            continue;
        const std::string text = store::readFile(entry.path());
        const std::vector<std::string> lines = store::splitLines(text);
        QCOMPARE(store::joinLinesCrLf(lines), text);
        QCOMPARE(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size());
        for (const std::string& line : lines)
            QVERIFY2(name == "dats.dat" ? store::isWeekDate(line) : channelLineIsSafe(line), line.c_str());
    }
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
        // The working folder and the settings are made below the root.
        const TempDir root;
        const ScopedEnv tmp("TMPDIR", root.path().string());
        root.write("home/.ssh/authorized_keys", "ssh-ed25519 AAAA user\n");
        RetrievalFixture r;
        for (const char* stem : {"kurs_nbu", "kurs_cbr", "oreanda", "ezhe", "unl"})
            r.fixture.setSetting(QStringLiteral("Sources"), QString::fromLatin1(stem),
                                 QString::fromStdString(r.server.url("/")));
        for (const auto& [path, reply] : c.served)
            r.server.addRoute(path, reply);
        for (const auto& [path, content] : c.store)
            r.fixture.write(path, content);
        if (c.store.contains("dats.dat"))
            r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("lastdate"),
                                 QString::fromStdString(store::splitLines(c.store.at("dats.dat")).back()));
        MainWindow& form = r.start();
        const fs::path work = r.fixture.workDir();
        const FileTree before = fileTree(root.path());

        if (c.newsButton) {
            form.showNewsPage();
            showNewsLines(form.newsPage()->newsPane(), {"the page of the source before"});
            r.fixture.find<QToolButton>("FlatSpeedButton38")->click();
            QElapsedTimer clock;
            clock.start();
            r.fixture.find<QToolButton>(c.newsButton)->click();
            qInfo("%lld ms from the click to the end of the step", clock.elapsed());
            // A reply that is shown, large or not, is there within about a second; a busy
            // machine gets some slack.
            QVERIFY(c.paneLines == 0 || clock.elapsed() < 3000);
        } else {
            r.fixture.dialogs.confirmAnswers = {true};
            r.check();
            for (const QStringList& weeks : r.fixture.dialogs.weekChoices)
                for (const QString& offered : weeks)
                    QVERIFY2(store::isWeekDate(toData(offered)), qPrintable(offered.left(40)));
            std::vector<int> all(static_cast<std::size_t>(r.page().channelChecklist()->count()));
            std::iota(all.begin(), all.end(), 0);
            r.tick(all);
            // Pressed also where a failed check does not offer it: it must record nothing then.
            r.download();
        }

        const FileTree after = fileTree(root.path());
        const fs::path settings = r.fixture.settingsFile().toStdString();
        std::string outside;
        std::string unexpected;
        for (const std::string& path : changedPaths(before, after)) {
            const fs::path full = root.path() / path;
            const std::string inWork = full.lexically_relative(work).string();
            if (full.parent_path() == settings.parent_path())
                continue; // the settings file and its lock
            if (inWork.starts_with(".."))
                outside += " '" + path + "'";
            else if (!c.writes.contains(inWork))
                unexpected += " '" + inWork + "'";
        }
        QVERIFY2(outside.empty(), ("written outside the working folder:" + outside).c_str());
        QVERIFY2(unexpected.empty(), ("written in the working folder:" + unexpected).c_str());
        for (const auto& [path, content] : c.writes) {
            if (content)
                QVERIFY2(after.at((work / path).lexically_relative(root.path()).string()) == content,
                         path.c_str());
        }
        verifyStoreWellFormed(work);
        const QString said = r.fixture.dialogs.messages.join(QLatin1Char('|')) + QLatin1Char('|')
            + form.newsPage()->statusLine()->text();
        QVERIFY2(said.contains(QString::fromUtf8(c.said)), qPrintable(said));
        if (c.paneLines)
            QCOMPARE(newsPaneLines(form.newsPage()->newsPane()).size(), c.paneLines);
    }
};

QTEST_MAIN(NetHostileServerTest)
#include "net_hostile_server_test.moc"

// A whole round on the real main window against a loopback schedule server: check, tick,
// download, the new week shown; then a second check of the same week.
#include "app/main_window.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/viewing_page.h"
#include "support/ui/retrieval_fixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

const QString kAsk = QStringLiteral("\nНа сервере дата понедельника - ");

QStringList listItems(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Channel files with windows-1251 text, a lone LF, a blank day separator and no final line end.
const std::string kFirst = cp("Первый канал\r\n\r\n06.00 Новости\n07.15 Утро\r\n \r\n");
const std::string kCinema = cp("Кино\r\n\r\n21.00 Фильм «Ночь»") + std::string("\x1A tail", 6);

void serveRound(RetrievalFixture& r)
{
    r.serve("datas.dat", "12.01.2004\r\n05.01.2004\r\n");
    // The server ends the date with a line break: it is not part of the week.
    r.serve("12012004/data.dat", "12.01.2004\r\n");
    r.serve("12012004/files.dat", cp("Первый:first.txt:Спорт 2:sport.txt:Кино:cinema.txt:"));
    r.serve("12012004/first.txt", kFirst);
    r.serve("12012004/sport.txt", cp("Спорт\r\n\r\n10.00 Футбол"));
    r.serve("12012004/cinema.txt", kCinema);
}

} // namespace

class NetUpdateRoundTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newWeekThenTheRestOfIt()
    {
        RetrievalFixture r;
        serveRound(r);
        MainWindow& form = r.start();
        ScriptedDialogs& dialogs = r.fixture.dialogs;

        // First check: a new week, every channel offered unticked.
        dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(dialogs.weekChoices,
                 (QList<QStringList>{{QStringLiteral("12.01.2004"), QStringLiteral("05.01.2004")}}));
        QCOMPARE(dialogs.confirmations,
                 QStringList{form.text(TextId::NewWeekShowChannels) + kAsk + QStringLiteral("12.01.2004")});
        QCOMPARE(r.checklistNames(),
                 (QStringList{QStringLiteral("Первый"), QStringLiteral("Спорт 2"), QStringLiteral("Кино")}));
        QCOMPARE(r.checklistTicks(), (std::vector<bool>{false, false, false}));
        QVERIFY(r.page().channelChecklist()->item(0)->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(r.fixture.read("files.dat"), cp("Первый:first.txt\r\nСпорт 2:sport.txt\r\nКино:cinema.txt"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("newdate")),
                 QStringLiteral("12.01.2004"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("new")), QStringLiteral("1"));
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::TickAndDownload));
        QCOMPARE(r.page().offeredCount(), size_t(3));

        // Download two of them.
        r.tick({0, 2});
        QVERIFY(r.download());
        QCOMPARE(r.fixture.read("12012004/first.txt"), kFirst);
        QCOMPARE(r.fixture.read("12012004/cinema.txt"), kCinema);
        QVERIFY(!r.fixture.exists("12012004/sport.txt"));
        QCOMPARE(r.fixture.read("12012004/aplp.dat"), cp("Первый:first.txt\r\nКино:cinema.txt\r\n"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string("12.01.2004\r\n"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("lastdate")),
                 QStringLiteral("12.01.2004"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("new")), QStringLiteral("0"));
        QVERIFY(!r.fixture.exists("files.dat"));
        QCOMPARE(r.page().channelChecklist()->count(), 0);
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::AllChannelsReceived));
        QCOMPARE(form.weekSelector()->currentText(), QStringLiteral("12.01.2004"));
        QCOMPARE(form.weekSelector()->count(), 1);
        // The view has moved to the new week.
        QCOMPARE(listItems(form.viewingPage()->channelList()),
                 (QStringList{QStringLiteral("Первый"), QStringLiteral("Кино")}));
        QVERIFY(r.page().checkButton()->isVisibleTo(&r.page()));
        QVERIFY(!r.page().downloadButton()->isVisibleTo(&r.page()));
        QVERIFY(r.fixture.dialogs.messages.isEmpty());
        QCOMPARE(r.requestPaths(),
                 (std::vector<std::string>{"/tv/datas.dat", "/tv/12012004/data.dat", "/tv/12012004/files.dat",
                                           "/tv/12012004/first.txt", "/tv/12012004/cinema.txt"}));

        // Second check of the same week: only the channel not loaded yet.
        form.pageButtons()[1]->click();
        dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(dialogs.confirmations.last(),
                 form.text(TextId::NoNewWeekShowChannels) + kAsk + QStringLiteral("12.01.2004"));
        QCOMPARE(r.checklistNames(), QStringList{QStringLiteral("Спорт 2")});
        QCOMPARE(r.checklistTicks(), std::vector<bool>{false});
        QCOMPARE(r.fixture.read("files.dat"), cp("Спорт 2:sport.txt"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("new")), QStringLiteral("0"));

        r.tick({0});
        QVERIFY(r.download());
        QCOMPARE(r.fixture.read("12012004/sport.txt"), cp("Спорт\r\n\r\n10.00 Футбол"));
        QCOMPARE(r.fixture.read("12012004/aplp.dat"),
                 cp("Первый:first.txt\r\nКино:cinema.txt\r\nСпорт 2:sport.txt\r\n"));
        // The same week is not recorded twice.
        QCOMPARE(r.fixture.read("dats.dat"), std::string("12.01.2004\r\n"));
        QCOMPARE(form.weekSelector()->count(), 1);

        // Everything loaded: nothing offered, the memo still asks for ticks.
        form.pageButtons()[1]->click();
        dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.page().channelChecklist()->count(), 0);
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::TickAndDownload));
    }

    void newWeekOffersLoadedChannelsTicked()
    {
        RetrievalFixture r;
        serveRound(r);
        r.fixture.write("dats.dat", "05.01.2004\r\n");
        r.fixture.write("05012004/aplp.dat", cp("Кино:cinema.txt\r\nOld:old.txt\r\n"));
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("lastdate"),
                             QStringLiteral("05.01.2004"));
        r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.checklistTicks(), (std::vector<bool>{false, false, true}));

        // Ticked as offered: the download starts the new week's channel list afresh.
        r.fixture.write("12012004/aplp.dat", "Stale:stale.txt\r\n");
        QVERIFY(r.download());
        QCOMPARE(r.fixture.read("12012004/aplp.dat"), cp("Кино:cinema.txt\r\n"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string("05.01.2004\r\n12.01.2004\r\n"));
        QCOMPARE(r.fixture.form().weekSelector()->currentText(), QStringLiteral("12.01.2004"));
    }

    // A week never joins the week list without a channel: answering No leaves nothing to
    // receive, and the pending week of an earlier check stays pending.
    void answeringNoThenDownloadingRecordsNothing()
    {
        RetrievalFixture r;
        serveRound(r);
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("new"), QStringLiteral("1"));
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("newdate"), QStringLiteral("12.01.2004"));
        MainWindow& form = r.start();
        r.fixture.dialogs.confirmAnswers = {false};
        QVERIFY(r.check());
        QCOMPARE(r.page().channelChecklist()->count(), 0);
        QVERIFY(r.download());
        QCOMPARE(r.requestPaths().size(), size_t(2)); // the download fetched nothing
        QVERIFY(!r.fixture.exists("12012004"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string());
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::NoChannelsToDownload));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("new")), QStringLiteral("1"));
        QVERIFY(!r.page().downloadButton()->isVisibleTo(&r.page()));
    }

    // Nothing ticked of what is on offer: nothing is fetched or recorded, and the download stays
    // offered for the channels the user then ticks.
    void downloadingWithNothingTickedKeepsTheOffer()
    {
        RetrievalFixture r;
        serveRound(r);
        MainWindow& form = r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QVERIFY(r.download());
        QCOMPARE(r.requestPaths().size(), size_t(3));
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::NoChannelTicked));
        QVERIFY(!r.fixture.exists("12012004"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string());
        QVERIFY(r.page().downloadButton()->isVisibleTo(&r.page()));
        QVERIFY(r.page().downloadButton()->isEnabled());

        r.tick({1});
        QVERIFY(r.download());
        QCOMPARE(r.fixture.read("12012004/aplp.dat"), cp("Спорт 2:sport.txt\r\n"));
        QCOMPARE(r.fixture.read("dats.dat"), std::string("12.01.2004\r\n"));
        QCOMPARE(r.page().progressMemo()->toPlainText(), form.text(TextId::AllChannelsReceived));
        QVERIFY(!r.fixture.exists("files.dat"));
    }

    // After a failed catalogue the download is not offered, nothing of the check is recorded,
    // and pressing the download all the same receives and records nothing.
    void aFailedCatalogueRecordsNothing()
    {
        RetrievalFixture r;
        serveRound(r);
        r.serve("12012004/files.dat", FixtureReply::status("HTTP/1.0 404 Not Found"));
        r.fixture.write("dats.dat", "05.01.2004\r\n");
        r.fixture.write("05012004/aplp.dat", "Old:old.txt\r\n");
        r.fixture.write("files.dat", "Stale:stale.txt"); // left by an earlier check
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("lastdate"),
                             QStringLiteral("05.01.2004"));
        r.fixture.setSetting(QStringLiteral("Main"), QStringLiteral("new"), QStringLiteral("0"));
        MainWindow& form = r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.fixture.dialogs.messages, QStringList{form.text(TextId::SessionFailed)});
        QVERIFY(!r.page().downloadButton()->isVisibleTo(&r.page()));
        QVERIFY(!r.fixture.exists("files.dat"));
        QCOMPARE(r.fixture.setting(QStringLiteral("Main"), QStringLiteral("new")), QStringLiteral("0"));
        QVERIFY(!r.fixture.setting(QStringLiteral("Main"), QStringLiteral("newdate")));

        QVERIFY(r.download());
        QCOMPARE(r.requestPaths().size(), size_t(3));
        QVERIFY(r.page().progressMemo()->toPlainText() != form.text(TextId::AllChannelsReceived));
        QCOMPARE(r.fixture.read("dats.dat"), std::string("05.01.2004\r\n"));
        QVERIFY(!r.fixture.exists("12012004"));
    }

    void unsafeNamesFromTheServerWriteNothingOutside()
    {
        RetrievalFixture r;
        r.serve("datas.dat", "12.01.2004\r\n");
        r.serve("12012004/data.dat", "12.01.2004");
        r.serve("12012004/files.dat", "Ok:ok.txt:Up:../up.txt:Deep:a/b.txt:Empty::Last");
        r.serve("12012004/ok.txt", "fine");
        r.server.setHandler(
            [](const FixtureRequest&) { return FixtureReply::ok("should never be asked for"); });
        r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.checklistNames(), QStringList{QStringLiteral("Ok")});
        QCOMPARE(r.fixture.dialogs.messages.size(), 1);
        QVERIFY(r.fixture.dialogs.messages[0].contains(QStringLiteral("'../up.txt'")));
        QVERIFY(r.fixture.dialogs.messages[0].contains(QStringLiteral("'a/b.txt'")));
        QCOMPARE(r.fixture.read("files.dat"), std::string("Ok:ok.txt"));

        // A hand-edited offer file is checked again before anything is fetched or written.
        r.fixture.write("files.dat", "Ok:../../escaped.txt");
        r.tick({0});
        QVERIFY(!r.download());
        QCOMPARE(r.requestPaths().size(), size_t(3));
        QVERIFY(!r.fixture.exists("12012004/aplp.dat"));
        QVERIFY(!std::filesystem::exists(r.fixture.workDir().parent_path() / "escaped.txt"));
        QVERIFY(r.pageButtonsEnabled());
    }

    void aThousandUnsafeNamesAreNamedTwentyAtMost()
    {
        RetrievalFixture r;
        r.serve("datas.dat", "12.01.2004\r\n");
        r.serve("12012004/data.dat", "12.01.2004");
        std::string catalogue;
        for (int i = 0; i < 1000; ++i)
            catalogue += "Up " + std::to_string(i) + ":../up" + std::to_string(i) + ".txt:";
        r.serve("12012004/files.dat", catalogue + "Ok:ok.txt");
        r.start();
        r.fixture.dialogs.confirmAnswers = {true};
        QVERIFY(r.check());
        QCOMPARE(r.checklistNames(), QStringList{QStringLiteral("Ok")});
        QCOMPARE(r.fixture.dialogs.messages.size(), 1);
        const QStringList lines = r.fixture.dialogs.messages[0].split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + 20 + 1);
        QVERIFY(lines[1].contains(QStringLiteral("'../up0.txt'")));
        QVERIFY(lines[20].contains(QStringLiteral("'../up19.txt'")));
        QCOMPARE(lines.last(), QStringLiteral("…"));
    }

    void unsafeServerWeekDateIsRefused()
    {
        RetrievalFixture r;
        r.serve("datas.dat", "12.01.2004\r\n");
        r.serve("12012004/data.dat", "ab/cd/../..");
        r.start();
        QVERIFY(!r.check());
        QVERIFY(r.fixture.dialogs.confirmations.isEmpty());
        QCOMPARE(r.fixture.dialogs.messages.size(), 1);
        QVERIFY(r.fixture.dialogs.messages[0].contains(QStringLiteral("ab/cd/../..")));
        QVERIFY(!r.fixture.setting(QStringLiteral("Main"), QStringLiteral("newdate")));
        QCOMPARE(r.requestPaths().size(), size_t(2));
    }
};

QTEST_MAIN(NetUpdateRoundTest)
#include "net_update_round_test.moc"

// The viewing page on a real main window (offscreen): the day view of a chosen channel, the
// week change, the mode and day buttons, and the "now" view.
#include "core/view/pane_text.h"
#include "gui/settings/settings_page.h"
#include "ui/view_week_data.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QToolButton>

#include <sys/resource.h>

using namespace brevio;
using namespace brevio::test;

namespace {

// Monday of a channel whose shows run past midnight; Tuesday to Sunday one show each.
std::string filmWeek()
{
    return channelFile({{"06.00 Утро", "23.30 Film", "Описание фильма", "А.Б. Author", "0:15 News"},
                        {"10.00 Вторник"},
                        {"10.00 Среда"},
                        {"10.00 Четверг"},
                        {"10.00 Пятница"},
                        {"10.00 Суббота"},
                        {"10.00 Воскресенье"}});
}

QStringList utf8Lines(std::initializer_list<const char*> lines)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

bool anyBold(const QTextEdit* pane)
{
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontWeight() > QFont::Normal)
                return true;
        }
    }
    return false;
}

QList<QTextEdit*> visiblePanes(ViewingPage* page)
{
    QList<QTextEdit*> shown;
    for (QTextEdit* pane : page->schedulePanes()) {
        if (!pane->isHidden())
            shown << pane;
    }
    return shown;
}

// The most memory this process has held so far.
long maxResidentKib()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class ViewPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One 50 MiB line after a day separator: a click shows it cut with the mark, soon, and
    // without holding many copies of it; a long selected list shows its beginning.
    void overLongLinesAreCutAndTheClickStaysQuick()
    {
        constexpr std::size_t kLineBytes = 50u << 20;
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        {
            std::string file = "Header\r\n\r\n06.00 ";
            file.reserve(kLineBytes + 64);
            while (file.size() < kLineBytes)
                file += "word ";
            file += "\r\n07.00 Next\r\n";
            f.write("07122026/k1.txt", file);
            std::string list;
            for (int i = 0; i < 40000; ++i)
                list += "07.00 A show of the selected list - Kanal 1\r\n";
            f.write("07122026/selvs", list);
        }
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        const QStringList sunday = shownLines(page->listPane(6));
        QCOMPARE(sunday.last(), QString("…"));
        QVERIFY(sunday.size() < 40000);

        const long before = maxResidentKib();
        QElapsedTimer clock;
        clock.start();
        clickChannel(page->channelList(), 0);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        const long grown = maxResidentKib() - before;
        QVERIFY2(grown < 4 * long(kLineBytes / 1024), qPrintable(QString::number(grown) + " KiB more"));

        const QStringList monday = shownLines(page->dayPane(0));
        QCOMPARE(monday.size(), 4);
        QCOMPARE(monday[2].size(), int(view::kShownLineBytes) + 1);
        QVERIFY(monday[2].startsWith("06.00 word word"));
        QVERIFY(monday[2].endsWith("…"));
        QCOMPARE(monday[3], QString("07.00 Next"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void shiftedChannelPrefixesTimedLinesOnly()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", filmWeek());
        f.write("times.dat", "Other|5|0\r\nKanal 1|1|0\r\n");
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        QVERIFY(page->selectedButton()->isChecked()); // start-up mode

        clickChannel(page->channelList(), 0);
        QCOMPARE(shownLines(page->dayPane(0)),
                 utf8Lines({"Kanal 1", "", "07:00 06.00 Утро", "00:30 23.30 Film", "Описание фильма",
                            "А.Б. Author", "01:15 0:15 News"}));
        QCOMPARE(shownLines(page->dayPane(6)), utf8Lines({"Kanal 1", "", "11:00 10.00 Воскресенье"}));
        // Choosing a channel switches to "Все" and shows the pane of the day button that is down.
        QVERIFY(page->allButton()->isChecked());
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->dayPane(2)});
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void negativeShiftsWrapIntoTheDay()
    {
        FormFixture f;
        layOutWeek(f, "Minus:minus.txt\r\nMixed:mixed.txt\r\nPlain:plain.txt\r\n");
        f.write("07122026/minus.txt", channelFile({{"0:15 News", "19:00 Show"}}));
        f.write("07122026/mixed.txt", channelFile({{"0:15 News", "19:00 Show"}}));
        f.write("07122026/plain.txt", channelFile({{"0:15 News", "19:00 Show"}}));
        f.write("times.dat", "Minus|0|-30\r\nMixed|-1|30\r\nPlain|0|0\r\n");
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        clickChannel(page->channelList(), 0);
        QCOMPARE(shownLines(page->dayPane(0)),
                 utf8Lines({"Minus", "", "23:45 0:15 News", "18:30 19:00 Show"}));
        clickChannel(page->channelList(), 1);
        QCOMPARE(shownLines(page->dayPane(0)),
                 utf8Lines({"Mixed", "", "23:45 0:15 News", "18:30 19:00 Show"}));
        clickChannel(page->channelList(), 2);
        QCOMPARE(shownLines(page->dayPane(0)), utf8Lines({"Plain", "", "0:15 News", "19:00 Show"}));
        // Tuesday to Sunday have no block in these files: the channel's name alone.
        for (int d = 1; d < ViewingPage::kDays; ++d)
            QCOMPARE(shownLines(page->dayPane(d)), QStringList{"Plain"});
    }

    void channelIsFoundByItsPlaceInTheChannelList()
    {
        FormFixture f;
        // Two channels share a name: only the place tells them apart.
        layOutWeek(f, "E:e.txt\r\nD:d.txt\r\nC:c.txt\r\nB:b.txt\r\nB:a.txt\r\nA:f.txt\r\n");
        for (const char* name : {"a", "b", "c", "d", "e", "f"})
            f.write(std::string("07122026/") + name + ".txt",
                    channelFile({{std::string("08.00 from ") + name}}));
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        clickChannel(page->channelList(), 4);
        QCOMPARE(shownLines(page->dayPane(0)), utf8Lines({"B", "", "08.00 from a"}));
        // Arrow keys choose a channel too.
        page->channelList()->setFocus();
        QTest::keyClick(page->channelList(), Qt::Key_Up);
        QCOMPARE(shownLines(page->dayPane(0)), utf8Lines({"B", "", "08.00 from b"}));
        // A press on the chosen channel fills the panes afresh.
        page->dayPane(0)->clear();
        clickChannel(page->channelList(), 3);
        QCOMPARE(shownLines(page->dayPane(0)), utf8Lines({"B", "", "08.00 from b"}));
    }

    void weekChangeLeavesNoChannelChosen()
    {
        FormFixture f;
        f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n");
        f.write("ag_news.dat", "");
        f.write("30112026/aplp.dat", "Old:old.txt\r\n");
        f.write("30112026/selpn", "07.00 Old pick - Old\r\n");
        f.write("07122026/aplp.dat", "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", filmWeek());
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        clickChannel(page->channelList(), 0);
        QVERIFY(!page->dayPane(0)->document()->isEmpty());

        form.weekSelector()->setCurrentIndex(0);
        page->showChosenWeek();
        QCOMPARE(page->channelList()->count(), 1);
        QCOMPARE(page->channelList()->item(0)->text(), QString("Old"));
        QCOMPARE(page->channelList()->currentRow(), -1);
        QVERIFY(page->channelList()->selectedItems().isEmpty());
        for (int d = 0; d < ViewingPage::kDays; ++d)
            QVERIFY(page->dayPane(d)->document()->isEmpty());
        QCOMPARE(shownLines(page->listPane(0)), QStringList{"07.00 Old pick - Old"});
        QVERIFY(f.dialogs.messages.isEmpty());

        // A week without its channel list: the error, empty channel lists, and its own (here
        // no) lists in the list panes.
        f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n14.12.2026\r\n");
        form.fillWeekSelector();
        form.guard([page] { page->showChosenWeek(); });
        QCOMPARE(f.dialogs.messages, QStringList{"File not found\n14122026/aplp.dat"});
        QCOMPARE(page->channelList()->count(), 0);
        QVERIFY(page->listPane(0)->document()->isEmpty());
    }

    void failuresLeaveThePanesAsTheyStood()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\nLost:lost.txt\r\nBad:bad.txt\r\n");
        f.write("07122026/k1.txt",
                channelFile({{"23.30 Film"}, {"10.00 Day", "25.10 Broken", "11.00 After"}}));
        f.write("07122026/bad.txt", filmWeek());
        f.write("times.dat", "Kanal 1|1|0\r\nBad|x|0\r\n");
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        // A time that is no time of day stops the filling there; the mode stays.
        clickChannel(page->channelList(), 0);
        QCOMPARE(f.dialogs.messages, QStringList{"'25.10' is not a valid time"});
        QCOMPARE(shownLines(page->dayPane(0)), utf8Lines({"Kanal 1", "", "00:30 23.30 Film"}));
        QCOMPARE(shownLines(page->dayPane(1)), utf8Lines({"Kanal 1", "", "11:00 10.00 Day"}));
        QCOMPARE(shownLines(page->dayPane(2)), QStringList{"Kanal 1"});
        QVERIFY(page->selectedButton()->isChecked());

        // The channel file is missing: the panes stay empty.
        clickChannel(page->channelList(), 1);
        QCOMPARE(f.dialogs.messages.last(), QString("File not found\n07122026/lost.txt"));
        for (int d = 0; d < ViewingPage::kDays; ++d)
            QVERIFY(page->dayPane(d)->document()->isEmpty());

        // An unreadable shift: the panes hold the channel name alone.
        clickChannel(page->channelList(), 2);
        QCOMPARE(f.dialogs.messages.last(), QString("'x' is not a valid integer value"));
        for (int d = 0; d < ViewingPage::kDays; ++d)
            QCOMPARE(shownLines(page->dayPane(d)), QStringList{"Bad"});

        // The channel list is gone: nothing else happens.
        std::filesystem::remove(f.workDir() / "07122026" / "aplp.dat");
        clickChannel(page->channelList(), 0);
        QCOMPARE(f.dialogs.messages.last(), QString("File not found\n07122026/aplp.dat"));
        QCOMPARE(f.dialogs.messages.size(), 4);
    }

    void choosingAChannelAgainRemovesBoldMarks()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\nNTV:ntv.txt\r\n");
        f.write("07122026/k1.txt", filmWeek());
        f.write("07122026/ntv.txt", filmWeek());
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        clickChannel(page->channelList(), 0);
        page->dayButton(0)->click();
        QTextEdit* monday = page->dayPane(0);

        clickLine(monday, 3); // highlights 23.30 Film
        clickLine(monday, 3, Qt::RightButton);
        QVERIFY(anyBold(monday));
        // The caret rests in bold text, which new text would take on.
        QTextCursor caret = monday->textCursor();
        caret.setPosition(monday->document()->findBlockByNumber(3).position() + 2);
        monday->setTextCursor(caret);
        QVERIFY(monday->currentCharFormat().fontWeight() > QFont::Normal);

        clickChannel(page->channelList(), 1);
        QCOMPARE(shownLines(monday).first(), QString("NTV"));
        QVERIFY(!anyBold(monday));
        clickLine(monday, 3);
        clickLine(monday, 3, Qt::RightButton);
        QVERIFY(anyBold(monday));
        // Pressing the chosen channel again fills the panes afresh.
        clickChannel(page->channelList(), 1);
        QVERIFY(!anyBold(monday));
        QCOMPARE(shownLines(monday).first(), QString("NTV"));
    }

    void modeAndDayButtonsChooseThePane()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", filmWeek());
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        // Start-up: "Отобранные" on today's weekday (a Wednesday), "Следующий Пн" usable.
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->listPane(2)});
        QVERIFY(page->nextMondayButton()->isEnabled());

        page->nextMondayButton()->click();
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->listPane(7)});
        // "Все" with "Следующий Пн" down: no day button is down, so no pane shows.
        page->allButton()->click();
        QVERIFY(visiblePanes(page).isEmpty());
        QVERIFY(!page->nextMondayButton()->isEnabled());
        page->dayButton(4)->click();
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->dayPane(4)});
        page->selectedButton()->click();
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->listPane(4)});

        // "Сейчас" shows its own pane and locks the day buttons until "Все" or "Отобранные".
        page->nowButton()->click();
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->nowPane()});
        for (int d = 0; d < ViewingPage::kDays; ++d)
            QVERIFY(!page->dayButton(d)->isEnabled());
        QVERIFY(!page->nextMondayButton()->isEnabled());
        page->allButton()->click();
        for (int d = 0; d < ViewingPage::kDays; ++d)
            QVERIFY(page->dayButton(d)->isEnabled());
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->dayPane(4)});
    }

    void nowViewListsOnAirAndComingShowsOfEveryChannel()
    {
        FormFixture f;
        f.clock.set(at(2026, 12, 9, 20, 0)); // Wednesday 20:00
        layOutWeek(f, "Alpha:a.txt\r\nMissing:m.txt\r\nBeta:b.txt\r\n");
        const std::vector<std::string> day = {"06.00 Morning", "18.30 News", "Описание",   "19.00 Show",
                                              "20.30 Film",    "23.30 Late", "00.30 Night"};
        const std::string week = channelFile({day, day, day, day, day, day, day});
        f.write("07122026/a.txt", week);
        f.write("07122026/b.txt", week);
        f.write("times.dat", "Beta|1|0\r\n");
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        form.settingsPage()->nowHours()->setValue(0);
        page->nowButton()->click();
        // Alpha's 19.00 show is on the air; Beta's (shifted to 20:00) starts right now.
        QCOMPARE(shownLines(page->nowPane()),
                 QStringList({"19:00 19.00 Show - Alpha", "20:00 19.00 Show - Beta"}));

        form.settingsPage()->nowHours()->setValue(1);
        page->nowButton()->click();
        QCOMPARE(
            shownLines(page->nowPane()),
            QStringList({"19:00 19.00 Show - Alpha", "20:00 19.00 Show - Beta", "20:30 20.30 Film - Alpha"}));

        // Near midnight the lines stand by time of day alone.
        f.clock.set(at(2026, 12, 9, 23, 0));
        form.settingsPage()->nowHours()->setValue(3);
        page->nowButton()->click();
        // Beta's 20.30 film (21:30 there) is still on the air; 00:30 stands above 23:30.
        QCOMPARE(
            shownLines(page->nowPane()),
            QStringList({"00:30 23.30 Late - Beta", "00:30 00.30 Night - Alpha", "01:30 00.30 Night - Beta",
                         "21:30 20.30 Film - Beta", "23:30 23.30 Late - Alpha"}));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void nowViewWithoutTodaysWeekShowsNothing()
    {
        FormFixture f;
        f.write("dats.dat", "30.11.2026\r\n");
        f.write("ag_news.dat", "");
        f.write("30112026/aplp.dat", "Old:old.txt\r\n");
        f.write("30112026/old.txt", channelFile({{"12.00 Noon"}, {"12.00 Noon"}, {"12.00 Noon"}}));
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        page->nowButton()->click();
        QVERIFY(page->nowPane()->document()->isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());
        // The pane shown before stays, and the day buttons stay usable.
        QCOMPARE(visiblePanes(page), QList<QTextEdit*>{page->listPane(2)});
        QVERIFY(page->dayButton(0)->isEnabled());
    }

    void nowViewStopsAtAnInvalidTimeAndTheWindowCarriesOn()
    {
        FormFixture f;
        f.clock.set(at(2026, 12, 7, 9, 0)); // Monday 09:00
        layOutWeek(f, "Good:good.txt\r\nShifted:bad.txt\r\n");
        f.write("07122026/good.txt", channelFile({{"08.30 Breakfast", "10.00 Talk"}}));
        f.write("07122026/bad.txt", channelFile({{"08.00 Early", "24.10 Broken"}}));
        f.write("times.dat", "Shifted|0|15\r\n");
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        form.settingsPage()->nowHours()->setValue(2);

        page->nowButton()->click();
        QCOMPARE(f.dialogs.messages, QStringList{"'24.10' is not a valid time"});
        QCOMPARE(shownLines(page->nowPane()),
                 QStringList({"08:30 08.30 Breakfast - Good", "10:00 10.00 Talk - Good"}));
        page->allButton()->click();
        QVERIFY(page->dayButton(0)->isEnabled());
        clickChannel(page->channelList(), 0);
        QCOMPARE(shownLines(page->dayPane(0)), QStringList({"Good", "", "08.30 Breakfast", "10.00 Talk"}));
        QCOMPARE(f.dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(ViewPageTest)
#include "view_page_test.moc"

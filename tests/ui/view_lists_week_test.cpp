// The selected lists stay with their week, and handlers act on the channel shown as selected:
// a real main window (offscreen) driven with the mouse, the keyboard and the accessibility
// interface, checked by the bytes of the files before and after.
#include "gui/settings/settings_page.h"
#include "ui/view_week_data.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QSpinBox>
#include <QToolButton>

#include <filesystem>

using namespace brevio;
using namespace brevio::test;

namespace {

// Wednesday of a channel: line 2 of its day pane is the show at 20.00.
std::string wednesdayShow(const char* title)
{
    const std::vector<std::string> none = {"06.00 Утро"};
    return channelFile({none, none, {std::string("20.00 ") + title}, none, none, none, none});
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Moves the week selector one week up or down with the keyboard, as a user picks a week.
void stepWeek(MainWindow& form, Qt::Key key)
{
    form.weekSelector()->setFocus();
    QTest::keyClick(form.weekSelector(), key);
}

// Opens the settings page and deletes the week in row `row` of its week list, by mouse.
void deleteWeek(FormFixture& f, int row)
{
    click(f.form().pageButtons()[2]);
    clickChannel(f.form().settingsPage()->weekList(), row);
    click(f.find<QToolButton>("FlatSpeedButton29"));
    click(f.form().pageButtons()[0]);
}

// Asks to remove the first entry of Wednesday's list, with a click in the list pane.
void offerRemoval(FormFixture& f, bool answer)
{
    ViewingPage* page = f.form().viewingPage();
    click(page->selectedButton());
    f.dialogs.confirmAnswers = {answer};
    clickLine(page->listPane(2), 0);
}

// Picks the 20.00 show of Wednesday's day pane into its list with a left and a right click.
void pickWednesdayShow(ViewingPage* page)
{
    click(page->dayButton(2));
    clickLine(page->dayPane(2), 2);
    clickLine(page->dayPane(2), 2, Qt::RightButton);
}

enum class Choice { Mouse, Keyboard, Accessibility };

// Selects `row` of `list` the way a user or an assistive tool does.
void choose(QListWidget* list, int row, Choice how)
{
    switch (how) {
    case Choice::Mouse:
        clickChannel(list, row);
        break;
    case Choice::Keyboard:
        list->setFocus();
        for (int r = list->currentRow(); r < row; ++r)
            QTest::keyClick(list, Qt::Key_Down);
        break;
    case Choice::Accessibility: {
        // A screen reader selects an item and leaves the keyboard's current item where it was.
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
        QVERIFY(view && view->tableInterface());
        QVERIFY(view->tableInterface()->selectRow(row));
        break;
    }
    }
}

} // namespace

class ViewListsWeekTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deletingTheShownWeekLeavesNoListOfItInThePanes()
    {
        FormFixture f;
        f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n");
        f.write("ag_news.dat", "");
        f.setSetting("Main", "lastdate", "07.12.2026");
        f.write("30112026/aplp.dat", "Kanal 1:k1.txt\r\n");
        f.write("30112026/selsr", "08.00 Old - Kanal 1\r\n");
        f.write("07122026/aplp.dat", "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", wednesdayShow("New film"));
        const std::string newest = "19.00 A - X\r\n21.00 B - Y\r\n";
        f.write("07122026/selsr", newest);
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        stepWeek(form, Qt::Key_Up);
        QCOMPARE(shownLines(page->listPane(2)), QStringList{"08.00 Old - Kanal 1"});
        deleteWeek(f, 0);
        QCOMPARE(f.dialogs.messages, QStringList{"The Week Is Successfully Deleted"});
        QCOMPARE(form.weekSelector()->currentText(), QString("07.12.2026"));
        QCOMPARE(shownLines(page->listPane(2)), QStringList({"19.00 A - X", "21.00 B - Y"}));

        // A removal answered No writes nothing; an added show joins the newest week's own list.
        offerRemoval(f, false);
        QCOMPARE(f.dialogs.confirmations.size(), 1);
        QCOMPARE(f.read("07122026/selsr"), newest);
        clickChannel(page->channelList(), 0);
        pickWednesdayShow(page);
        QCOMPARE(f.read("07122026/selsr"),
                 std::string("19.00 A - X\r\n20.00 New film - Kanal 1\r\n21.00 B - Y\r\n"));
        QVERIFY(!std::filesystem::exists(f.workDir() / "30112026"));
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    void aWeekWithoutChannelListShowsAndWritesOnlyItsOwnLists()
    {
        FormFixture f;
        f.write("dats.dat", "07.12.2026\r\n14.12.2026\r\n");
        f.write("ag_news.dat", "");
        f.write("07122026/aplp.dat", "Kanal 1:k1.txt\r\n");
        const std::string older = "19.00 A - X\r\n21.00 B - Y\r\n";
        f.write("07122026/selsr", older);
        f.write("14122026/selsr", "10.00 Kept - Z\r\n");

        // At start-up and when chosen, the week without channel list shows its own lists.
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();
        QCOMPARE(shownLines(page->listPane(2)), QStringList{"10.00 Kept - Z"});
        QVERIFY(f.dialogs.messages.isEmpty());
        stepWeek(form, Qt::Key_Up);
        QCOMPARE(shownLines(page->listPane(2)), QStringList({"19.00 A - X", "21.00 B - Y"}));
        QCOMPARE(page->channelList()->count(), 1);
        stepWeek(form, Qt::Key_Down);
        QCOMPARE(f.dialogs.messages, QStringList{"File not found\n14122026/aplp.dat"});
        QCOMPARE(page->channelList()->count(), 0);
        QCOMPARE(shownLines(page->listPane(2)), QStringList{"10.00 Kept - Z"});
        QVERIFY(page->listPane(1)->document()->isEmpty());

        offerRemoval(f, false);
        QCOMPARE(f.read("14122026/selsr"), std::string("10.00 Kept - Z\r\n"));
        offerRemoval(f, true);
        QCOMPARE(f.read("14122026/selsr"), std::string());
        QCOMPARE(f.read("07122026/selsr"), older);
    }

    void theChannelActedOnIsTheSelectedOne_data()
    {
        QTest::addColumn<Choice>("how");
        QTest::newRow("mouse") << Choice::Mouse;
        QTest::newRow("keyboard") << Choice::Keyboard;
        QTest::newRow("accessibility") << Choice::Accessibility;
    }

    void theChannelActedOnIsTheSelectedOne()
    {
        QFETCH(Choice, how);
        FormFixture f;
        layOutWeek(f, "СТС:sts.txt\r\nРоссия 1:r1.txt\r\nНТВ:ntv.txt\r\n");
        f.write("07122026/sts.txt", wednesdayShow("STS show"));
        f.write("07122026/r1.txt", wednesdayShow("R1 show"));
        f.write("07122026/ntv.txt", wednesdayShow("NTV show"));
        const std::string ntvLine = cp("НТВ|1|0\r\n");
        f.write("times.dat", cp("СТС|1|0\r\nРоссия 1|-2|30\r\n") + ntvLine);
        MainWindow& form = f.start(true);
        ViewingPage* page = form.viewingPage();

        // The day panes and a picked show name the selected channel.
        clickChannel(page->channelList(), 0);
        choose(page->channelList(), 1, how);
        if (how == Choice::Accessibility)
            QCOMPARE(page->channelList()->currentRow(), 0); // the case that tells them apart
        QCOMPARE(shownLines(page->dayPane(2)), QStringList({"Россия 1", "", "18:30 20.00 R1 show"}));
        pickWednesdayShow(page);
        QCOMPARE(f.read(std::string(kWeekFolder) + "selsr"), cp("18:30 20.00 R1 show - Россия 1\r\n"));

        // The shift panel shows and stores the selected channel's shift.
        click(form.pageButtons()[2]);
        click(f.find<QToolButton>("FlatSpeedButton22"));
        QListWidget* channels = form.settingsPage()->channelList();
        clickChannel(channels, 0);
        QCOMPARE(f.find<QSpinBox>("RxSpinEdit7")->value(), 1);
        choose(channels, 1, how);
        QCOMPARE(f.find<QSpinBox>("RxSpinEdit7")->value(), -2);
        QCOMPARE(f.find<QSpinBox>("RxSpinEdit8")->value(), 30);
        f.find<QSpinBox>("RxSpinEdit7")->setValue(5);
        click(f.find<QToolButton>("FlatSpeedButton34"));
        QCOMPARE(f.read("times.dat"), cp("СТС|1|0\r\nРоссия 1|5|30\r\n") + ntvLine);

        // Deleting deletes the selected channel.
        click(f.find<QToolButton>("FlatSpeedButton33"));
        clickChannel(channels, 0);
        choose(channels, 1, how);
        click(f.find<QToolButton>("FlatSpeedButton30"));
        QCOMPARE(f.read(std::string(kWeekFolder) + "aplp.dat"), cp("СТС:sts.txt\r\nНТВ:ntv.txt\r\n"));
        QVERIFY(!f.exists(std::string(kWeekFolder) + "r1.txt"));
        QCOMPARE(f.dialogs.messages, QStringList({"Done", "The Channel Is Successfully Deleted"}));
    }
};

QTEST_MAIN(ViewListsWeekTest)
#include "view_lists_week_test.moc"

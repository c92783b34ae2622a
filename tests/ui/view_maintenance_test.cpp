// Channel and week upkeep on the settings page of a real main window (offscreen): the time-shift
// panel, deleting a channel and a week, and reordering the channel list.
#include "gui/printing/printing_page.h"
#include "gui/settings/maintenance_controls.h"
#include "gui/settings/settings_page.h"
#include "ui/view_week_data.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include <filesystem>

using namespace brevio;
using namespace brevio::test;

namespace {

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// A week of three channels, opened on the settings page.
struct UpkeepFixture
{
    FormFixture f;
    SettingsPage* page = nullptr;
    MaintenanceControls* upkeep = nullptr;

    explicit UpkeepFixture(const std::string& channelList
                           = "Sport:s.txt\r\nSport 2:s2.txt\r\nНовости:n.txt\r\n")
    {
        layOutWeek(f, channelList);
        for (const char* file : {"s.txt", "s2.txt", "n.txt"})
            f.write(std::string(kWeekFolder) + file, channelFile({{"10.00 Show"}}));
    }

    void start()
    {
        MainWindow& form = f.start(true);
        form.pageButtons()[2]->click();
        page = form.settingsPage();
        upkeep = form.findChild<MaintenanceControls*>();
    }

    QListWidget* channels() const { return page->channelList(); }
    QToolButton* button(const char* name) { return f.find<QToolButton>(name); }
    QSpinBox* hours() { return f.find<QSpinBox>("RxSpinEdit7"); }
    QSpinBox* minutes() { return f.find<QSpinBox>("RxSpinEdit8"); }
};

} // namespace

class ViewMaintenanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shiftModeShowsAndStoresTheShiftOfTheClickedChannel()
    {
        UpkeepFixture u;
        u.f.write("times.dat", cp("Sport|1|15\r\nНовости|2|0\r\nSport|-3|-30\r\nSport 2|bad|0\r\n"));
        u.start();
        QWidget* panel = u.f.find<QWidget>("Panel9");
        QVERIFY(panel->isHidden());

        // Outside shift mode a click only selects.
        clickChannel(u.channels(), 0);
        QCOMPARE(u.hours()->value(), 0);

        u.button("FlatSpeedButton22")->click();
        QVERIFY(panel->isVisible());
        QVERIFY(!u.button("FlatSpeedButton30")->isEnabled());
        QVERIFY(u.f.find<QLabel>("Label15")->wordWrap());

        // Two lines for the channel: the last counts; "Sport 2" does not match "Sport".
        clickChannel(u.channels(), 0);
        QCOMPARE(u.hours()->value(), -3);
        QCOMPARE(u.minutes()->value(), -30);
        clickChannel(u.channels(), 2);
        QCOMPARE(u.hours()->value(), 2);
        QCOMPARE(u.minutes()->value(), 0);

        // A line that holds no integers: the conversion error, and the spin edits show 0.
        u.hours()->setValue(5);
        clickChannel(u.channels(), 1);
        QCOMPARE(u.f.dialogs.messages, QStringList{"'bad' is not a valid integer value"});
        QCOMPARE(u.hours()->value(), 0);

        // Storing replaces both lines of the channel in place and keeps the others.
        clickChannel(u.channels(), 0);
        u.hours()->setValue(0);
        u.minutes()->setValue(45);
        u.button("FlatSpeedButton34")->click();
        QCOMPARE(u.f.dialogs.messages.last(), QString("Done"));
        QCOMPARE(u.f.read("times.dat"), cp("Sport|0|45\r\nНовости|2|0\r\nSport|0|45\r\nSport 2|bad|0\r\n"));

        u.button("FlatSpeedButton33")->click();
        QVERIFY(panel->isHidden());
        QVERIFY(u.button("FlatSpeedButton30")->isEnabled());
        QVERIFY(!u.upkeep->inShiftMode());
    }

    void storingWithoutAChannelTouchesNothing()
    {
        UpkeepFixture u;
        u.start();
        u.button("FlatSpeedButton22")->click();
        u.button("FlatSpeedButton34")->click();
        QCOMPARE(u.f.dialogs.messages,
                 QStringList{"The Channel For Which We Set The Time Correction Is Not Selected"});
        QVERIFY(!u.f.exists("times.dat"));

        // The first shift of a channel is appended; a zero shift is a line like any other.
        clickChannel(u.channels(), 2);
        u.button("FlatSpeedButton34")->click();
        QCOMPARE(u.f.read("times.dat"), cp("Новости|0|0\r\n"));
    }

    void deletingAChannelRewritesTheWeekAndTheThreeLists()
    {
        UpkeepFixture u;
        u.start();
        u.button("FlatSpeedButton30")->click();
        QCOMPARE(u.f.dialogs.messages, QStringList{"List index out of bounds (-1)"});

        clickChannel(u.channels(), 0);
        u.button("FlatSpeedButton30")->click();
        QCOMPARE(u.f.dialogs.messages.last(), QString("The Channel Is Successfully Deleted"));
        QCOMPARE(u.f.read(std::string(kWeekFolder) + "aplp.dat"), cp("Sport 2:s2.txt\r\nНовости:n.txt\r\n"));
        QVERIFY(!u.f.exists(std::string(kWeekFolder) + "s.txt"));
        QVERIFY(u.f.exists(std::string(kWeekFolder) + "s2.txt"));
        const QStringList rest{"Sport 2", QString::fromUtf8("Новости")};
        QCOMPARE(itemTexts(u.channels()), rest);
        QCOMPARE(itemTexts(u.f.form().viewingPage()->channelList()), rest);
        QCOMPARE(itemTexts(u.f.form().printingPage()->channelChecklist()), rest);
    }

    void aChannelStaysListedWhenItsWeekCannotBeRewritten()
    {
        UpkeepFixture u("Sport:../outside.txt\r\nNews:n.txt\r\n");
        u.f.write("outside.txt", "keep");
        u.start();
        clickChannel(u.channels(), 0);
        u.button("FlatSpeedButton30")->click();
        QCOMPARE(u.f.dialogs.messages.size(), 1);
        QVERIFY(u.f.dialogs.messages.first() != QString("The Channel Is Successfully Deleted"));
        QCOMPARE(itemTexts(u.channels()), QStringList({"Sport", "News"}));
        QCOMPARE(u.f.read("outside.txt"), std::string("keep"));
    }

    void theNewestWeekIsRefusedAndAnOlderOneGoesWithItsFolder()
    {
        UpkeepFixture u;
        u.f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n");
        u.f.write("30112026/aplp.dat", "Old:o.txt\r\n");
        u.f.write("30112026/o.txt", "x");
        u.f.setSetting("Main", "lastdate", "07.12.2026");
        u.start();
        QListWidget* weeks = u.page->weekList();
        QComboBox* selector = u.f.form().weekSelector();
        QCOMPARE(itemTexts(weeks), QStringList({"30.11.2026", "07.12.2026"}));

        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.dialogs.messages, QStringList{"List index out of bounds (-1)"});

        weeks->setCurrentRow(1);
        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.dialogs.messages.last(), QString("It Is The Last Downloaded Week. It Cannot Be Delete"));
        QCOMPARE(weeks->count(), 2);
        QCOMPARE(u.f.read("dats.dat"), std::string("30.11.2026\r\n07.12.2026\r\n"));

        // The older week, shown in the selector at the time.
        selector->setCurrentIndex(0);
        weeks->setCurrentRow(0);
        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.dialogs.messages.last(), QString("The Week Is Successfully Deleted"));
        QCOMPARE(itemTexts(weeks), QStringList{"07.12.2026"});
        QCOMPARE(selector->count(), 1);
        QCOMPARE(selector->currentText(), QString("07.12.2026"));
        QCOMPARE(u.f.read("dats.dat"), std::string("07.12.2026\r\n"));
        QVERIFY(!std::filesystem::exists(u.f.workDir() / "30112026"));
        QVERIFY(u.f.exists("07122026/aplp.dat"));
    }

    void aWeekWithoutFolderLeavesTheListsAndSaysSo()
    {
        UpkeepFixture u;
        u.f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n");
        u.f.setSetting("Main", "lastdate", "07.12.2026");
        u.start();
        u.page->weekList()->setCurrentRow(0);
        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.dialogs.messages,
                 QStringList{"Attempt To Delete The Directory With Files Of The Week Failed"});
        QCOMPARE(u.f.read("dats.dat"), std::string("07.12.2026\r\n"));
        QCOMPARE(u.f.form().weekSelector()->count(), 1);
    }

    void aLineThatIsNoWeekDateLeavesTheListAndTouchesNoFolder()
    {
        UpkeepFixture u;
        // ".s.sh." would make the folder ".ssh/" under the old folder rule.
        u.f.write("dats.dat", "30.11.2026\r\n.s.sh.\r\n07.12.2026\r\n");
        u.f.write(".ssh/authorized_keys", "key");
        u.f.setSetting("Main", "lastdate", "07.12.2026");
        u.start();
        clickChannel(u.page->weekList(), 1);
        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.dialogs.messages.last(),
                 QString("Attempt To Delete The Directory With Files Of The Week Failed"));
        QCOMPARE(u.f.read("dats.dat"), std::string("30.11.2026\r\n07.12.2026\r\n"));
        QCOMPARE(itemTexts(u.page->weekList()), QStringList({"30.11.2026", "07.12.2026"}));
        QCOMPARE(u.f.read(".ssh/authorized_keys"), std::string("key"));
    }

    void aLineOfMegabytesIsShownCutAndKeptWhole()
    {
        UpkeepFixture u;
        const std::string huge(2'000'000, 'x');
        u.f.write("dats.dat", "30.11.2026\r\n" + huge + "\r\n07.12.2026\r\n");
        u.f.setSetting("Main", "lastdate", "07.12.2026");
        u.start();
        QListWidget* weeks = u.page->weekList();
        QCOMPARE(weeks->item(1)->text().size(), qsizetype(huge.size()));
        // Laid out and painted is only its beginning: the page answers at once.
        QVERIFY(weeks->sizeHintForColumn(0) < 5000);
        QElapsedTimer painting;
        painting.start();
        weeks->repaint();
        u.f.form().weekSelector()->repaint();
        QVERIFY2(painting.elapsed() < 2000, QByteArray::number(painting.elapsed()));
        // Deleting another week writes the long line back as it was.
        clickChannel(weeks, 0);
        u.button("FlatSpeedButton29")->click();
        QCOMPARE(u.f.read("dats.dat"), huge + "\r\n07.12.2026\r\n");
    }

    void aDropMovesTheSelectedChannelToTheItemOrTheEnd()
    {
        UpkeepFixture u("A:a\r\nB:b\r\nC:c\r\nD:d\r\n");
        u.start();
        QListWidget* list = u.channels();
        const auto centre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
        const QPoint below(5, list->visualItemRect(list->item(3)).bottom() + 20);

        list->setCurrentRow(1);
        QVERIFY(u.upkeep->acceptsChannelDrag(list));
        QVERIFY(!u.upkeep->acceptsChannelDrag(u.f.form().viewingPage()->channelList()));
        u.upkeep->dropChannel(centre(3));
        QCOMPARE(itemTexts(list), QStringList({"A", "C", "D", "B"}));
        QCOMPARE(list->currentRow(), 3);
        u.upkeep->dropChannel(centre(3));
        QCOMPARE(itemTexts(list), QStringList({"A", "C", "D", "B"}));

        list->setCurrentRow(0);
        u.upkeep->dropChannel(below);
        QCOMPARE(itemTexts(list), QStringList({"C", "D", "B", "A"}));
        u.upkeep->dropChannel(centre(0));
        QCOMPARE(itemTexts(list), QStringList({"A", "C", "D", "B"}));

        // Nothing is stored, and the other lists keep the file's order.
        QCOMPARE(u.f.read(std::string(kWeekFolder) + "aplp.dat"),
                 std::string("A:a\r\nB:b\r\nC:c\r\nD:d\r\n"));
        QCOMPARE(itemTexts(u.f.form().viewingPage()->channelList()), QStringList({"A", "B", "C", "D"}));

        // In shift mode the list takes no drops.
        u.button("FlatSpeedButton22")->click();
        QVERIFY(!u.upkeep->acceptsChannelDrag(list));
    }
};

QTEST_MAIN(ViewMaintenanceTest)
#include "view_maintenance_test.moc"

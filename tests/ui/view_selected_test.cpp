// Picking shows into the selected lists and removing them, with real mouse clicks on the panes
// of a main window (offscreen).
#include "gui/settings/settings_page.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QCheckBox>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// Monday's pane, line by line: 0 the channel, 1 the separator, 2 06.00, 3 19.30, 4 19.45 with
// two description lines, 7 23.30, 8 00.30 with one description line.
std::string pickWeek()
{
    const std::vector<std::string> plainDay = {"10.00 Day show"};
    return channelFile({{"06.00 Утро", "19.30 News", "19.45 Film", "Фильм, часть первая", "А.Б. Author",
                         "23.30 Late", "00.30 Night", "Ночной повтор"},
                        plainDay,
                        plainDay,
                        plainDay,
                        plainDay,
                        plainDay,
                        {"22.00 Sunday film", "00.30 Sunday night"}});
}

struct PickFixture
{
    FormFixture f;
    ViewingPage* page = nullptr;

    // `lists`: selected-list files to lay out first (name, UTF-8 text).
    explicit PickFixture(std::initializer_list<std::pair<const char*, const char*>> lists = {})
    {
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", pickWeek());
        for (const auto& [name, text] : lists)
            f.write(std::string(kWeekFolder) + name, cp(text));
        start();
    }

    void start()
    {
        page = f.start(true).viewingPage();
        clickChannel(page->channelList(), 0);
        page->dayButton(0)->click();
    }

    QTextEdit* monday() const { return page->dayPane(0); }
    std::string list(const char* name) const { return f.read(std::string(kWeekFolder) + name); }
};

bool isBold(const QTextEdit* pane, int line)
{
    QTextCursor at(pane->document()->findBlockByNumber(line));
    at.movePosition(QTextCursor::NextCharacter);
    return at.charFormat().fontWeight() > QFont::Normal;
}

// The point of a pane at (line, column); column -1 is the line's end.
QPoint pointAt(const QTextEdit* pane, std::pair<int, int> at)
{
    const QTextBlock block = pane->document()->findBlockByNumber(at.first);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + (at.second < 0 ? block.length() - 1 : at.second));
    return pane->cursorRect(cursor).center();
}

// Presses the left button at `from`, moves to `to` and lets go there.
void drag(QTextEdit* pane, std::pair<int, int> from, std::pair<int, int> to)
{
    QTest::mousePress(pane->viewport(), Qt::LeftButton, {}, pointAt(pane, from));
    QTest::mouseMove(pane->viewport(), pointAt(pane, to));
    QTest::mouseRelease(pane->viewport(), Qt::LeftButton, {}, pointAt(pane, to));
}

// Start and end of the highlight as (line, column) pairs.
QList<int> highlight(const QTextEdit* pane)
{
    const QTextCursor c = pane->textCursor();
    const QTextDocument* d = pane->document();
    const QTextBlock first = d->findBlock(c.selectionStart());
    const QTextBlock last = d->findBlock(c.selectionEnd());
    return {first.blockNumber(), c.selectionStart() - first.position(), last.blockNumber(),
            c.selectionEnd() - last.position()};
}

} // namespace

class ViewSelectedTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leftClickHighlightsTheWholeShow()
    {
        PickFixture p;
        QTextEdit* pane = p.monday();
        const int authorLength = static_cast<int>(QString::fromUtf8("А.Б. Author").size());
        for (int line : {4, 5, 6}) {
            clickLine(pane, line);
            QCOMPARE(highlight(pane), QList<int>({4, 0, 6, authorLength}));
        }
        // A second click inside the highlight keeps it on the show.
        clickLine(pane, 5);
        QCOMPARE(highlight(pane), QList<int>({4, 0, 6, authorLength}));
        clickLine(pane, 8);
        QCOMPARE(highlight(pane),
                 QList<int>({8, 0, 9, static_cast<int>(QString::fromUtf8("Ночной повтор").size())}));
        // The channel line and the empty separator line highlight nothing.
        for (int line : {0, 1}) {
            clickLine(pane, line);
            QVERIFY(!pane->textCursor().hasSelection());
        }
        QVERIFY(p.f.dialogs.messages.isEmpty());
    }

    void rightClickAddsTheShowInTimeOrderAndWritesTheList()
    {
        PickFixture p({{"selpn", "19.30 Talk - X\r\n19:45 Other - Y\r\nСписок без времени\r\n"}});
        QTextEdit* pane = p.monday();
        clickLine(pane, 5);
        clickLine(pane, 5, Qt::RightButton);
        QVERIFY(p.f.dialogs.messages.isEmpty());
        // Before the equal 19:45 and after 19.30; the three lines of the show stay three lines.
        const char* expected
            = "19.30 Talk - X\r\n19.45 Film\r\nФильм, часть первая\r\nА.Б. Author - Kanal 1\r\n"
              "19:45 Other - Y\r\nСписок без времени\r\n";
        QCOMPARE(p.list("selpn"), cp(expected));
        QCOMPARE(shownLines(p.page->listPane(0)),
                 QStringList({"19.30 Talk - X", "19.45 Film", "Фильм, часть первая", "А.Б. Author - Kanal 1",
                              "19:45 Other - Y", "Список без времени"}));
        QVERIFY(isBold(pane, 4) && isBold(pane, 6));
        QVERIFY(!isBold(pane, 3) && !isBold(pane, 7));
        // No context menu came up for the right button.
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(pane->contextMenuPolicy(), Qt::NoContextMenu);

        // The same show again is refused and nothing is written.
        p.f.write(std::string(kWeekFolder) + "selpn", cp(expected) + "marker\r\n");
        clickLine(pane, 5, Qt::RightButton);
        QCOMPARE(p.f.dialogs.messages, QStringList{"This Record Already Exists In The Selected List"});
        QCOMPARE(p.list("selpn"), cp(expected) + "marker\r\n");

        // The list comes back after a restart.
        QVERIFY(p.f.stop());
        p.start();
        p.page->selectedButton()->click();
        QCOMPARE(shownLines(p.page->listPane(0)).mid(1, 3),
                 QStringList({"19.45 Film", "Фильм, часть первая", "А.Б. Author - Kanal 1"}));
    }

    void showsAfterMidnightGoToTheNextDaysList()
    {
        PickFixture p;
        QTextEdit* pane = p.monday();
        clickLine(pane, 8);
        clickLine(pane, 8, Qt::RightButton);
        QCOMPARE(p.list("selvt"), cp("00.30 Night\r\nНочной повтор - Kanal 1\r\n"));
        QCOMPARE(shownLines(p.page->listPane(1)), QStringList({"00.30 Night", "Ночной повтор - Kanal 1"}));
        QVERIFY(!p.f.exists(std::string(kWeekFolder) + "selpn"));
        // The first show of the day stays on its day.
        clickLine(pane, 2);
        clickLine(pane, 2, Qt::RightButton);
        QCOMPARE(p.list("selpn"), cp("06.00 Утро - Kanal 1\r\n"));

        // Sunday night's show goes to the list of the Monday after the week.
        p.page->dayButton(6)->click();
        QTextEdit* sunday = p.page->dayPane(6);
        clickLine(sunday, 3);
        clickLine(sunday, 3, Qt::RightButton);
        QCOMPARE(p.list("selsledpn"), cp("00.30 Sunday night - Kanal 1\r\n"));
        QCOMPARE(shownLines(p.page->listPane(7)), QStringList{"00.30 Sunday night - Kanal 1"});
        QVERIFY(p.f.dialogs.messages.isEmpty());
    }

    void endTimeOptionAndRefusals()
    {
        PickFixture p;
        QTextEdit* pane = p.monday();
        p.page->window()->findChild<QCheckBox*>("CheckBox5")->setChecked(true);
        clickLine(pane, 3);
        clickLine(pane, 3, Qt::RightButton);
        QCOMPARE(p.list("selpn"), cp("19.30 - 19.45 19.30 News - Kanal 1\r\n"));
        // The next line is a description: no end time.
        clickLine(pane, 4);
        clickLine(pane, 4, Qt::RightButton);
        QCOMPARE(p.list("selpn"),
                 cp("19.30 - 19.45 19.30 News - Kanal 1\r\n19.45 Film\r\nФильм, часть первая\r\nА.Б. Author "
                    "- Kanal 1\r\n"));

        // Nothing highlighted.
        clickLine(pane, 1);
        clickLine(pane, 1, Qt::RightButton);
        QCOMPARE(p.f.dialogs.messages,
                 QStringList{"At First Select A Program\r\nYou Want To Put In The Selected List"});
        // A highlight that does not begin with a time.
        QTextCursor middle(pane->document()->findBlockByNumber(3));
        middle.setPosition(middle.position() + 3);
        middle.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        pane->setTextCursor(middle);
        clickLine(pane, 3, Qt::RightButton);
        QCOMPARE(p.f.dialogs.messages.last(), QString("Cannot Put It In The Selected List"));
        QCOMPARE(p.f.dialogs.messages.size(), 2);
    }

    void aDragKeepsTheHighlightTheUserMade()
    {
        PickFixture p;
        QTextEdit* pane = p.monday();
        // Across two shows: both go into the list as one entry.
        drag(pane, {3, 0}, {5, -1});
        QCOMPARE(highlight(pane),
                 QList<int>({3, 0, 5, static_cast<int>(QString::fromUtf8("Фильм, часть первая").size())}));
        clickLine(pane, 5, Qt::RightButton);
        QCOMPARE(p.list("selpn"), cp("19.30 News\r\n19.45 Film\r\nФильм, часть первая - Kanal 1\r\n"));
        // Part of a line, from after its time: the mouse reaches the refusal.
        drag(pane, {7, 3}, {7, -1});
        QCOMPARE(highlight(pane), QList<int>({7, 3, 7, 10}));
        clickLine(pane, 7, Qt::RightButton);
        QCOMPARE(p.f.dialogs.messages, QStringList{"Cannot Put It In The Selected List"});
        // A click still takes the whole show.
        clickLine(pane, 7);
        QCOMPARE(highlight(pane), QList<int>({7, 0, 7, 10}));
    }

    void anInvalidListTimeLeavesTheListAlone()
    {
        PickFixture p({{"selpn", "25.00 Broken - X\r\n"}});
        QTextEdit* pane = p.monday();
        clickLine(pane, 3);
        clickLine(pane, 3, Qt::RightButton);
        QCOMPARE(p.f.dialogs.messages, QStringList{"'25.00' is not a valid time"});
        QCOMPARE(p.list("selpn"), std::string("25.00 Broken - X\r\n"));
        QCOMPARE(shownLines(p.page->listPane(0)), QStringList{"25.00 Broken - X"});
        QVERIFY(isBold(pane, 3)); // marked before the list was looked at
    }

    void clickOnAListEntryOffersItsRemoval()
    {
        PickFixture p({{"selpn", "19.30 A - X\n19.45 B\nB description - Y\n21.00 C - Z"}});
        p.page->selectedButton()->click();
        QTextEdit* list = p.page->listPane(0);
        QVERIFY(!list->isHidden());

        // No: the list and its file stay as they are.
        p.f.dialogs.confirmAnswers = {false};
        clickLine(list, 1);
        QCOMPARE(p.f.dialogs.confirmations,
                 QStringList{"Delete\r\n\"19.45 B\"\r\nFrom The List Of Selected Channels?"});
        QCOMPARE(p.list("selpn"), std::string("19.30 A - X\n19.45 B\nB description - Y\n21.00 C - Z"));

        // Yes: only the clicked line of a two-line entry goes (line ends made CR LF).
        p.f.dialogs.confirmAnswers = {true};
        clickLine(list, 2);
        QCOMPARE(p.f.dialogs.confirmations.last(),
                 QString("Delete\r\n\"B description - Y\"\r\nFrom The List Of Selected Channels?"));
        QCOMPARE(p.list("selpn"), std::string("19.30 A - X\r\n19.45 B\r\n21.00 C - Z\r\n"));
        QCOMPARE(shownLines(list), QStringList({"19.30 A - X", "19.45 B", "21.00 C - Z"}));

        // Another button names the line where the caret already stands.
        clickLine(list, 2);
        p.f.dialogs.confirmAnswers = {true};
        clickLine(list, 0, Qt::RightButton);
        QCOMPARE(p.f.dialogs.confirmations.last(),
                 QString("Delete\r\n\"21.00 C - Z\"\r\nFrom The List Of Selected Channels?"));
        QCOMPARE(p.list("selpn"), std::string("19.30 A - X\r\n19.45 B\r\n"));
        QCOMPARE(p.f.dialogs.unscripted, 1); // the plain click on line 2 before it was answered No
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }
};

QTEST_MAIN(ViewSelectedTest)
#include "view_selected_test.moc"

// The programme grid's window on a real main window (offscreen): Ctrl+G opens it on the week and
// on today, real keys reach the grid, Enter shows the show on the viewing page, Insert adds it,
// the context menu gives it a reminder, the window follows the language, the week selector and
// the store, and keeps its place. What the grid itself does with keys and boxes is the widget's
// and the model's tests.
#include "core/view/grid_model.h"
#include "gui/grid/grid_window.h"
#include "gui/grid/programme_grid.h"
#include "gui/settings/settings_page.h"
#include "support/ui/shortcut_window.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// Two weeks; in the newest, a channel an hour ahead and one whose file is missing. Wednesday
// 09.12.2026 12:00 is the fixture's "now".
void layOutGridWeeks(FormFixture& f)
{
    layOutWeek(f, "Первый:p.txt\r\nНТВ:n.txt\r\nНет файла:gone.txt\r\n");
    f.write("dats.dat", "30.11.2026\r\n07.12.2026\r\n");
    f.write("30112026/aplp.dat", cp("Второй:v.txt\r\n"));
    f.write("times.dat", cp("НТВ|1|0\r\n"));
    const std::vector<std::string> none;
    f.write("30112026/v.txt", channelFile({none, none, {"10.00 Прошлое"}}));
    f.write("07122026/p.txt", channelFile({none, none, {"06.00 Утро", "11.30 Новости", "13.00 Фильм"}}));
    f.write("07122026/n.txt", channelFile({none, none, {"09.00 Сериал", "11.00 Ток-шоу"}}));
}

QPair<int, int> current(const ProgrammeGrid* grid)
{
    return {grid->currentRow(), grid->currentBox()};
}

} // namespace

class ViewGridWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ctrlGOpensTodayKeysShowAndAddTheChosenShow()
    {
        FormFixture f;
        layOutGridWeeks(f);
        MainWindow& form = f.start(true);
        GridWindow* window = openByShortcut<GridWindow>(form, Qt::Key_G, "GridWindow");
        QVERIFY(window);
        ProgrammeGrid* grid = window->grid();
        QCOMPARE(window->windowTitle(), QStringLiteral("Programme Grid: Week 07.12.2026"));
        QCOMPARE(grid->model()->day(), 2);
        QVERIFY2(window->status()->text().startsWith(QStringLiteral("Not read whole: Нет файла: ")),
                 qPrintable(window->status()->text()));
        QVERIFY(window->nowButton()->isEnabled());

        // The keys go to the grid, which starts on the first channel's show on the air now.
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(current(grid), qMakePair(0, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(current(grid), qMakePair(1, 0));

        // Enter: the viewing page shows the channel's Wednesday with the show chosen, and the
        // main window comes forward.
        QTest::keyClick(grid, Qt::Key_Return);
        ViewingPage* page = form.viewingPage();
        QCOMPARE(page->channelList()->currentRow(), 1);
        QVERIFY(page->dayButton(2)->isChecked());
        QCOMPARE(page->dayPane(2)->textCursor().selectedText(), QStringLiteral("10:00 09.00 Сериал"));
        QTRY_COMPARE(QApplication::activeWindow(), &form);

        // Back in the grid, Insert adds it by the selected shows' rules, and the box is marked;
        // a second time the rules refuse it with their message.
        QApplication::setActiveWindow(window);
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(f.read("07122026/selsr"), cp("10:00 09.00 Сериал - НТВ\r\n"));
        QVERIFY(grid->model()->row(1)[0].listed);
        QVERIFY(!grid->model()->row(1)[1].listed);
        QVERIFY(f.dialogs.messages.isEmpty());
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(f.dialogs.messages,
                 QStringList{QStringLiteral("This Record Already Exists In The Selected List")});

        // The context menu gives the show a reminder, marked on its box, and lets others add
        // their entries for the show, named as the viewing page names it.
        QList<QVariantList> offered;
        connect(window, &GridWindow::showMenuOpening, window,
                [&offered](QMenu* menu, int channel, int day, int line) {
                    auto* remind = menu->findChild<QAction*>(QStringLiteral("GridRemind"));
                    offered << QVariantList{static_cast<int>(menu->actions().size()), channel, day, line,
                                            remind ? remind->text() : QString()};
                    if (remind)
                        remind->trigger();
                    QTimer::singleShot(0, menu, &QMenu::close);
                });
        grid->setCurrent(0, 2); // the film at 13:00, still to come
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(grid, &menuKey);
        QCOMPARE(offered, (QList<QVariantList>{{2, 0, 2, 4, QStringLiteral("Remind Me")}}));
        QVERIFY(grid->model()->row(0)[2].reminded);
        QVERIFY(!grid->model()->row(0)[1].reminded);
        QApplication::sendEvent(grid, &menuKey);
        QCOMPARE(offered.last().last(), QStringLiteral("Do Not Remind"));
        QVERIFY(!grid->model()->row(0)[2].reminded);

        // Another day from the tabs, kept while the window is minimised; "Now" comes back to
        // today's, Esc closes.
        QTest::mouseClick(window->days(), Qt::LeftButton, {}, window->days()->tabRect(0).center());
        QCOMPARE(grid->model()->day(), 0);
        window->showMinimized();
        window->showNormal();
        QCOMPARE(grid->model()->day(), 0);
        QTest::mouseClick(window->nowButton(), Qt::LeftButton);
        QCOMPARE(grid->model()->day(), 2);
        QCOMPARE(window->focusWidget(), grid);
        QTest::keyClick(grid, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(grid->model(), nullptr);
    }

    void theWindowFollowsTheLanguageTheWeekAndTheStoreAndKeepsItsPlace()
    {
        FormFixture f;
        layOutGridWeeks(f);
        MainWindow& form = f.start(true);
        GridWindow* window = openByShortcut<GridWindow>(form, Qt::Key_G, "GridWindow");
        QVERIFY(window);
        QTRY_VERIFY(window->isActiveWindow());
        ProgrammeGrid* grid = window->grid();

        form.settingsPage()->russian()->setChecked(true);
        QCOMPARE(window->windowTitle(), QStringLiteral("Сетка передач: неделя 07.12.2026"));
        QCOMPARE(window->action()->text(), QStringLiteral("Сетка передач"));
        QCOMPARE(window->days()->tabText(2), QStringLiteral("Среда 09.12"));
        QVERIFY(window->status()->text().startsWith(QStringLiteral("Прочитаны не полностью: Нет файла: ")));

        // A file of the week changes: the grid is read again within seconds, on the same day.
        f.write("07122026/p.txt",
                channelFile({{}, {}, {"06.00 Утро", "11.30 Новости", "12.15 Спорт", "13.00 Фильм"}}));
        QTRY_COMPARE_WITH_TIMEOUT(grid->model()->row(0).size(), std::size_t{4}, 5000);
        QCOMPARE(window->days()->currentIndex(), 2);

        // The week before (it does not hold today) keeps the weekday; its problem-free status
        // goes away, and "now" is nowhere on it.
        form.weekSelector()->setCurrentIndex(0);
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Сетка передач: неделя 30.11.2026"));
        QCOMPARE(window->days()->currentIndex(), 2);
        QCOMPARE(window->days()->tabText(2), QStringLiteral("Среда 02.12"));
        QCOMPARE(grid->model()->rowCount(), 1);
        QVERIFY(!window->status()->isVisible());
        QVERIFY(!window->nowButton()->isEnabled());

        // Its place and size come back in the next run; a run that does not open it keeps them.
        const QRect place(50, 60, 600, 400);
        window->setGeometry(place);
        QTRY_COMPARE(window->geometry(), place);
        QVERIFY(f.stop());
        QCOMPARE(f.setting("fm", "GridNormPos"), QString("50,60,649,459"));
        f.start(true);
        QVERIFY(f.stop());
        QCOMPARE(f.setting("fm", "GridNormPos"), QString("50,60,649,459"));
        window = openByShortcut<GridWindow>(f.start(true), Qt::Key_G, "GridWindow");
        QVERIFY(window);
        QTRY_COMPARE(window->geometry(), place);
    }
};

QTEST_MAIN(ViewGridWindowTest)
#include "view_grid_window_test.moc"

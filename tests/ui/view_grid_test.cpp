// The programme grid widget (offscreen) driven by real keys, clicks and wheel turns: moving
// between shows, paging, zooming, "now", the activated and add signals, the tooltip, and what
// a screen reader reads of the chosen show. The boxes themselves are the model's tests.
#include "core/session/clock.h"
#include "core/view/grid_model.h"
#include "gui/grid/programme_grid.h"
#include "support/core/week_files.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace brevio;
using namespace std::chrono;

namespace {

// What a screen reader reads on the grid's focus: the name of its focused child.
QString spoken(ProgrammeGrid& grid)
{
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(&grid)->focusChild();
    return focused ? focused->text(QAccessible::Name) : QString();
}

QPair<int, int> current(const ProgrammeGrid& grid)
{
    return {grid.currentRow(), grid.currentBox()};
}

void turnWheel(ProgrammeGrid& grid, int notches, Qt::KeyboardModifiers modifiers)
{
    const QPoint at = grid.timeArea().center();
    QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
}

} // namespace

class ViewGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysMoveBetweenShowsAndAskForThem()
    {
        test::TempDir work;
        test::ScopedCurrentDir cd(work.path());
        test::writeTrickyWeek(work);
        const view::LoadedWeek week("07122026/");
        const view::GridDay monday(week, "07.12.2026", 0, {});
        // Monday 13:00: the grid opens on it.
        FixedClock clock(local_days(2026y / December / 7) + hours(13));

        ProgrammeGrid grid(clock);
        grid.setTexts(QStringLiteral("Programme grid"), QStringLiteral("Add to selected"));
        grid.resize(900, 500); // every channel in one screen
        grid.setModel(&monday);
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        QCOMPARE(qRound(grid.leftMinute()), 13 * 60 - ProgrammeGrid::kDefaultMinutesPerScreen / 4);
        QCOMPARE(QAccessible::queryAccessibleInterface(&grid)->text(QAccessible::Name),
                 QStringLiteral("Programme grid"));

        QSignalSpy activated(&grid, &ProgrammeGrid::activated);
        QSignalSpy added(&grid, &ProgrammeGrid::addRequested);
        // The focus starts on the first channel's show in view; the arrows move from show to show
        // and skip a channel without shows, keeping the time.
        grid.setFocus(Qt::TabFocusReason);
        QCOMPARE(current(grid), qMakePair(0, 1));
        const struct
        {
            Qt::Key key;
            QPair<int, int> show;
        } steps[] = {
            {Qt::Key_Right, {0, 2}}, {Qt::Key_Left, {0, 1}}, {Qt::Key_Left, {0, 0}}, {Qt::Key_Left, {0, 0}},
            {Qt::Key_Right, {0, 1}}, {Qt::Key_Down, {1, 0}}, {Qt::Key_Down, {3, 1}}, {Qt::Key_Up, {1, 0}},
            {Qt::Key_Up, {0, 1}},    {Qt::Key_Up, {0, 1}},
        };
        for (const auto& step : steps) {
            QTest::keyClick(&grid, step.key);
            QCOMPARE(current(grid), step.show);
        }
        QCOMPARE(spoken(grid), QStringLiteral("Первый, 12:00–23:30, Ёлки-палки"));

        // Page Down goes a screen of channels on; the last ones have no shows, so it stops at
        // the last that has, on the first show after the time kept (one that runs for no time).
        QTest::keyClick(&grid, Qt::Key_PageDown);
        QCOMPARE(current(grid), qMakePair(7, 0));
        QCOMPARE(spoken(grid), QStringLiteral("Same time, 19:00–19:00, A"));
        QTest::keyClick(&grid, Qt::Key_PageUp);
        QCOMPARE(current(grid).first, 0);
        QCOMPARE(grid.verticalScrollBar()->value(), 0);

        QTest::keyClick(&grid, Qt::Key_Return);
        QTest::keyClick(&grid, Qt::Key_Insert);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated[0], (QVariantList{0, 1}));
        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0], (QVariantList{0, 1}));

        // The menu key (the desktop sends its context menu event) offers the same as Insert.
        QTimer::singleShot(0, [] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(&grid, &menuKey);
        QCOMPARE(added.size(), 2);
        QCOMPARE(added[1], (QVariantList{0, 1}));

        // The tooltip: times, channel, title and description, a listing's text never read as markup.
        QTest::keyClick(&grid, Qt::Key_PageDown);
        QTest::keyClick(&grid, Qt::Key_Right);
        QTest::keyClick(&grid, Qt::Key_Right);
        const QPoint box = grid.boxRect(7, 2).center();
        QHelpEvent help(QEvent::ToolTip, box, grid.viewport()->mapToGlobal(box));
        QApplication::sendEvent(grid.viewport(), &help);
        QVERIFY2(QToolTip::text().contains(QStringLiteral("20:00–…, Same time<br><b>&lt;C &amp; D&gt;</b>")),
                 qPrintable(QToolTip::text()));
        grid.setCurrent(7, 1);
        const QPoint b = grid.boxRect(7, 1).intersected(grid.timeArea()).center();
        QHelpEvent aboutB(QEvent::ToolTip, b, grid.viewport()->mapToGlobal(b));
        QApplication::sendEvent(grid.viewport(), &aboutB);
        QVERIFY2(QToolTip::text().contains(QStringLiteral("<b>B</b><br>About B")),
                 qPrintable(QToolTip::text()));
        QToolTip::hideText();

        // A click chooses, a double click activates what it hits.
        const int x = grid.timeArea().left() + 20;
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(x, grid.boxRect(3, 1).center().y()));
        QCOMPARE(current(grid), qMakePair(3, 1));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(x, grid.boxRect(1, 0).center().y()));
        QCOMPARE(activated.size(), 2);
        QCOMPARE(activated[1], (QVariantList{1, 0}));
    }

    void wheelAndZoomMoveTheViewAndHomeComesBackToNow()
    {
        test::TempDir work;
        test::ScopedCurrentDir cd(work.path());
        test::writeTrickyWeek(work);
        const view::LoadedWeek week("07122026/");
        const view::GridDay monday(week, "07.12.2026", 0, {});
        FixedClock clock(local_days(2026y / December / 7) + hours(20));
        ProgrammeGrid grid(clock);
        grid.resize(700, 200);
        grid.setModel(&monday);
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();

        const double left = grid.leftMinute();
        turnWheel(grid, -1, Qt::NoModifier);
        QVERIFY(grid.verticalScrollBar()->value() > 0);
        QCOMPARE(grid.leftMinute(), left);
        turnWheel(grid, -2, Qt::ShiftModifier);
        QVERIFY(grid.leftMinute() > left);

        // Zoom keeps the time under the pointer, within 30 minutes to 6 hours a screen.
        const double middle = grid.leftMinute() + grid.minutesPerScreen() / 2.0;
        turnWheel(grid, 1, Qt::ControlModifier);
        QCOMPARE(grid.minutesPerScreen(), 120);
        QVERIFY(std::abs(grid.leftMinute() + grid.minutesPerScreen() / 2.0 - middle) < 1);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&grid, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(grid.minutesPerScreen(), ProgrammeGrid::kMinMinutesPerScreen);
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(&grid, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(grid.minutesPerScreen(), ProgrammeGrid::kMaxMinutesPerScreen);

        // Home: "now" in view, and the show on the air in the chosen channel chosen.
        grid.setCurrent(0, 0);
        grid.horizontalScrollBar()->setValue(0);
        QTest::keyClick(&grid, Qt::Key_Home);
        QCOMPARE(current(grid), qMakePair(0, 1));
        QCOMPARE(qRound(grid.leftMinute()), 20 * 60 - ProgrammeGrid::kMaxMinutesPerScreen / 4);
    }
};

QTEST_MAIN(ViewGridTest)
#include "view_grid_test.moc"

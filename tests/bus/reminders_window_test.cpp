// Reminders in the real window (offscreen) with a stand-in notification service on a private
// session bus: "Remind me" from the day view (button and keyboard menu) and from the search
// window, the marks and the file, the settings page's controls applied, and "Show" on a
// notification bringing up its show in another week.
#include "core/reminders/reminder_file.h"
#include "gui/reminders/reminder_service.h"
#include "gui/search/search_window.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/day_reminders.h"
#include "support/ui/notification_stand_in.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;
using reminders::ReminderState;
using reminders::ShowKey;

namespace {

// Whether line `line` of `pane` carries the reminder mark.
bool marked(const QTextEdit* pane, int line)
{
    const QTextBlock block = pane->document()->findBlockByNumber(line);
    return block.isValid() && block.begin() != block.end()
        && block.begin().fragment().charFormat().background().style() != Qt::NoBrush;
}

std::optional<ReminderState> stateIn(const ShowKey& show)
{
    for (const reminders::Reminder& r : reminders::readReminderFile().reminders)
        if (r.show == show)
            return r.state;
    return std::nullopt;
}

ShowKey key(const char* week, const char* channel, int day, int hour, int minute, const char* title)
{
    return {week, cp(channel), day, hour * 60 + minute, cp(title)};
}

// The week shown at start, 14.12.2026 (the newest), with a channel an hour ahead; and the clock's
// week, 07.12.2026, with a reminder due at start and one that the settings bring near.
void layOutWeeks(FormFixture& f)
{
    layOutWeek(f, "Первый:p.txt\r\n");
    f.write("dats.dat", "07.12.2026\r\n14.12.2026\r\n");
    f.write("07122026/p.txt", channelFile({{}, {}, {"12.03 Полдень", "12.25 Дневной", "13.00 После"}}));
    f.write("times.dat", cp("НТВ|1|0\r\n"));
    f.write("14122026/aplp.dat", cp("Первый:p.txt\r\nНТВ:n.txt\r\n"));
    f.write("14122026/p.txt",
            channelFile({{"19.45 Фильм", "Описание", "21.00 Новости"}, {"08.00 Завтрак", "09.00 Обед"}}));
    f.write("14122026/n.txt", channelFile({{"20.00 Сериал"}}));
    f.write("14122026/selvt", cp("08.00 Завтрак - Первый\r\n"));
    reminders::writeReminderFile({{reminders::Reminder{key("07.12.2026", "Первый", 2, 12, 3, "Полдень")},
                                   reminders::Reminder{key("07.12.2026", "Первый", 2, 12, 25, "Дневной")}},
                                  {}});
}

} // namespace

class RemindersWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void remindMarkSettingsAndShow()
    {
        FormFixture f;
        layOutWeeks(f);
        NotificationStandIn standIn;
        QString error;
        QVERIFY2(standIn.start(error), qPrintable(error));
        MainWindow& form = f.start(true);
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(standIn.calls.size(), 1); // due at start
        QCOMPARE(standIn.calls[0][3], QVariant(QStringLiteral("Полдень")));

        // The day view: a left click highlights "Фильм", the button reminds of it.
        ViewingPage* page = form.viewingPage();
        QToolButton* remind = page->remindButton();
        clickChannel(page->channelList(), 0);
        page->dayButton(0)->click();
        QTextEdit* monday = page->dayPane(0);
        QVERIFY(!remind->isEnabled());
        clickLine(monday, 2);
        QCOMPARE(remind->text(), QStringLiteral("Remind Me"));
        remind->click();
        const ShowKey film = key("14.12.2026", "Первый", 0, 19, 45, "Фильм");
        QCOMPARE(stateIn(film), ReminderState::Pending);
        QVERIFY(marked(monday, 2) && !marked(monday, 4));
        QCOMPARE(remind->text(), QStringLiteral("Do Not Remind"));
        // The tray's list names it after the nearer one.
        const QList<QAction*> tray = form.findChild<ReminderService*>()->tray().menu()->actions();
        QCOMPARE(tray.at(1)->text(), QStringLiteral("Wed 12:25 — Первый: Дневной"));
        QCOMPARE(tray.at(2)->text(), QStringLiteral("Mon 19:45 — Первый: Фильм"));

        // The menu key opens the pane's menu on the show at the caret.
        monday->setFocus();
        QTest::keyClick(monday, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(monday, Qt::Key_Down);
        QTest::keyClick(monday, Qt::Key_Menu);
        QTRY_COMPARE(QApplication::activePopupWidget(), page->dayReminders()->menu());
        QTest::keyClick(page->dayReminders()->menu(), Qt::Key_Down);
        QTest::keyClick(page->dayReminders()->menu(), Qt::Key_Return);
        QCOMPARE(stateIn(key("14.12.2026", "Первый", 0, 21, 0, "Новости")), ReminderState::Pending);
        QVERIFY(marked(monday, 4));

        // The search window: the shifted channel's show, reminded and taken back; the day view
        // marks the same show.
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        auto* search = form.findChild<SearchWindow*>();
        QTRY_VERIFY(search->isVisible());
        search->field()->setText(QStringLiteral("сериал"));
        QCOMPARE(search->results()->model()->rowCount(), 1);
        search->remindButton()->click();
        const ShowKey serial = key("14.12.2026", "НТВ", 0, 20, 0, "Сериал");
        QCOMPARE(stateIn(serial), ReminderState::Pending);
        const QModelIndex found = search->results()->model()->index(0, 3);
        QVERIFY(found.data(Qt::BackgroundRole).isValid());
        search->close();
        clickChannel(page->channelList(), 1);
        QVERIFY(marked(monday, 2));
        search->openSearch();
        QCOMPARE(search->remindButton()->text(), QStringLiteral("Do Not Remind"));
        search->remindButton()->click();
        QCOMPARE(stateIn(serial), ReminderState::Dismissed);
        QVERIFY(!search->results()->model()->index(0, 3).data(Qt::BackgroundRole).isValid());
        QVERIFY(!marked(monday, 2));
        search->close();

        // The settings page: every selected show marked, and half an hour ahead brings
        // "Дневной" (12:25) near at once.
        SettingsPage* settings = form.settingsPage();
        settings->remindEverySelected()->click();
        clickChannel(page->channelList(), 0);
        QVERIFY(marked(page->dayPane(1), 2) && !marked(page->dayPane(1), 3));
        settings->reminderMinutes()->setValue(30);
        QTRY_COMPARE(standIn.calls.size(), 2);
        QCOMPARE(standIn.calls[1][3], QVariant(QStringLiteral("Дневной")));

        // "Show" on the first notification: its week, channel and day, the show highlighted.
        Q_EMIT standIn.ActionInvoked(NotificationStandIn::idOf(0), QStringLiteral("show"));
        QTRY_COMPARE(form.weekSelector()->currentText(), QStringLiteral("07.12.2026"));
        QCOMPARE(page->channelList()->currentRow(), 0);
        QVERIFY(page->dayButton(2)->isChecked() && page->dayPane(2)->isVisibleTo(&form));
        QCOMPARE(page->dayPane(2)->textCursor().selectedText(), QStringLiteral("12.03 Полдень"));

        // Without a tray the window closes as ever, asking nothing; the settings are kept.
        QVERIFY(f.stop());
        QVERIFY(f.dialogs.confirmations.isEmpty());
        QCOMPARE(f.setting("Reminders", "MinutesBefore"), QStringLiteral("30"));
        QCOMPARE(f.setting("Reminders", "EverySelected"), QStringLiteral("1"));
    }
};

QTEST_MAIN(RemindersWindowTest)
#include "reminders_window_test.moc"

// Reminders on the desktop: a stand-in notification service on a private session bus records
// what the program asks it to show and answers with the user's actions; where no service
// answers, a message box says it.
#include "core/reminders/reminder_file.h"
#include "core/session/clock.h"
#include "core/texts/string_table.h"
#include "gui/reminders/reminder_service.h"
#include "support/core/temp_dir.h"
#include "support/ui/notification_stand_in.h"
#include "support/ui/scripted_dialogs.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using namespace std::chrono;
using brevio::reminders::ReminderState;

local_seconds mondayAt(int hour, int minute)
{
    return local_days(2004y / January / 12) + hours(hour) + minutes(minute);
}

} // namespace

class RemindersNotifierTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notifiesSnoozesShowsAndFallsBackToABox()
    {
        brevio::test::TempDir work;
        const brevio::test::ScopedCurrentDir cd(work.path());
        work.write("12012004/aplp.dat", "One:one.txt\r\n");
        work.write("12012004/one.txt", "\r\n19.45 Film\r\n21.00 News\r\n22.00 Late\r\n");
        brevio::reminders::writeReminderFile({{{{"12.01.2004", "One", 0, 19 * 60 + 45, "Film"}}}, {}});

        brevio::test::NotificationStandIn standIn;
        QString error;
        QVERIFY2(standIn.start(error), qPrintable(error));

        brevio::FixedClock clock(mondayAt(19, 40));
        brevio::test::ScriptedDialogs dialogs;
        brevio::ReminderService service(clock, {}, brevio::kRussianOffset, dialogs);
        QSignalSpy shown(&service, &brevio::ReminderService::showRequested);

        // Due at start.
        QTRY_COMPARE(standIn.calls.size(), 1);
        QCOMPARE(standIn.calls[0],
                 (QVariantList{QStringLiteral("Brevio"), 0u, QStringLiteral("org.morvane.Brevio"),
                               QStringLiteral("Film"), QStringLiteral("One в 19:45"),
                               QStringList{"show", "Показать", "snooze", "Через 5 минут"},
                               QStringLiteral("org.morvane.Brevio"), -1}));

        // Another program's notification is none of ours; ours is snoozed.
        Q_EMIT standIn.ActionInvoked(7, QStringLiteral("show"));
        Q_EMIT standIn.ActionInvoked(101, QStringLiteral("snooze"));
        QTRY_COMPARE(brevio::reminders::readReminderFile().reminders.at(0).state, ReminderState::Snoozed);
        service.checkNow();
        QTest::qWait(100);
        QCOMPARE(standIn.calls.size(), 1);

        clock.set(mondayAt(19, 45));
        service.checkNow();
        QTRY_COMPARE(standIn.calls.size(), 2);
        QCOMPARE(standIn.calls[1][4], QVariant(QStringLiteral("One, в эфире с 19:45")));
        Q_EMIT standIn.NotificationClosed(101, 2);
        Q_EMIT standIn.ActionInvoked(101, QStringLiteral("show")); // closed: forgotten
        Q_EMIT standIn.ActionInvoked(102, QStringLiteral("show"));
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0][0].value<brevio::reminders::ScheduledReminder>().reminder.show.title, "Film");

        // No service: no tray on this platform, so a box.
        QVERIFY(standIn.stop());
        service.book()->add({"12.01.2004", "One", 0, 21 * 60, "News"});
        clock.set(mondayAt(20, 55));
        service.checkNow();
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("Напоминание: News\nOne в 21:00")});
        QCOMPARE(standIn.calls.size(), 2);
        QCOMPARE(shown.size(), 1);
    }
};

QTEST_MAIN(RemindersNotifierTest)
#include "reminders_notifier_test.moc"

// The built program's terminal commands: "--now" prints the "now" view's lines and "--search"
// the week search's rows, without a window and while another copy holds the lock.
#include "app/single_instance.h"
#include "store/cp1251.h"
#include "support/core/temp_dir.h"

#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <memory>

using brevio::test::TempDir;

namespace {

struct Answer
{
    int code = -1;
    QString out;
    QString err;
};

// Runs the program in `home`'s working folder with its own settings and lock folders.
Answer runBrevio(const TempDir& home, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // no window, so no platform is needed
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home / "config").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((home / "runtime").string()));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString((home / "work").string()));
    process.start(QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + QStringLiteral("/brevio"),
                  arguments);
    Answer answer;
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return answer;
    answer.code = process.exitCode();
    answer.out = QString::fromUtf8(process.readAllStandardOutput());
    answer.err = QString::fromUtf8(process.readAllStandardError());
    return answer;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A show every half hour of the week, each named by its time, and the next Monday's first.
std::string halfHourly()
{
    std::string file = "Every half hour\r\n";
    for (int day = 0; day < 7; ++day) {
        file += "\r\n";
        for (int slot = 0; slot < 48; ++slot) {
            const std::string time
                = (twoDigits(slot / 2) + QLatin1Char('.') + twoDigits(slot % 2 * 30)).toStdString();
            file += time + " Show " + time + "\r\n";
        }
    }
    return file + "00.00 Show 00.00\r\n";
}

// The week folder's date ("dd.mm.yyyy") of a Monday.
QString weekDate(QDate monday)
{
    return monday.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

class AppConsoleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TempDir>();
        m_home->write("runtime/.keep", "");
        const QDate today = QDate::currentDate();
        m_monday = today.addDays(1 - today.dayOfWeek());
        const QDate next = m_monday.addDays(7);
        // This week for "--now", the next (the newest) for "--search".
        m_home->write("work/dats.dat", (weekDate(m_monday) + "\r\n" + weekDate(next) + "\r\n").toStdString());
        const std::string thisWeek
            = "work/" + m_monday.toString(QStringLiteral("ddMMyyyy")).toStdString() + "/";
        m_home->write(thisWeek + "aplp.dat", brevio::utf8ToCp1251("Канал:k.txt\r\n"));
        m_home->write(thisWeek + "k.txt", halfHourly());
        const std::string nextWeek = "work/" + next.toString(QStringLiteral("ddMMyyyy")).toStdString() + "/";
        m_home->write(nextWeek + "aplp.dat", brevio::utf8ToCp1251("Первый:p.txt\r\nНТВ:n.txt\r\n"));
        m_home->write(nextWeek + "p.txt",
                      brevio::utf8ToCp1251("Программа\r\n\r\n09.00 Ёлки\r\n\r\n10.00 Утро\r\n"));
        m_home->write(nextWeek + "n.txt",
                      brevio::utf8ToCp1251("Программа\r\n\r\n23.30 Фильм\r\nПро ёлки\r\n"));
        // Another copy holds the lock: the commands only read, so they answer anyway.
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString((*m_home / "runtime").string()));
        m_lock = brevio::SingleInstanceLock::acquire("Brevio24");
        QVERIFY(m_lock);
    }

    void cleanup()
    {
        m_lock.reset();
        m_home.reset();
    }

    void nowPrintsTheShowOnTheAirAsThePaneShowsIt()
    {
        // The half-hour the show on the air began in, read before and after the run; a run that
        // straddles a half-hour is repeated.
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QTime before = QTime::currentTime();
            const Answer answer = runBrevio(
                *m_home, {QStringLiteral("--now"), QStringLiteral("--hours"), QStringLiteral("0")});
            const QTime after = QTime::currentTime();
            const auto slot = [](QTime t) { return t.hour() * 2 + t.minute() / 30; };
            if (slot(before) != slot(after) || before > after)
                continue;
            QCOMPARE(answer.code, 0);
            const QString hhmm
                = twoDigits(before.hour()) + QLatin1Char(':') + twoDigits(before.minute() / 30 * 30);
            const QString file = QString(hhmm).replace(QLatin1Char(':'), QLatin1Char('.'));
            QCOMPARE(answer.out, QStringLiteral("%1 %2 Show %2 - Канал\n").arg(hhmm, file));
            QCOMPARE(answer.err, QString());
            return;
        }
        QFAIL("every run straddled a half-hour");
    }

    void nowLooksAheadAsAskedOrAsTheSettingsSay()
    {
        // The show on the air and the four of the next two hours; fewer only when the week ends
        // within them.
        const QDateTime now = QDateTime::currentDateTime();
        const bool weekEnds = now.date().dayOfWeek() == 7 && now.time() >= QTime(21, 30);
        QSettings(QString::fromStdString((*m_home / "config/Morvane/brevio.conf").string()),
                  QSettings::IniFormat)
            .setValue(QStringLiteral("fm/RxSpinEdit10_Value"), 2);
        for (const QStringList& arguments : {QStringList{"--now", "--hours=2"}, QStringList{"--now"}}) {
            const Answer ahead = runBrevio(*m_home, arguments);
            QCOMPARE(ahead.code, 0);
            const int lines = ahead.out.count(QLatin1Char('\n'));
            QVERIFY2(weekEnds ? lines >= 1 : lines == 5, qPrintable(ahead.out));
            QCOMPARE(ahead.out.count(QStringLiteral(" - Канал\n")), lines);
        }
    }

    void searchPrintsTheNewestWeeksRowsInTheStoredLanguage()
    {
        const QString monday = m_monday.addDays(7).toString(QStringLiteral("dd.MM"));
        const QString tuesday = m_monday.addDays(8).toString(QStringLiteral("dd.MM"));
        const Answer english = runBrevio(*m_home, {QStringLiteral("--search"), QStringLiteral("ЕЛКИ")});
        QCOMPARE(english.code, 0);
        QCOMPARE(english.out,
                 QStringLiteral("Monday %1\t09:00\tПервый\tЁлки\n"
                                "Monday %1\t23:30\tНТВ\tФильм\n")
                     .arg(monday));

        QSettings(QString::fromStdString((*m_home / "config/Morvane/brevio.conf").string()),
                  QSettings::IniFormat)
            .setValue(QStringLiteral("Main/Lang"), QStringLiteral("rus"));
        const Answer russian = runBrevio(*m_home, {QStringLiteral("--search=утро")});
        QCOMPARE(russian.code, 0);
        QCOMPARE(russian.out, QStringLiteral("Вторник %1\t10:00\tПервый\tУтро\n").arg(tuesday));

        // Nothing found is no fault; no week to search is.
        QCOMPARE(runBrevio(*m_home, {QStringLiteral("--search"), QStringLiteral("нет такого")}).out,
                 QString());
        m_home->write("work/dats.dat", "");
        const Answer none = runBrevio(*m_home, {QStringLiteral("--search"), QStringLiteral("утро")});
        QCOMPARE(none.code, 1);
        QVERIFY(!none.err.isEmpty());
    }

private:
    std::unique_ptr<TempDir> m_home;
    std::unique_ptr<brevio::SingleInstanceLock> m_lock;
    QDate m_monday;
};

QTEST_GUILESS_MAIN(AppConsoleTest)
#include "app_console_test.moc"

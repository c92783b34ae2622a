// The built program's command line: answers without a display or the lock, the working folder
// options, refusals of what it does not know, and the terminal commands ("--now" prints the "now"
// view's lines, "--search" the week search's rows, "--reminders" those to come, "--add-source"
// and "--refresh" keep the listing sources) while another copy holds the lock.
#include "core/session/single_instance.h"
#include "core/store/cp1251.h"
#include "support/core/source_listing.h"
#include "support/core/temp_dir.h"

#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using brevio::test::TempDir;

namespace {

QString str(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

// The program in a user session in `home`, started in `folder`; `headless` gives it a screen.
void prepare(QProcess& process, const TempDir& home, const QString& folder, const QStringList& arguments,
             bool headless = true, const QString& dataHome = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"})
        env.remove(QString::fromLatin1(name));
    if (headless)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!dataHome.isEmpty())
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("HOME"), str(home / "home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), str(home / "config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), str(home / "runtime"));
    home.write("runtime/.keep", "");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(home / folder.toStdString());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(str(home / folder.toStdString()));
    process.setProgram(QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + QStringLiteral("/brevio"));
    process.setArguments(arguments);
}

struct Answer
{
    int code = -1;
    QString out;
    QString err;
};

// Runs the program to its end in `home`'s `folder`, without any display.
Answer run(const TempDir& home, const QStringList& arguments, const QString& folder = QStringLiteral("work"))
{
    QProcess process;
    prepare(process, home, folder, arguments, false);
    process.start();
    Answer answer;
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return answer;
    answer.code = process.exitCode();
    answer.out = QString::fromUtf8(process.readAllStandardOutput());
    answer.err = QString::fromUtf8(process.readAllStandardError());
    return answer;
}

// The program has got going once it made its first-run files in `work`.
bool madeFilesIn(const std::filesystem::path& work)
{
    for (int i = 0; i < 100; ++i) {
        if (std::filesystem::exists(work / "dats.dat") && std::filesystem::exists(work / "ag_news.dat"))
            return true;
        QTest::qWait(100);
    }
    return false;
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

} // namespace

class AppCommandLineTest : public QObject
{
    Q_OBJECT

    // This week (for "--now") and the next, the newest (for "--search"), while another copy
    // holds the lock: the terminal commands only read, so they answer anyway.
    void layOutWeeks()
    {
        m_home = std::make_unique<TempDir>();
        m_home->write("runtime/.keep", "");
        const QDate today = QDate::currentDate();
        m_monday = today.addDays(1 - today.dayOfWeek());
        const QDate next = m_monday.addDays(7);
        const auto folder = [](QDate monday) {
            return "work/" + monday.toString(QStringLiteral("ddMMyyyy")).toStdString() + "/";
        };
        const QString dates = m_monday.toString(QStringLiteral("dd.MM.yyyy")) + "\r\n"
            + next.toString(QStringLiteral("dd.MM.yyyy")) + "\r\n";
        m_home->write("work/dats.dat", dates.toStdString());
        m_home->write(folder(m_monday) + "aplp.dat", brevio::utf8ToCp1251("Канал:k.txt\r\n"));
        m_home->write(folder(m_monday) + "k.txt", halfHourly());
        m_home->write(folder(next) + "aplp.dat", brevio::utf8ToCp1251("Первый:p.txt\r\nНТВ:n.txt\r\n"));
        m_home->write(folder(next) + "p.txt",
                      brevio::utf8ToCp1251("Программа\r\n\r\n09.00 Ёлки\r\n\r\n10.00 Утро\r\n"));
        m_home->write(folder(next) + "n.txt",
                      brevio::utf8ToCp1251("Программа\r\n\r\n23.30 Фильм\r\nПро ёлки\r\n"));
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString((*m_home / "runtime").string()));
        m_lock = brevio::SingleInstanceLock::acquire("Brevio24");
        QVERIFY(m_lock);
    }

    void setSetting(const QString& key, const QVariant& value)
    {
        QSettings(str(*m_home / "config/Morvane/brevio.conf"), QSettings::IniFormat).setValue(key, value);
    }

private Q_SLOTS:
    void cleanup()
    {
        m_lock.reset();
        m_home.reset();
    }

    void answersAndRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        // Answers come without any display: they end before the window system is touched.
        QTest::newRow("version") << QStringList{"--version"} << 0 << QStringLiteral("brevio 2.");
        QTest::newRow("help") << QStringList{"-h"} << 0 << QStringLiteral("--workdir <DIR>");
        QTest::newRow("help beside Qt's own options")
            << QStringList{"-platform", "offscreen", "--help"} << 0 << QStringLiteral("Usage: brevio");
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << 2 << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("unknown option beside Qt's own") << QStringList{"-platform", "offscreen", "-bogus"}
                                                        << 2 << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("workdir without a folder")
            << QStringList{"--workdir"} << 2 << QStringLiteral("workdir");
        QTest::newRow("both folder options")
            << QStringList{"--data-home", "--workdir", "x"} << 2 << QStringLiteral("exclude each other");
        QTest::newRow("stray argument") << QStringList{"file.dat"} << 2 << QStringLiteral("'file.dat'");
        // The terminal commands' refusals, also without a display.
        QTest::newRow("now and search")
            << QStringList{"--now", "--search", "x"} << 2 << QStringLiteral("exclude each other");
        QTest::newRow("hours alone") << QStringList{"--hours", "1"} << 2
                                     << QStringLiteral("--hours goes with --now");
        QTest::newRow("hours not a number")
            << QStringList{"--now", "--hours", "x"} << 2 << QStringLiteral("from 0 to 24");
        QTest::newRow("hours too many")
            << QStringList{"--now", "--hours=25"} << 2 << QStringLiteral("from 0 to 24");
        QTest::newRow("search without text")
            << QStringList{"--search"} << 2 << QStringLiteral("Missing value");
        QTest::newRow("refresh and now")
            << QStringList{"--refresh", "--now"} << 2 << QStringLiteral("exclude each other");
        QTest::newRow("a source at no address") << QStringList{"--add-source", "ftp://epg.example/guide.xml"}
                                                << 2 << QStringLiteral("is no source address");
        QTest::newRow("a source without a name")
            << QStringList{"--add-source", "/srv/guide.xml", "--name", " "} << 2
            << QStringLiteral("--name needs");
    }

    // Each as the only copy and while another holds the lock: a second start ends silently only
    // when there is nothing to answer or refuse.
    void answersAndRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        for (const bool copyRuns : {false, true}) {
            TempDir home;
            home.write("runtime/.keep", "");
            const brevio::test::ScopedEnv runtime("XDG_RUNTIME_DIR", (home / "runtime").string());
            const auto lock = copyRuns ? brevio::SingleInstanceLock::acquire("Brevio24") : nullptr;
            QCOMPARE(bool(lock), copyRuns);
            QProcess process;
            prepare(process, home, QStringLiteral("start"), arguments, false);
            process.start();
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitCode(), exitCode);
            const QString out = QString::fromUtf8(exitCode == 0 ? process.readAllStandardOutput()
                                                                : process.readAllStandardError());
            QVERIFY2(out.contains(said), qPrintable(out));
            QVERIFY(!home.exists("start/ag_news.dat"));
            QVERIFY(!home.exists("start/x"));
        }
    }

    void versionIsAnsweredWhileACopyRuns()
    {
        TempDir home;
        QProcess running;
        prepare(running, home, QStringLiteral("work"), {});
        running.start();
        QVERIFY(madeFilesIn(home / "work"));
        const Answer asked = run(home, {QStringLiteral("--version")});
        QCOMPARE(asked.code, 0);
        QVERIFY(asked.out.startsWith(QStringLiteral("brevio ")));
        running.terminate();
        QVERIFY(running.waitForFinished(5000));
    }

    void dataHomeAndWorkdirChooseTheWorkingFolder_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("work");
        QTest::newRow("data home by default")
            << QStringList{"--data-home"} << QString() << QStringLiteral("home/.local/share/Brevio");
        QTest::newRow("XDG_DATA_HOME")
            << QStringList{"--data-home"} << QStringLiteral("data") << QStringLiteral("data/Brevio");
        QTest::newRow("workdir") << QStringList{"--workdir", "@/my tv"} << QString()
                                 << QStringLiteral("my tv");
        // Without an option the folder it was started in stays the working folder.
        QTest::newRow("none") << QStringList{} << QString() << QStringLiteral("start");
    }

    void dataHomeAndWorkdirChooseTheWorkingFolder()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, dataHome);
        QFETCH(QString, work);
        TempDir home;
        arguments.replaceInStrings(QStringLiteral("@"), str(home.path()));
        QProcess process;
        prepare(process, home, QStringLiteral("start"), arguments, true,
                dataHome.isEmpty() ? QString() : str(home / dataHome.toStdString()));
        process.start();
        QVERIFY(madeFilesIn(home / work.toStdString()));
        struct stat st
        {
        };
        QCOMPARE(::stat((home / work.toStdString()).c_str(), &st), 0);
        if (!arguments.isEmpty())
            QCOMPARE(st.st_mode & 0777, 0700u); // made for the user alone
        process.terminate();
        QVERIFY(process.waitForFinished(5000));
    }

    void nowPrintsTheShowOnTheAirAsThePaneShowsIt()
    {
        layOutWeeks();
        // The half-hour the show on the air began in, read before and after the run; a run that
        // straddles a half-hour is repeated.
        const auto slot = [](QTime t) { return t.hour() * 2 + t.minute() / 30; };
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QTime before = QTime::currentTime();
            const Answer answer = run(*m_home, {QStringLiteral("--now"), QStringLiteral("--hours"), "0"});
            const QTime after = QTime::currentTime();
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
        layOutWeeks();
        // The show on the air and the four of the next two hours; fewer only when the week ends
        // within them.
        const QDateTime now = QDateTime::currentDateTime();
        const bool weekEnds = now.date().dayOfWeek() == 7 && now.time() >= QTime(21, 30);
        setSetting(QStringLiteral("fm/RxSpinEdit10_Value"), 2);
        for (const QStringList& arguments : {QStringList{"--now", "--hours=2"}, QStringList{"--now"}}) {
            const Answer ahead = run(*m_home, arguments);
            QCOMPARE(ahead.code, 0);
            const int lines = ahead.out.count(QLatin1Char('\n'));
            QVERIFY2(weekEnds ? lines >= 1 : lines == 5, qPrintable(ahead.out));
            QCOMPARE(ahead.out.count(QStringLiteral(" - Канал\n")), lines);
        }
    }

    void searchPrintsTheNewestWeeksRowsInTheStoredLanguage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // "MON" the newest week's Monday, "TUE" its Tuesday
        QTest::newRow("english") << QStringList{"--search", "ЕЛКИ"} << QString() << 0
                                 << QStringLiteral("Monday MON\t09:00\tПервый\tЁлки\n"
                                                   "Monday MON\t23:30\tНТВ\tФильм\n");
        QTest::newRow("russian") << QStringList{"--search=утро"} << QStringLiteral("rus") << 0
                                 << QStringLiteral("Вторник TUE\t10:00\tПервый\tУтро\n");
        // Nothing found is no fault; no week to search is.
        QTest::newRow("nothing found")
            << QStringList{"--search", "нет такого"} << QString() << 0 << QString();
        QTest::newRow("no week") << QStringList{"--search", "утро"} << QString() << 1 << QString();
        // A channel that cannot be read: what could be read is printed, but it is no success.
        QTest::newRow("unreadable channel") << QStringList{"--search", "утро"} << QString() << 1
                                            << QStringLiteral("Tuesday TUE\t10:00\tПервый\tУтро\n");
    }

    void searchPrintsTheNewestWeeksRowsInTheStoredLanguage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        layOutWeeks();
        if (!language.isEmpty())
            setSetting(QStringLiteral("Main/Lang"), language);
        const bool unreadable = QTest::currentDataTag() == QByteArrayView("unreadable channel");
        if (unreadable)
            m_home->write("work/" + m_monday.addDays(7).toString(QStringLiteral("ddMMyyyy")).toStdString()
                              + "/aplp.dat",
                          brevio::utf8ToCp1251("Первый:p.txt\r\nПропал:gone.txt\r\n"));
        else if (exitCode != 0)
            m_home->write("work/dats.dat", "");
        const Answer answer = run(*m_home, arguments);
        QCOMPARE(answer.code, exitCode);
        out.replace(QStringLiteral("MON"), m_monday.addDays(7).toString(QStringLiteral("dd.MM")));
        out.replace(QStringLiteral("TUE"), m_monday.addDays(8).toString(QStringLiteral("dd.MM")));
        QCOMPARE(answer.out, out);
        if (exitCode != 0)
            QVERIFY(!answer.err.isEmpty());
        if (unreadable)
            QVERIFY2(answer.err.contains(QStringLiteral("not searched whole: Пропал")),
                     qPrintable(answer.err));
    }

    // From another folder: the working folder --workdir names, and the minutes the settings say.
    void remindersPrintsThoseToComeInTheWorkingFolder()
    {
        layOutWeeks();
        const QDate monday = m_monday.addDays(7);
        m_home->write("work/reminders.dat",
                      brevio::utf8ToCp1251(monday.toString(QStringLiteral("dd.MM.yyyy")).toStdString()
                                           + "\tПервый\t1\t09:00\tЁлки\tpending\r\n"));
        setSetting(QStringLiteral("Reminders/MinutesBefore"), 10);
        const Answer answer = run(
            *m_home, {QStringLiteral("--reminders"), QStringLiteral("--workdir"), str(*m_home / "work")},
            QStringLiteral("start"));
        QCOMPARE(answer.code, 0);
        const QString day = monday.toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(answer.out, QStringLiteral("%1 08:50\t%1 09:00\tПервый\tЁлки\n").arg(day));
        QCOMPARE(answer.err, QString());
    }

    // A source added from a terminal goes into the settings file; a refresh merges it into the
    // working folder --workdir names, and a second one finds nothing due.
    void sourceCommandsKeepTheSettingsAndTheWorkingFolder()
    {
        TempDir home;
        home.write("guide.xml", brevio::test::sourceListing({"Первый", "Второй"}, "v1"));
        const QString workdir = str(home / "tv");
        const Answer added
            = run(home, {"--workdir", workdir, "--add-source", str(home / "guide.xml"), "--name", "Grabbed"});
        QCOMPARE(added.code, 0);
        QVERIFY2(added.out.startsWith(QStringLiteral("Added the listing source 'Grabbed'")),
                 qPrintable(added.out));
        const QSettings stored(str(home / "config/Morvane/brevio.conf"), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("ListingSources/1/name")).toString(), QStringLiteral("Grabbed"));

        const Answer refreshed = run(home, {"--workdir", workdir, "--refresh"});
        QCOMPARE(refreshed.code, 0);
        QCOMPARE(refreshed.out, QStringLiteral("Grabbed: 2 channels merged, the week of 07.12.2026\n"));
        QCOMPARE(home.read("tv/dats.dat"), std::string("07.12.2026\r\n"));
        const Answer again = run(home, {"--workdir", workdir, "--refresh"});
        QCOMPARE(again.code, 0);
        QCOMPARE(again.out, QString());
        QCOMPARE(again.err, QString());
    }

private:
    std::unique_ptr<TempDir> m_home;
    std::unique_ptr<brevio::SingleInstanceLock> m_lock;
    QDate m_monday;
};

QTEST_GUILESS_MAIN(AppCommandLineTest)
#include "app_command_line_test.moc"

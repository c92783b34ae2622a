// The built program's command line: answers without a display or the lock, the working folder
// options, and refusals of what it does not know.
#include "support/core/temp_dir.h"

#include <QProcess>
#include <QTest>

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

} // namespace

class AppCommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
    }

    void answersAndRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        TempDir home;
        QProcess process;
        // Refusals come after Qt's start, on a screen; answers need none.
        prepare(process, home, QStringLiteral("start"), arguments, exitCode != 0);
        process.start();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), exitCode);
        const QString out = QString::fromUtf8(exitCode == 0 ? process.readAllStandardOutput()
                                                            : process.readAllStandardError());
        QVERIFY2(out.contains(said), qPrintable(out));
        QVERIFY(!home.exists("start/ag_news.dat"));
        QVERIFY(!home.exists("start/x"));
    }

    void versionIsAnsweredWhileACopyRuns()
    {
        TempDir home;
        QProcess running;
        prepare(running, home, QStringLiteral("work"), {});
        running.start();
        QVERIFY(madeFilesIn(home / "work"));

        QProcess asking;
        prepare(asking, home, QStringLiteral("work"), {QStringLiteral("--version")}, false);
        asking.start();
        QVERIFY(asking.waitForFinished(10000));
        QCOMPARE(asking.exitCode(), 0);
        QVERIFY(asking.readAllStandardOutput().startsWith("brevio "));
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
};

QTEST_GUILESS_MAIN(AppCommandLineTest)
#include "app_command_line_test.moc"

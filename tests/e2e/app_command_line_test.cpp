// The built program's command line: answers without a display or the lock, the working folder
// options, and refusals of what it does not know.
#include "support/core/temp_dir.h"

#include <QProcess>
#include <QTest>

#include <sys/stat.h>

using brevio::test::TempDir;

namespace {

QString program()
{
    return QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + QStringLiteral("/brevio");
}

QString str(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

// The environment of a user session in `home`, without any display unless asked for.
QProcessEnvironment sessionIn(const TempDir& home, bool headless)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"})
        env.remove(QString::fromLatin1(name));
    if (headless)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), str(home / "home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), str(home / "config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), str(home / "runtime"));
    return env;
}

struct Finished
{
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runToEnd(QProcess& process)
{
    process.start();
    if (!process.waitForFinished(10000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Starts the program headless in `start`, waits until it made its first-run files in `work`,
// then ends it with SIGTERM.
bool startsAndWorksIn(QProcess& process, const std::filesystem::path& work)
{
    process.start();
    bool made = false;
    for (int i = 0; i < 100 && !made; ++i) {
        made = std::filesystem::exists(work / "dats.dat") && std::filesystem::exists(work / "ag_news.dat");
        if (!made)
            QTest::qWait(100);
    }
    process.terminate();
    return process.waitForFinished(5000) && made;
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
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        // No display at all: these must end before the window system is touched.
        QTest::newRow("version") << QStringList{"--version"} << 0 << QStringLiteral("brevio 2.") << QString();
        QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("--data-home") << QString();
        QTest::newRow("help names workdir")
            << QStringList{"-h"} << 0 << QStringLiteral("--workdir <DIR>") << QString();
        QTest::newRow("help beside Qt's own options") << QStringList{"-platform", "offscreen", "--help"} << 0
                                                      << QStringLiteral("Usage: brevio") << QString();
    }

    void answersAndRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        TempDir home;
        QProcess process;
        process.setProcessEnvironment(sessionIn(home, false));
        process.setWorkingDirectory(str(home.path()));
        process.setProgram(program());
        process.setArguments(arguments);
        const Finished done = runToEnd(process);
        QCOMPARE(done.exitCode, exitCode);
        QVERIFY2(done.out.contains(out), qPrintable(done.out));
        QVERIFY2(done.err.contains(err), qPrintable(done.err));
        // Nothing of a start happened: no first-run files where it was started.
        QVERIFY(!home.exists("ag_news.dat"));
    }

    void wrongArgumentsAreRefusedBeforeAnyFileIsMade_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << QStringLiteral("Unknown option 'bogus'");
        QTest::newRow("workdir without a folder") << QStringList{"--workdir"} << QStringLiteral("workdir");
        QTest::newRow("both folder options")
            << QStringList{"--data-home", "--workdir", "x"} << QStringLiteral("exclude each other");
        QTest::newRow("stray argument") << QStringList{"file.dat"} << QStringLiteral("'file.dat'");
    }

    void wrongArgumentsAreRefusedBeforeAnyFileIsMade()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        TempDir home;
        home.write("runtime/.keep", "");
        QProcess process;
        process.setProcessEnvironment(sessionIn(home, true));
        process.setWorkingDirectory(str(home.path()));
        process.setProgram(program());
        process.setArguments(arguments);
        const Finished done = runToEnd(process);
        QCOMPARE(done.exitCode, 2);
        QVERIFY2(done.err.contains(err), qPrintable(done.err));
        QVERIFY(!home.exists("ag_news.dat"));
        QVERIFY(!std::filesystem::exists(home / "x"));
    }

    void versionIsAnsweredWhileACopyRuns()
    {
        TempDir home;
        home.write("work/.keep", "");
        home.write("runtime/.keep", "");
        QProcess running;
        running.setProcessEnvironment(sessionIn(home, true));
        running.setWorkingDirectory(str(home / "work"));
        running.setProgram(program());
        running.start();
        QVERIFY(running.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(home.exists("work/ag_news.dat"), 10000);

        QProcess asking;
        asking.setProcessEnvironment(sessionIn(home, true));
        asking.setProgram(program());
        asking.setArguments({QStringLiteral("--version")});
        const Finished done = runToEnd(asking);
        QCOMPARE(done.exitCode, 0);
        QVERIFY(done.out.startsWith(QStringLiteral("brevio ")));
        running.terminate();
        QVERIFY(running.waitForFinished(5000));
    }

    void dataHomeAndWorkdirChooseTheWorkingFolder()
    {
        TempDir home;
        home.write("runtime/.keep", "");
        home.write("start/.keep", "");
        const auto check = [&](const QStringList& arguments, const QProcessEnvironment& env,
                               const std::filesystem::path& work) {
            QProcess process;
            process.setProcessEnvironment(env);
            process.setWorkingDirectory(str(home / "start"));
            process.setProgram(program());
            process.setArguments(arguments);
            QVERIFY2(startsAndWorksIn(process, work), qPrintable(str(work)));
        };

        // Without XDG_DATA_HOME: ~/.local/share/Brevio, made for the user alone.
        check({QStringLiteral("--data-home")}, sessionIn(home, true), home / "home/.local/share/Brevio");
        struct stat st
        {
        };
        QCOMPARE(::stat((home / "home/.local/share/Brevio").c_str(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);

        QProcessEnvironment withDataHome = sessionIn(home, true);
        withDataHome.insert(QStringLiteral("XDG_DATA_HOME"), str(home / "data"));
        check({QStringLiteral("--data-home")}, withDataHome, home / "data/Brevio");
        check({QStringLiteral("--workdir"), str(home / "my tv")}, sessionIn(home, true), home / "my tv");
        // Without an option the folder it was started in stays the working folder.
        check({}, sessionIn(home, true), home / "start");
        QVERIFY(!home.exists("home/.local/share/Brevio/brevio.desktop"));
    }

    void aWorkingFolderThatCannotBeMadeIsSaid()
    {
        TempDir home;
        home.write("runtime/.keep", "");
        home.write("blocked", "a file where the folder should be");
        QProcess process;
        process.setProcessEnvironment(sessionIn(home, true));
        process.setProgram(program());
        process.setArguments({QStringLiteral("--workdir"), str(home / "blocked" / "tv")});
        // The box waits for an answer on the offscreen screen: standard error has said it first.
        process.start();
        QString err;
        QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(process.readAllStandardError())).contains('\n'),
                                 10000);
        QVERIFY2(err.contains(QStringLiteral("cannot use the working folder")), qPrintable(err));
        process.kill();
        process.waitForFinished(5000);
        QVERIFY(!home.exists("blocked/tv"));
    }
};

QTEST_GUILESS_MAIN(AppCommandLineTest)
#include "app_command_line_test.moc"

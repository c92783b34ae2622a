// The built program: one copy per user, a clean stop on SIGTERM, the language of a first run,
// and a store and settings of the earlier version kept as they were.
#include "support/core/temp_dir.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

using brevio::test::TempDir;

namespace {

QString program()
{
    return QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + QStringLiteral("/brevio");
}

// A run of the program in its own working folder, settings location and lock folder.
class Run
{
public:
    explicit Run(const TempDir& home, const char* locale = "C.UTF-8")
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home / "config").string()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((home / "runtime").string()));
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(QString::fromStdString((home / "work").string()));
        m_process.setProgram(program());
    }
    ~Run()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

QString settingsFile(const TempDir& home)
{
    return QString::fromStdString((home / "config" / "Morvane" / "brevio.conf").string());
}

// The program has finished its start-up once it wrote the first-run files.
bool waitUntilStarted(const TempDir& home)
{
    for (int i = 0; i < 100; ++i) {
        if (home.exists("work/ag_news.dat") && home.exists("config/Morvane/brevio.conf"))
            return true;
        QTest::qWait(100);
    }
    return false;
}

// The program catches `signal` once its window exists (the watcher is made right after it).
bool waitUntilCatching(qint64 pid, int signal)
{
    const QString status = QStringLiteral("/proc/%1/status").arg(pid);
    for (int i = 0; i < 200; ++i) {
        QFile file(status);
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (line.startsWith("SigCgt:")
                    && (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1) & 1))
                    return true;
            }
        }
        QTest::qWait(50);
    }
    return false;
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void prepare(const TempDir& home)
{
    home.write("work/.keep", "");
    home.write("runtime/.keep", "");
}

} // namespace

class AppInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartEndsAtOnceAndAKilledFirstDoesNotBlock()
    {
        TempDir home;
        prepare(home);
        Run first(home);
        first.process().start();
        QVERIFY(first.process().waitForStarted());
        QVERIFY(waitUntilStarted(home));
        // The web engine is loaded only when a browser source is first used.
        QFile maps(QStringLiteral("/proc/%1/maps").arg(first.process().processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("WebEngine"));

        Run second(home);
        second.process().start();
        QVERIFY(second.process().waitForFinished(5000));
        QCOMPARE(second.process().exitCode(), 0);
        QVERIFY(first.process().state() == QProcess::Running);

        first.process().kill(); // SIGKILL: no chance to clean up
        QVERIFY(first.process().waitForFinished(5000));

        Run third(home);
        third.process().start();
        QVERIFY(third.process().waitForStarted());
        QVERIFY(!third.process().waitForFinished(1500)); // still running: it owns the lock
        ::kill(static_cast<pid_t>(third.process().processId()), SIGTERM);
        QVERIFY(third.process().waitForFinished(5000));
    }

    void sigtermStoresTheSettingsLikeClosingTheWindow()
    {
        TempDir home;
        prepare(home);
        home.write("work/dats.dat", "");
        home.write("work/ag_news.dat", "");
        {
            QSettings seed(settingsFile(home), QSettings::IniFormat);
            seed.setValue("Main/Lang", "rus");
            seed.setValue("Proxy/proxy", "1");
            seed.setValue("Proxy/host", "gate.local");
            seed.setValue("Proxy/port", "3128");
        }
        Run run(home);
        run.process().start();
        QVERIFY(run.process().waitForStarted());
        QVERIFY(waitUntilCatching(run.process().processId(), SIGTERM));
        ::kill(static_cast<pid_t>(run.process().processId()), SIGTERM);
        QVERIFY(run.process().waitForFinished(5000));
        QCOMPARE(run.process().exitStatus(), QProcess::NormalExit);

        QSettings stored(settingsFile(home), QSettings::IniFormat);
        QCOMPARE(stored.value("Main/Lang").toString(), QString("rus"));
        QCOMPARE(stored.value("Font/Name").toString(), QString("MS Sans Serif"));
        QCOMPARE(stored.value("Proxy/host").toString(), QString("gate.local"));
        QCOMPARE(stored.value("Proxy/port").toString(), QString("3128"));
        QCOMPARE(stored.value("Proxy/avt").toString(), QString("0"));
        QVERIFY(stored.contains("fm/NormPos"));
    }

    void aStoreAndSettingsOfTheEarlierVersionAreWrittenBackUnchanged()
    {
        // tests/data/session was written by the version before the names, text ids and typed
        // settings of this one: a store of two weeks with selected shows, shifts and links, and
        // the settings of a session with a proxy and its login, Russian, a font, kept control
        // values and the window's place, which that version wrote back unchanged itself.
        namespace fs = std::filesystem;
        const fs::path fixture = fs::path(qgetenv("BREVIO_SOURCE_DIR").toStdString()) / "tests/data/session";
        TempDir home;
        prepare(home);
        fs::copy(fixture / "work", home / "work", fs::copy_options::recursive);
        home.write("config/Morvane/brevio.conf", fileBytes(fixture / "brevio.conf"));
        Run run(home);
        run.process().start();
        QVERIFY(run.process().waitForStarted());
        QVERIFY(waitUntilCatching(run.process().processId(), SIGTERM));
        ::kill(static_cast<pid_t>(run.process().processId()), SIGTERM);
        QVERIFY(run.process().waitForFinished(5000));

        QVERIFY2(home.read("config/Morvane/brevio.conf") == fileBytes(fixture / "brevio.conf"),
                 home.read("config/Morvane/brevio.conf").c_str());
        for (const auto& entry : fs::recursive_directory_iterator(fixture / "work")) {
            const std::string name = "work/" + fs::relative(entry.path(), fixture / "work").string();
            QVERIFY2(!entry.is_regular_file() || home.read(name) == fileBytes(entry.path()), name.c_str());
        }
    }

    void firstRunOfARussianUserStoresRus()
    {
        TempDir home;
        prepare(home);
        Run run(home, "ru_RU.UTF-8");
        run.process().start();
        QVERIFY(run.process().waitForStarted());
        QVERIFY(waitUntilStarted(home));
        // The file appears with the first setting written; the language follows it.
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings(settingsFile(home), QSettings::IniFormat).value("Main/Lang").toString(), QString("rus"),
            10000);
        QCOMPARE(QFile::permissions(settingsFile(home)),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                     | QFileDevice::WriteUser);
    }
};

QTEST_GUILESS_MAIN(AppInstanceTest)
#include "app_instance_test.moc"

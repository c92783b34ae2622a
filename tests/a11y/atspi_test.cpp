// A screen reader's view of the real window through AT-SPI, on a virtual display with a session
// bus of its own: every focusable object of every window (the programme grid's too) has a name
// in both languages, and the "now" pane, pressed and read through AT-SPI, says what the core
// computed.
#include "core/store/cp1251.h"
#include "core/view/now_view.h"
#include "gui/extras/about_box.h"
#include "gui/grid/grid_window.h"
#include "gui/settings/settings_page.h"
#include "gui/sources/source_list_dialog.h"
#include "gui/widgets/settings.h"
#include "ui/view_week_data.h"

#include <QEventLoop>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <cstdio>

using namespace brevio;
using namespace brevio::test;

namespace {

struct ProbeResult
{
    int exitCode = -1;
    QString out;
};

// Runs the AT-SPI probe against this process while the window goes on answering the bus.
ProbeResult probe(const QStringList& arguments)
{
    QProcess process;
    process.setProgram(QStringLiteral("/usr/bin/python3"));
    process.setArguments(
        QStringList{qEnvironmentVariable("BREVIO_SOURCE_DIR") + QStringLiteral("/tests/a11y/atspi_probe.py")}
        + arguments);
    // A running event loop answers the probe's calls at once (a waiting loop would sleep between).
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(90000, &loop, &QEventLoop::quit);
    process.start();
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {-1, QStringLiteral("the probe did not finish")};
    }
    std::fputs(process.readAllStandardError().constData(), stderr);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

QString ownPid()
{
    return QString::number(QCoreApplication::applicationPid());
}

} // namespace

class AtspiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFocusableObjectHasANameInBothLanguages()
    {
        FormFixture f;
        layOutWeek(f, "Первый:k1.txt\r\nНТВ:k2.txt\r\n");
        f.write("07122026/k1.txt", channelFile({{}, {}, {"06.00 Утро", "11.30 Новости", "13.00 Фильм"}}));
        MainWindow& form = f.start(true);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // The programme grid's window beside it, a show chosen.
        auto* grid = form.findChild<GridWindow*>();
        grid->openGrid();
        QVERIFY(QTest::qWaitForWindowExposed(grid));
        for (QRadioButton* language : {form.settingsPage()->russian(), form.settingsPage()->english()}) {
            language->click();
            const ProbeResult names = probe({QStringLiteral("names"), ownPid()});
            QVERIFY2(names.exitCode == 0, qPrintable(names.out));
        }
        // Dialogs beside the window are walked with it.
        const auto settings = std::make_unique<Settings>();
        AboutBox about(*settings, &form);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* sourceList = form.findChild<SourceListDialog*>();
        sourceList->openList();
        QVERIFY(QTest::qWaitForWindowExposed(sourceList));
        const ProbeResult names = probe({QStringLiteral("names"), ownPid()});
        QVERIFY2(names.exitCode == 0, qPrintable(names.out));
    }

    void theNowPaneReadsAsTheCoreComputedIt()
    {
        FormFixture f;
        f.clock.set(at(2026, 12, 9, 20, 0)); // Wednesday 20:00
        layOutWeek(f, "Первый:a.txt\r\nНТВ:b.txt\r\n");
        const std::vector<std::string> day
            = {"06.00 Утро", "18.30 Новости", "Описание", "19.00 Сериал", "20.30 Фильм", "23.30 Поздно"};
        const std::string week = channelFile({day, day, day, day, day, day, day});
        f.write("07122026/a.txt", week);
        f.write("07122026/b.txt", week);
        f.write("times.dat", cp("НТВ|1|0\r\n"));
        MainWindow& form = f.start(true);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.settingsPage()->nowHours()->setValue(2);

        const ProbeResult pressed = probe({QStringLiteral("press"), ownPid(), QStringLiteral("Now")});
        QVERIFY2(pressed.exitCode == 0, qPrintable(pressed.out));
        QTRY_VERIFY(form.viewingPage()->nowPane()->isVisible());

        std::vector<std::string> lines;
        QVERIFY(view::buildNowView(f.clock.now(), 2, lines));
        QVERIFY(lines.size() >= 3);
        QStringList expected;
        for (const std::string& line : lines)
            expected << QString::fromStdString(cp1251ToUtf8(line));

        const ProbeResult read = probe({QStringLiteral("text"), ownPid(), QStringLiteral("On the air now")});
        QVERIFY2(read.exitCode == 0, qPrintable(read.out));
        const qsizetype endOfCaretLine = read.out.indexOf(QLatin1Char('\n'));
        QVERIFY2(read.out.startsWith(QStringLiteral("caret ")), qPrintable(read.out));
        bool number = false;
        const int caret = read.out.mid(6, endOfCaretLine - 6).toInt(&number);
        QVERIFY(number && caret >= 0);
        QCOMPARE(read.out.mid(endOfCaretLine + 1), expected.join(QLatin1Char('\n')));
    }
};

QTEST_MAIN(AtspiTest)
#include "atspi_test.moc"

// Speed of the main window on a store of a year: the start up to the first painted window, the
// programme grid's window opened on the newest week once it is in memory, and a week of all
// channels printed to PDF in one and in five columns. Besides, the update check
// against a loopback schedule server that offers a week of many channels.
//
//   bench_window [--channels=N] [--weeks=W] [--channel-kb=K] [--offer=C] [benchmark flags]
//
// N channels a week (300 by default), W weeks (52), channel files of K KB on average (60; the
// demo server's are about 9), C channels in the server's catalogue (160000), half of them in
// the channel list of the newest week. The first start in the process (Qt
// and its fonts set up on the way, as when the program starts) is measured once and printed
// before the benchmarks; the benchmark then repeats the start of the window alone. Without a
// display the offscreen platform is used.

#include "schedule_store.h"

#include "app/main_window.h"
#include "core/session/clock.h"
#include "core/view/loaded_week.h"
#include "gui/grid/grid_window.h"
#include "gui/printing/print_preview.h"
#include "gui/printing/printing_page.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/page_host.h"
#include "tools/static_server.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using brevio::MainWindow;

constexpr local_days kMonday{2004y / December / 27};

// Boxes answered at once; what they said is kept to tell a failed run.
class QuietDialogs : public brevio::Dialogs
{
public:
    void message(const QString& text) override { messages << text; }
    bool confirm(const QString&) override { return yes; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString chooseWeek(const QStringList& weeks) override
    {
        return yes && !weeks.isEmpty() ? weeks[0] : QString();
    }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return std::nullopt; }
    QStringList messages;
    bool yes = false; // to questions, and the first week offered
};

QuietDialogs g_dialogs;
brevio::FixedClock g_clock(kMonday + days(2) + hours(12));

// Notices the first paint of any widget of one window.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget* window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~FirstPaint() override { qApp->removeEventFilter(this); }

    void wait() const
    {
        while (!m_seen)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == m_window)
            m_seen = true;
        return false;
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

// Creates, shows and paints the window; returns the time that took.
duration<double> startWindow(std::unique_ptr<MainWindow>& form)
{
    const auto start = steady_clock::now();
    form = std::make_unique<MainWindow>(g_dialogs, g_clock);
    FirstPaint paint(form.get());
    form->show();
    paint.wait();
    return steady_clock::now() - start;
}

void startToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<MainWindow> form;
        state.SetIterationTime(startWindow(form).count());
        form->hide();
    }
    if (!g_dialogs.messages.isEmpty())
        state.SkipWithError(g_dialogs.messages.join(QLatin1Char('\n')).toStdString().c_str());
}

// The programme grid's window from its menu entry to its first painting at full-HD size, with
// the week in memory (held here as an open search window holds it): the day's grid built, the
// window laid out and painted. Closing it lets the day's grid go, so each opening builds it.
void openGridWindow(benchmark::State& state)
{
    MainWindow form(g_dialogs, g_clock);
    form.show();
    brevio::PageHost& host = form.host();
    const auto week = host.loadedWeek(host.currentWeekFolder());
    auto* window = form.findChild<brevio::GridWindow*>();
    window->resize(1920, 1080);
    for (auto _ : state) {
        const auto start = steady_clock::now();
        FirstPaint paint(window);
        window->action()->trigger();
        paint.wait();
        state.SetIterationTime(duration<double>(steady_clock::now() - start).count());
        window->close();
    }
    state.counters["channels"] = static_cast<double>(week->channels().size());
    if (!g_dialogs.messages.isEmpty())
        state.SkipWithError(g_dialogs.messages.join(QLatin1Char('\n')).toStdString().c_str());
}

// The whole print of the week, from the button to the PDF written.
void printWeek(benchmark::State& state)
{
    MainWindow form(g_dialogs, g_clock);
    QTemporaryDir out;
    int pages = 0;
    form.printingPage()->setPreview([&](const brevio::PrintPreview& print) {
        pages = print.writePdf(out.filePath(QStringLiteral("week.pdf")));
    });
    form.pageButtons()[3]->click();
    form.findChild<QToolButton*>(QStringLiteral("FlatSpeedButton16"))->click();
    form.findChild<QAbstractButton*>(QStringLiteral("FlatCheckBox8"))->click(); // all days
    auto* channels = form.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
    for (int i = 0; i < channels->count(); ++i)
        channels->item(i)->setCheckState(Qt::Checked);
    form.findChild<QSpinBox*>(QStringLiteral("RxSpinEdit1"))->setValue(static_cast<int>(state.range(0)));
    auto* printButton = form.findChild<QToolButton*>(QStringLiteral("FlatButton1"));
    for (auto _ : state)
        printButton->click();
    state.counters["pages"] = pages;
    state.counters["channels"] = channels->count();
    if (!g_dialogs.messages.isEmpty() || pages == 0)
        state.SkipWithError("the print failed");
}

int g_offeredChannels = 160000;

void writeFile(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A working folder whose newest week (05.01.2004) holds every other channel of the catalogue
// that the server offers for the next week.
void writeOfferRound(const fs::path& work, const fs::path& server, int channels)
{
    std::string catalogue, loaded;
    for (int channel = 0; channel < channels; ++channel) {
        const std::string entry
            = "Channel " + std::to_string(channel) + ":c" + std::to_string(channel) + ".txt";
        catalogue += entry + ":";
        if (channel % 2 == 0)
            loaded += entry + "\r\n";
    }
    writeFile(work / "dats.dat", "05.01.2004\r\n");
    writeFile(work / "ag_news.dat", ""); // no first run
    writeFile(work / "05012004" / "aplp.dat", loaded);
    writeFile(server / "datas.dat", "12.01.2004\r\n");
    writeFile(server / "12012004" / "data.dat", "12.01.2004");
    writeFile(server / "12012004" / "files.dat", catalogue);
}

// The check from its click to the filled checklist: the server's three files fetched, the
// catalogue matched against the loaded channel list, files.dat written and the list filled.
void checkChannelOffer(benchmark::State& state)
{
    QTemporaryDir work, serverRoot;
    writeOfferRound(work.path().toStdString(), serverRoot.path().toStdString(), g_offeredChannels);
    brevio::tools::StaticServer server(serverRoot.path().toStdString());
    const int port = server.bind(0);
    std::thread serving([&] { server.run(); });
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvane"),
                           QStringLiteral("brevio"));
        settings.setValue(QStringLiteral("Server/url"), QStringLiteral("http://127.0.0.1:%1/").arg(port));
        settings.setValue(QStringLiteral("Main/lastdate"), QStringLiteral("05.01.2004"));
    }
    const QString storeFolder = QDir::currentPath();
    QDir::setCurrent(work.path());
    g_dialogs.yes = true;
    {
        MainWindow form(g_dialogs, g_clock);
        auto* check = form.findChild<QToolButton*>(QStringLiteral("FlatSpeedButton19"));
        auto* offer = form.findChild<QListWidget*>(QStringLiteral("CheckListBox2"));
        for (auto _ : state) {
            form.pageButtons()[1]->click(); // the page opened again enables the check
            check->click();
        }
        int ticked = 0;
        for (int i = 0; i < offer->count(); ++i)
            ticked += offer->item(i)->checkState() == Qt::Checked;
        state.counters["offered"] = offer->count();
        state.counters["ticked"] = ticked;
        if (offer->count() != g_offeredChannels || ticked != (g_offeredChannels + 1) / 2)
            state.SkipWithError("the check did not offer the catalogue");
    }
    g_dialogs.yes = false;
    QDir::setCurrent(storeFolder);
    server.stop();
    serving.join();
}

BENCHMARK(startToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(openGridWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(printWeek)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(checkChannelOffer)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    const int channels = brevio::bench::takeCount(argc, argv, "--channels=", 300);
    const int weeks = brevio::bench::takeCount(argc, argv, "--weeks=", 52);
    const int kilobytes = brevio::bench::takeCount(argc, argv, "--channel-kb=", 60);
    g_offeredChannels = brevio::bench::takeCount(argc, argv, "--offer=", g_offeredChannels);
    if (channels < 1 || weeks < 1 || g_offeredChannels < 1) {
        std::cerr << "--channels, --weeks and --offer need a number of at least 1\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir work;
    QTemporaryDir config;
    const fs::path root = work.path().toStdString();
    const auto store = brevio::bench::writeWeeks(root, {channels, kMonday, 2004, kilobytes}, weeks);
    std::cerr << "store: " << weeks << " weeks of " << store.channels << " channels, newest "
              << store.channelBytes / 1024 << " KB (files " << store.smallestFile / 1024 << "-"
              << store.largestFile / 1024 << " KB)\n";
    QDir::setCurrent(work.path());

    // As the program starts: the application, its font, then the window.
    const auto start = steady_clock::now();
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QFont interfaceFont(QStringLiteral("Liberation Sans"), 8);
    interfaceFont.setStyleHint(QFont::SansSerif);
    QApplication::setFont(interfaceFont);
    const auto appMade = steady_clock::now();
    std::unique_ptr<MainWindow> first;
    const auto window = startWindow(first);
    std::cerr << "first start: " << duration<double, std::milli>(steady_clock::now() - start).count()
              << " ms to the first painted window (the application "
              << duration<double, std::milli>(appMade - start).count() << " ms, the window "
              << duration<double, std::milli>(window).count() << " ms)\n";
    first.reset();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return g_dialogs.messages.isEmpty() ? 0 : 1;
}

// Speed of the main window on a store of a year: the start up to the first painted window, and
// a week of all channels printed to PDF in one and in five columns.
//
//   bench_window [--channels=N] [--weeks=W] [--channel-kb=K] [benchmark flags]
//
// N channels a week (300 by default), W weeks (52), channel files of K KB on average (60; the
// demo server's are about 9). The first start in the process (Qt
// and its fonts set up on the way, as when the program starts) is measured once and printed
// before the benchmarks; the benchmark then repeats the start of the window alone. Without a
// display the offscreen platform is used.

#include "schedule_store.h"

#include "app/brevio_form.h"
#include "app/clock.h"
#include "app/dialogs.h"
#include "print/print_form.h"
#include "print/printing_page.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
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
#include <iostream>
#include <memory>

namespace {

using namespace std::chrono;
namespace fs = std::filesystem;
using brevio::TBrevioForm;

constexpr local_days kMonday{2004y / December / 27};

// Boxes answered at once; what they said is kept to tell a failed run.
class QuietDialogs : public brevio::Dialogs
{
public:
    void message(const QString& text) override { messages << text; }
    bool confirm(const QString&) override { return false; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString chooseWeek(const QStringList&) override { return {}; }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return std::nullopt; }
    QStringList messages;
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
duration<double> startWindow(std::unique_ptr<TBrevioForm>& form)
{
    const auto start = steady_clock::now();
    form = std::make_unique<TBrevioForm>(g_dialogs, g_clock);
    FirstPaint paint(form.get());
    form->show();
    paint.wait();
    return steady_clock::now() - start;
}

void startToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TBrevioForm> form;
        state.SetIterationTime(startWindow(form).count());
        form->hide();
    }
    if (!g_dialogs.messages.isEmpty())
        state.SkipWithError(g_dialogs.messages.join(QLatin1Char('\n')).toStdString().c_str());
}

// The whole print of the week, from the button to the PDF written.
void printWeek(benchmark::State& state)
{
    TBrevioForm form(g_dialogs, g_clock);
    QTemporaryDir out;
    int pages = 0;
    form.printingPage()->setPreview([&](const brevio::TTVPrintForm& print) {
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

BENCHMARK(startToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(printWeek)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(2);

// Takes --name=N out of the arguments; the rest belongs to the benchmark library.
int takeCount(int& argc, char** argv, const char* flag, int fallback)
{
    int value = fallback;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            value = std::atoi(argv[i] + std::strlen(flag));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    const int channels = takeCount(argc, argv, "--channels=", 300);
    const int weeks = takeCount(argc, argv, "--weeks=", 52);
    const int kilobytes = takeCount(argc, argv, "--channel-kb=", 60);
    if (channels < 1 || weeks < 1) {
        std::cerr << "--channels and --weeks need a number of at least 1\n";
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
    std::unique_ptr<TBrevioForm> first;
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

// A listing source refreshed as the window does it: a real main window in a fresh working folder,
// a gzip-compressed XMLTV listing served by the demo's static server on loopback, "Refresh now"
// into the empty store, timed, and how long the window went at most without turning its event
// loop (what a user feels as a frozen window); then the same again, unchanged (a 304).
//
//   bench_refresh_window LISTING.xml.gz
#include "app/main_window.h"
#include "core/session/clock.h"
#include "core/sources/listing_source.h"
#include "gui/sources/source_refresher.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/settings.h"
#include "tools/static_server.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

class BenchDialogs : public brevio::Dialogs
{
public:
    void message(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool confirm(const QString&) override { return false; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString chooseWeek(const QStringList& weeks) override { return weeks.value(0); }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return std::nullopt; }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_refresh_window LISTING.xml.gz\n");
        return 2;
    }
    const std::filesystem::path listing = std::filesystem::absolute(argv[1]);
    QTemporaryDir served;
    QTemporaryDir work;
    QTemporaryDir config;
    std::filesystem::copy_file(listing, served.filePath(QStringLiteral("listings.xml.gz")).toStdString());
    brevio::tools::StaticServer server(served.path().toStdString());
    const int port = server.bind(0);
    std::thread serving([&] { server.run(); });

    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QDir::setCurrent(work.path());
    for (const char* name : {"dats.dat", "ag_news.dat"}) { // a store used before: no first run
        QFile file(work.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
    }
    {
        brevio::sources::ListingSource source;
        source.name = "bench";
        source.address = "http://127.0.0.1:" + std::to_string(port) + "/listings.xml.gz";
        source.keepAll = true;
        brevio::Settings settings;
        brevio::storeListingSources(settings, {source});
        settings.sync();
    }

    BenchDialogs dialogs;
    brevio::SystemClock clock;
    brevio::MainWindow form(dialogs, clock);
    form.show();
    auto* refresher = form.findChild<brevio::SourceRefresher*>();
    QString said;
    QObject::connect(refresher, &brevio::SourceRefresher::statusChanged,
                     [&](const QString& text) { said = text; });

    // The event loop's heartbeat: the longest gap between two turns while the refresh runs.
    QElapsedTimer sinceBeat;
    qint64 longestGap = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceBeat.elapsed());
        sinceBeat.restart();
    });
    beat.start(1);
    sinceBeat.start();

    QElapsedTimer took;
    took.start();
    refresher->refreshAll();
    const qint64 elapsed = took.elapsed();
    longestGap = std::max(longestGap, sinceBeat.elapsed());
    std::printf("refresh in the window: %.2f s, the window's longest pause %lld ms (%s)\n",
                double(elapsed) / 1000.0, static_cast<long long>(longestGap), qPrintable(said));

    took.restart();
    refresher->refreshAll();
    std::printf("unchanged: %lld ms (%s)\n", static_cast<long long>(took.elapsed()), qPrintable(said));
    beat.stop();
    server.stop();
    serving.join();
    return 0;
}

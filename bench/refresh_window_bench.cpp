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
#include "gui/widgets/settings.h"
#include "tools/static_server.h"
#include "window_run.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <thread>

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
    std::filesystem::copy_file(listing, served.filePath(QStringLiteral("listings.xml.gz")).toStdString());
    brevio::tools::StaticServer server(served.path().toStdString());
    const int port = server.bind(0);
    std::thread serving([&] { server.run(); });

    const brevio::bench::FreshSession session;
    {
        brevio::sources::ListingSource source;
        source.name = "bench";
        source.address = "http://127.0.0.1:" + std::to_string(port) + "/listings.xml.gz";
        source.keepAll = true;
        brevio::Settings settings;
        brevio::storeListingSources(settings, {source});
        settings.sync();
    }

    brevio::bench::PrintingDialogs dialogs;
    brevio::SystemClock clock;
    brevio::MainWindow form(dialogs, clock);
    form.show();
    auto* refresher = form.findChild<brevio::SourceRefresher*>();
    QString said;
    QObject::connect(refresher, &brevio::SourceRefresher::statusChanged,
                     [&](const QString& text) { said = text; });

    brevio::bench::Heartbeat heartbeat;
    heartbeat.start();
    QElapsedTimer took;
    took.start();
    refresher->refreshAll();
    const qint64 elapsed = took.elapsed();
    const qint64 longestGap = heartbeat.stop();
    std::printf("refresh in the window: %.2f s, the window's longest pause %lld ms (%s)\n",
                double(elapsed) / 1000.0, static_cast<long long>(longestGap), qPrintable(said));

    took.restart();
    refresher->refreshAll();
    std::printf("unchanged: %lld ms (%s)\n", static_cast<long long>(took.elapsed()), qPrintable(said));
    server.stop();
    serving.join();
    return 0;
}

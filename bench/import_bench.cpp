// The import of an XMLTV file as the program runs it: a real main window in a fresh working
// folder, "Import XMLTV…" with the file chosen, timed; and how long the window went at most
// without turning its event loop (what a user feels as a frozen window).
//
//   bench_import LISTING.xml
#include "app/main_window.h"
#include "core/session/clock.h"
#include "gui/exchange/import_dialog.h"
#include "window_run.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_import LISTING.xml\n");
        return 2;
    }
    const QString listing = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const brevio::bench::FreshSession session;
    brevio::bench::PrintingDialogs dialogs(listing);
    brevio::SystemClock clock;
    brevio::MainWindow form(dialogs, clock);
    form.show();

    // The import's options, asked after the file, are taken as they stand.
    QTimer acceptOptions;
    QObject::connect(&acceptOptions, &QTimer::timeout, [] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && box->objectName() == QLatin1String("ImportOptions"))
            box->accept();
    });
    acceptOptions.start(1);

    brevio::bench::Heartbeat heartbeat;
    heartbeat.start();
    QElapsedTimer took;
    took.start();
    form.findChild<brevio::XmltvImport*>()->importXmltv();
    const qint64 elapsed = took.elapsed();
    const qint64 longestGap = heartbeat.stop();
    std::printf("import: %.2f s, the window's longest pause %lld ms\n", double(elapsed) / 1000.0,
                static_cast<long long>(longestGap));
    return 0;
}

// The import of an XMLTV file as the program runs it: a real main window in a fresh working
// folder, "Import XMLTV…" with the file chosen, timed; and how long the window went at most
// without turning its event loop (what a user feels as a frozen window).
//
//   bench_import LISTING.xml
#include "app/main_window.h"
#include "core/session/clock.h"
#include "gui/exchange/import_dialog.h"
#include "gui/widgets/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers the file dialog with the listing and prints every message.
class BenchDialogs : public brevio::Dialogs
{
public:
    explicit BenchDialogs(QString file)
        : m_file(std::move(file))
    {
    }
    void message(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool confirm(const QString&) override { return false; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString chooseWeek(const QStringList& weeks) override { return weeks.value(0); }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return m_file; }

private:
    QString m_file;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_import LISTING.xml\n");
        return 2;
    }
    const QString listing = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir work;
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QDir::setCurrent(work.path());
    // A store that has been used before: no first run.
    for (const char* name : {"dats.dat", "ag_news.dat"}) {
        QFile file(work.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
    }

    BenchDialogs dialogs(listing);
    brevio::SystemClock clock;
    brevio::MainWindow form(dialogs, clock);
    form.show();

    // The event loop's heartbeat: the longest gap between two turns while the import runs.
    QElapsedTimer sinceBeat;
    qint64 longestGap = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceBeat.elapsed());
        sinceBeat.restart();
    });
    beat.start(1);
    sinceBeat.start();

    // The import's options, asked after the file, are taken as they stand.
    QTimer acceptOptions;
    QObject::connect(&acceptOptions, &QTimer::timeout, [] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && box->objectName() == QLatin1String("ImportOptions"))
            box->accept();
    });
    acceptOptions.start(1);

    QElapsedTimer took;
    took.start();
    form.findChild<brevio::XmltvImport*>()->importXmltv();
    const qint64 elapsed = took.elapsed();
    beat.stop();
    std::printf("import: %.2f s, the window's longest pause %lld ms\n", double(elapsed) / 1000.0,
                static_cast<long long>(longestGap));
    return 0;
}

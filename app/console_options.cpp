#include "app/console_options.h"

#include "app/clock.h"
#include "app/console_commands.h"
#include "app/settings.h"
#include "app/string_table.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <iostream>

namespace brevio {

namespace {

constexpr int kMaxHours = 24;

// The look-ahead the settings page stores (its spin box allows 0 to 5 hours).
int storedHours(const Settings& settings)
{
    return std::clamp(settings.readInteger(QStringLiteral("fm"), QStringLiteral("RxSpinEdit10_Value"), 0), 0,
                      5);
}

int storedLanguageOffset(const Settings& settings)
{
    return settings.readString(QStringLiteral("Main"), QStringLiteral("Lang"), QStringLiteral("eng"))
            == QLatin1String("rus")
        ? kRussianOffset
        : kEnglishOffset;
}

} // namespace

std::optional<int> runConsoleOptions(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brevio, a TV-listings client. Without options it opens "
                                                    "its window; the options below answer in the terminal "
                                                    "from the current folder's week store."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption now(QStringLiteral("now"),
                                 QStringLiteral("Print what is on the air now and in the next hours."));
    const QCommandLineOption hours(QStringLiteral("hours"),
                                   QStringLiteral("With --now: the hours to look ahead (0-24; the stored "
                                                  "setting by default)."),
                                   QStringLiteral("N"));
    const QCommandLineOption search(QStringLiteral("search"),
                                    QStringLiteral("Print the shows of the newest week whose title or "
                                                   "description holds TEXT (case ignored)."),
                                    QStringLiteral("TEXT"));
    parser.addOptions({now, hours, search});

    const bool parsed = parser.parse(arguments);
    const bool ours = parsed
        && (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")) || parser.isSet(version)
            || parser.isSet(now) || parser.isSet(search) || parser.isSet(hours));
    if (!ours) {
        // Another command line (Qt's own options among them) is the window's.
        bool named = false;
        for (const QString& argument : arguments.mid(1))
            named = named || argument.startsWith(QLatin1String("--now"))
                || argument.startsWith(QLatin1String("--search"))
                || argument.startsWith(QLatin1String("--hours"));
        if (!named)
            return std::nullopt;
        std::cerr << "brevio: " << parser.errorText().toStdString() << '\n';
        return 2;
    }

    // The parser's help and version texts need the application object; no window is made.
    int appArgc = 1;
    QCoreApplication app(appArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brevio"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVIO_VERSION));
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::cout << parser.helpText().toStdString();
        return 0;
    }
    if (parser.isSet(version)) {
        std::cout << "brevio " << BREVIO_VERSION << '\n';
        return 0;
    }
    if (parser.isSet(now) == parser.isSet(search) || (parser.isSet(hours) && !parser.isSet(now))) {
        std::cerr << "brevio: give either --now (with --hours N if you like) or --search TEXT\n";
        return 2;
    }
    const Settings settings;
    if (parser.isSet(search)) {
        const QByteArray text = parser.value(search).toUtf8();
        return printSearch(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           storedLanguageOffset(settings), std::cout, std::cerr);
    }
    int lookAhead = storedHours(settings);
    if (parser.isSet(hours)) {
        bool ok = false;
        lookAhead = parser.value(hours).toInt(&ok);
        if (!ok || lookAhead < 0 || lookAhead > kMaxHours) {
            std::cerr << "brevio: --hours needs a whole number from 0 to " << kMaxHours << '\n';
            return 2;
        }
    }
    return printNowView(SystemClock().now(), lookAhead, std::cout, std::cerr);
}

} // namespace brevio

#include "app/console_options.h"

#include "app/command_line.h"
#include "core/reminders/reminder_console.h"
#include "core/session/clock.h"
#include "core/texts/string_table.h"
#include "core/view/console_commands.h"
#include "gui/reminders/reminder_settings.h"
#include "gui/widgets/settings.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace brevio {

namespace {

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

int runConsoleCommand(const CommandLine& commandLine)
{
    const QString folder = commandLine.workFolder();
    if (!folder.isEmpty()) {
        std::error_code error;
        std::filesystem::current_path(QFile::encodeName(folder).toStdString(), error);
        if (error) {
            std::cerr << "brevio: cannot use the working folder " << folder.toStdString() << ": "
                      << error.message() << '\n';
            return 1;
        }
    }
    const Settings settings;
    if (commandLine.remindersWanted())
        return reminders::printReminders(SystemClock().now(), readReminderOptions(settings), std::cout,
                                         std::cerr);
    if (!commandLine.nowWanted()) {
        const QByteArray text = commandLine.searchText().toUtf8();
        return printSearch(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           storedLanguageOffset(settings), std::cout, std::cerr);
    }
    return printNowView(SystemClock().now(), commandLine.lookAheadHours().value_or(storedHours(settings)),
                        std::cout, std::cerr);
}

} // namespace brevio

#include "app/console_options.h"

#include "app/command_line.h"
#include "core/reminders/reminder_console.h"
#include "core/session/clock.h"
#include "core/session/work_folder.h"
#include "core/sources/source_commands.h"
#include "core/view/console_commands.h"
#include "gui/reminders/reminder_settings.h"
#include "gui/widgets/settings.h"

#include <QFile>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace brevio {

namespace {

sources::SourceListStore sourceListStore(Settings& settings)
{
    return {[&settings] {
                settings.sync(); // what another process stored meanwhile
                return listingSources(settings);
            },
            [&settings](const std::vector<sources::ListingSource>& list) -> std::optional<std::string> {
                storeListingSources(settings, list);
                if (settings.sync())
                    return std::nullopt;
                return "the listing sources could not be stored in " + settings.fileName().toStdString();
            }};
}

int runSourceCommand(const CommandLine& commandLine)
{
    Settings settings;
    sources::SourceListStore list = sourceListStore(settings);
    if (commandLine.addSourceWanted())
        return sources::addSource(list, commandLine.sourceAddress().toStdString(),
                                  commandLine.sourceName().toStdString(), std::cout, std::cerr);
    sources::FetchOptions options;
    options.http.timeoutMs = kDefaultTimeoutSeconds * 1000L; // the spin box's value at every start
    options.http.proxy = storedProxy(settings);
    return sources::refreshSources(
        list, std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now()), options,
        std::cout, std::cerr);
}

// Enters the working folder: made when missing for a command that writes the store, else only
// entered (a command that reads makes no folder).
bool enterFolder(const QString& folder, bool make)
{
    if (folder.isEmpty())
        return true;
    const std::string path = QFile::encodeName(folder).toStdString();
    std::optional<std::string> failure;
    if (make) {
        failure = enterWorkFolder(path);
    } else {
        std::error_code error;
        std::filesystem::current_path(path, error);
        if (error)
            failure = error.message();
    }
    if (failure)
        std::cerr << "brevio: cannot use the working folder " << folder.toStdString() << ": " << *failure
                  << '\n';
    return !failure;
}

} // namespace

int runConsoleCommand(const CommandLine& commandLine)
{
    const bool sourceCommand = commandLine.refreshWanted() || commandLine.addSourceWanted();
    if (!enterFolder(commandLine.workFolder(), sourceCommand))
        return 1;
    if (sourceCommand)
        return runSourceCommand(commandLine);
    const Settings settings;
    if (commandLine.remindersWanted())
        return reminders::printReminders(SystemClock().now(), readReminderOptions(settings), std::cout,
                                         std::cerr);
    if (!commandLine.nowWanted()) {
        const QByteArray text = commandLine.searchText().toUtf8();
        return printSearch(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           storedLanguageOffset(settings), std::cout, std::cerr);
    }
    return printNowView(SystemClock().now(), commandLine.lookAheadHours().value_or(storedNowHours(settings)),
                        std::cout, std::cerr);
}

} // namespace brevio

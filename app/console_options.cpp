#include "app/console_options.h"

#include "app/command_line.h"
#include "core/session/clock.h"
#include "core/view/console_commands.h"
#include "gui/widgets/settings.h"

#include <QFile>

#include <filesystem>
#include <iostream>

namespace brevio {

namespace {

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
    if (!commandLine.nowWanted()) {
        const QByteArray text = commandLine.searchText().toUtf8();
        return printSearch(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           storedLanguageOffset(settings), std::cout, std::cerr);
    }
    return printNowView(SystemClock().now(), commandLine.lookAheadHours().value_or(storedNowHours(settings)),
                        std::cout, std::cerr);
}

} // namespace brevio

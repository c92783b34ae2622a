#include "app/command_line.h"
#include "app/console_options.h"
#include "app/main_window.h"
#include "app/termination_watcher.h"
#include "core/extras/desktop_entry.h"
#include "core/session/clock.h"
#include "core/session/single_instance.h"
#include "core/session/work_folder.h"
#include "core/texts/string_table.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Said on standard error and, for a start from the applications menu, in a box: the working
// folder cannot be made or entered. The settings are not read yet; the system's language speaks.
int refuseWorkFolder(const QString& folder, const std::string& reason)
{
    std::fprintf(stderr, "brevio: cannot use the working folder %s: %s\n", qUtf8Printable(folder),
                 reason.c_str());
    const int offset
        = QLocale::system().language() == QLocale::Russian ? brevio::kRussianOffset : brevio::kEnglishOffset;
    const std::string_view text = brevio::textOf(brevio::TextId::WorkFolderUnusable, offset);
    QMessageBox::critical(nullptr, QStringLiteral("Brevio"),
                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                              .arg(folder, QString::fromLocal8Bit(reason.c_str())));
    return 1;
}

int refuseCommandLine(const brevio::CommandLine& commandLine)
{
    std::fprintf(stderr, "brevio: %s\nTry 'brevio --help'.\n", qUtf8Printable(commandLine.errorText()));
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version need no display and must not count as a start: they are answered
    // before the single-instance lock. So is a command line that is wrong: a second start
    // refuses it as the first would, instead of ending silently.
    brevio::CommandLine commandLine;
    const bool understood = commandLine.parse(argumentsOf(argc, argv));
    if (commandLine.helpWanted() || commandLine.versionWanted()) {
        const QString text
            = commandLine.helpWanted() ? commandLine.helpText() : brevio::CommandLine::versionText();
        std::fputs(qUtf8Printable(text), stdout);
        return 0;
    }
    if (!understood)
        return refuseCommandLine(commandLine);
    // The terminal commands answer without a display, and a running copy holding the lock does
    // not stop them (a refresh of the store keeps to its own lock).
    if (commandLine.consoleCommandWanted())
        return brevio::runConsoleCommand(commandLine);

    // One copy per user; a second start ends at once, silently.
    const auto instance = brevio::SingleInstanceLock::acquire("Brevio24");
    if (!instance)
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brevio"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(BREVIO_VERSION));
    const QString applicationId = QString::fromLatin1(brevio::kApplicationId.data(),
                                                      static_cast<qsizetype>(brevio::kApplicationId.size()));
    QGuiApplication::setDesktopFileName(applicationId);
    QApplication::setWindowIcon(QIcon::fromTheme(applicationId));

    const QString folder = commandLine.workFolder();
    if (!folder.isEmpty()) {
        if (const auto failure = brevio::enterWorkFolder(QFile::encodeName(folder).toStdString()))
            return refuseWorkFolder(folder, *failure);
    }

    QApplication::setFont(brevio::interfaceFont());

    brevio::QtDialogs dialogs;
    brevio::SystemClock clock;
    brevio::MainWindow form(dialogs, clock);
    dialogs.setParent(&form);
    // A logout sends SIGTERM: store what can be stored and end, whatever is open.
    brevio::TerminationWatcher watcher([&form] { form.endSession(); });
    form.show();
    return QApplication::exec();
}

#include "app/brevio_form.h"
#include "app/clock.h"
#include "app/console_options.h"
#include "app/dialogs.h"
#include "app/single_instance.h"
#include "app/termination_watcher.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    // Terminal commands answer without a window and without the lock: they only read.
    if (const auto exitCode = brevio::runConsoleOptions(argc, argv))
        return *exitCode;

    // One copy per user; a second start ends at once, silently.
    const auto instance = brevio::SingleInstanceLock::acquire("Brevio24");
    if (!instance)
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("brevio"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    // The window was laid out for a small 8-point interface font of Arial's widths.
    QFont interfaceFont(QStringLiteral("Liberation Sans"), 8);
    interfaceFont.setStyleHint(QFont::SansSerif);
    QApplication::setFont(interfaceFont);

    brevio::QtDialogs dialogs;
    brevio::SystemClock clock;
    brevio::TBrevioForm form(dialogs, clock);
    dialogs.setParent(&form);
    // A logout sends SIGTERM: store what can be stored and end, whatever is open.
    brevio::TerminationWatcher watcher([&form] { form.endSession(); });
    form.show();
    return QApplication::exec();
}

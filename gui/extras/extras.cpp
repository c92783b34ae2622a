#include "gui/extras/extras.h"

#include "app/main_window.h"
#include "core/extras/desktop_entry.h"
#include "core/session/work_folder.h"
#include "gui/exchange/jtv_export_dialog.h"
#include "gui/extras/about_box.h"
#include "gui/extras/link_addresses.h"
#include "gui/settings/companion_box.h"
#include "gui/settings/settings_page.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QToolButton>

#include <filesystem>

namespace brevio {

Extras::Extras(MainWindow& form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("Extras"));
    connectAction("N2", &Extras::openHomePage);
    connectAction("N3", &Extras::openJokes);
    connectAction("N4", &Extras::openPsychologyTests);
    connectAction("N10", &Extras::openLibraries);
    connectAction("N11", &Extras::openRockSite);
    connectAction("N12", &Extras::openDrinks);
    connectAction("ICQ1", &Extras::openIcqList);
    connectAction("N13", &Extras::openJuicyJokes);
    connectAction("N8", &Extras::openHelp);
    connectAction("N7", &Extras::showAboutBox);
    connectButton("FlatSpeedButton32", &Extras::putShortcutOnDesktop);
    connectButton("FlatButton2", &Extras::openJtvExport);
    m_chimeo = new CompanionBox(form);
}

void Extras::connectAction(const char* name, void (Extras::*handler)())
{
    if (auto* action = m_form.findChild<QAction*>(QString::fromLatin1(name)))
        connect(action, &QAction::triggered, this,
                [this, handler] { m_form.guard([this, handler] { (this->*handler)(); }); });
}

void Extras::connectButton(const char* name, void (Extras::*handler)())
{
    if (auto* button = m_form.settingsPage()->findChild<QToolButton*>(QString::fromLatin1(name)))
        connect(button, &QToolButton::clicked, this,
                [this, handler] { m_form.guard([this, handler] { (this->*handler)(); }); });
}

void Extras::openOnMakerSite(const char* path)
{
    openAddress(linkUrl(makerAddress(m_form.settings(), QString::fromLatin1(path))));
}

void Extras::openHomePage()
{
    openAddress(linkUrl(homePageAddress(m_form.settings())));
}

void Extras::openJokes()
{
    openOnMakerSite("/anekdot/");
}

void Extras::openPsychologyTests()
{
    openOnMakerSite("/test/");
}

void Extras::openLibraries()
{
    openOnMakerSite("/book/");
}

void Extras::openRockSite()
{
    openOnMakerSite("/music/");
}

void Extras::openDrinks()
{
    openOnMakerSite("/drink/");
}

void Extras::openIcqList()
{
    openOnMakerSite("/icq/");
}

void Extras::openJuicyJokes()
{
    openAddress(linkUrl(subscribeAddress(m_form.settings(), QStringLiteral("/index.cgi"))));
}

void Extras::openHelp()
{
    openAddress(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("brevio.chm"))));
}

void Extras::showAboutBox()
{
    AboutBox box(m_form.settings(), &m_form);
    box.exec();
}

void Extras::putShortcutOnDesktop()
{
    // The shortcut starts the program on this session's working folder (the current folder since
    // the start). Failures are not reported: it is a convenience, tried again on the next click.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    if (ec)
        return;
    writeDesktopShortcut(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString(),
                         QCoreApplication::applicationFilePath().toStdString(),
                         workFolderOptions(folder, userDataHomeWorkFolder()));
}

void Extras::openJtvExport()
{
    runJtvExportDialog(m_form);
}

} // namespace brevio

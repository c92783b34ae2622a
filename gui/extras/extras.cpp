#include "gui/extras/extras.h"

#include "core/extras/desktop_entry.h"
#include "core/session/work_folder.h"
#include "gui/extras/about_box.h"
#include "gui/widgets/link_addresses.h"
#include "gui/widgets/page_host.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>

#include <filesystem>

namespace brevio {

Extras::Extras(PageHost& host, QMenu* usefulLinks, QMenu* help)
    : QObject(host.window())
    , m_host(host)
{
    setObjectName(QStringLiteral("Extras"));
    addEntry(usefulLinks, "N2", "Домашняя страница Brevio", &Extras::openHomePage);
    usefulLinks->addSeparator()->setObjectName(QStringLiteral("N15"));
    addEntry(usefulLinks, "N3", "Анекдоты", &Extras::openJokes);
    addEntry(usefulLinks, "N4", "Психологические тесты", &Extras::openPsychologyTests);
    addEntry(usefulLinks, "N10", "Библиотеки", &Extras::openLibraries);
    addEntry(usefulLinks, "N11", "Рок-сайт", &Extras::openRockSite);
    addEntry(usefulLinks, "N12", "Безалкогольные напитки", &Extras::openDrinks);
    addEntry(usefulLinks, "ICQ1", "ICQ лист", &Extras::openIcqList);
    addEntry(usefulLinks, "N13", "Пикантные анекдоты", &Extras::openJuicyJokes);
    addEntry(help, "N8", "Справка", &Extras::openHelp);
    help->addSeparator()->setObjectName(QStringLiteral("N18"));
    addEntry(help, "N7", "О программе", &Extras::showAboutBox);
}

void Extras::addEntry(QMenu* menu, const char* name, const char* caption, void (Extras::*handler)())
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setParent(menu);
    m_host.connectGuarded(action, &QAction::triggered, this, handler);
}

void Extras::openOnMakerSite(const char* path)
{
    openAddress(linkUrl(makerAddress(m_host.settings(), QString::fromLatin1(path))));
}

void Extras::openHomePage()
{
    openAddress(linkUrl(homePageAddress(m_host.settings())));
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
    openAddress(linkUrl(subscribeAddress(m_host.settings(), QStringLiteral("/index.cgi"))));
}

void Extras::openHelp()
{
    openAddress(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("brevio.chm"))));
}

void Extras::showAboutBox()
{
    AboutBox box(m_host.settings(), m_host.window());
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

} // namespace brevio

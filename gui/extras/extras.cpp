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

Extras::Extras(TBrevioForm& form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("Extras"));
    connectAction("N2", &Extras::N2Click);
    connectAction("N3", &Extras::N3Click);
    connectAction("N4", &Extras::N4Click);
    connectAction("N10", &Extras::N10Click);
    connectAction("N11", &Extras::N11Click);
    connectAction("N12", &Extras::N12Click);
    connectAction("ICQ1", &Extras::ICQ1Click);
    connectAction("N13", &Extras::N13Click);
    connectAction("N8", &Extras::N8Click);
    connectAction("N7", &Extras::N7Click);
    connectButton("FlatSpeedButton32", &Extras::FlatSpeedButton32Click);
    connectButton("FlatButton2", &Extras::FlatButton2Click);
    m_chimeo = new ChimeoBox(form);
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

void Extras::N2Click()
{
    openAddress(linkUrl(homePageAddress(m_form.settings())));
}

void Extras::N3Click()
{
    openOnMakerSite("/anekdot/");
}

void Extras::N4Click()
{
    openOnMakerSite("/test/");
}

void Extras::N10Click()
{
    openOnMakerSite("/book/");
}

void Extras::N11Click()
{
    openOnMakerSite("/music/");
}

void Extras::N12Click()
{
    openOnMakerSite("/drink/");
}

void Extras::ICQ1Click()
{
    openOnMakerSite("/icq/");
}

void Extras::N13Click()
{
    openAddress(linkUrl(subscribeAddress(m_form.settings(), QStringLiteral("/index.cgi"))));
}

void Extras::N8Click()
{
    openAddress(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("brevio.chm"))));
}

void Extras::N7Click()
{
    TAboutBox box(m_form.settings(), &m_form);
    box.exec();
}

void Extras::FlatSpeedButton32Click()
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

void Extras::FlatButton2Click()
{
    runJtvExportDialog(m_form);
}

} // namespace brevio

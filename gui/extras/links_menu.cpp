#include "gui/extras/links_menu.h"

#include "core/news/web_address.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/links_file.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/link_addresses.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"

#include <QMenu>

namespace brevio {

namespace {

// A click on a link item: the caption is shown, then the first "s" line with that caption
// names the address to open.
void openLink(const PageHost& host, const QString& caption)
{
    const std::string file(store::kLinksFile);
    if (!store::fileExists(file)) {
        host.dialogs().message(QStringLiteral("Кудато делся файл с линками..."));
        return;
    }
    host.dialogs().message(caption);
    const auto target = store::findLinkTarget(store::readFile(file), toData(caption));
    // The same addresses as the news pane opens: web and mail, never files or programs.
    const std::string openable = target ? news::openableAddress(*target) : std::string();
    if (!openable.empty())
        openAddress(QUrl(fromData(openable)));
}

// A caption shown as written: a menu takes '&' for the mark of a shortcut letter and a tab for
// the start of a shortcut's text.
QString menuText(QString caption)
{
    return caption.replace(QLatin1Char('&'), QStringLiteral("&&"))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

void addEntries(QMenu* menu, const std::vector<store::LinkEntry>& entries, const PageHost& host)
{
    for (const auto& entry : entries) {
        const QString caption = fromData(entry.caption);
        QAction* action = menu->addAction(menuText(caption));
        host.connectGuarded(action, &QAction::triggered, menu, [&host, caption] { openLink(host, caption); });
    }
}

} // namespace

void buildLinksMenu(QMenu* menu, const PageHost& host)
{
    const std::string file(store::kLinksFile);
    if (!store::fileExists(file))
        return;
    const store::LinksMenu links = store::parseLinks(store::readFile(file));
    // Link lines above the first heading have no submenu: they stand directly in the menu.
    addEntries(menu, links.beforeFirstHeading, host);
    for (const auto& heading : links.headings)
        addEntries(menu->addMenu(menuText(fromData(heading.caption))), heading.entries, host);
}

} // namespace brevio

#pragma once

#include <QObject>

class QMenu;

namespace brevio {

class PageHost;

// The menus' links, help and about, and the desktop shortcut: the entries of "Полезные ссылки"
// and "Помощь" are made here, with their handlers. Owned by the main window.
class Extras : public QObject
{
    Q_OBJECT

public:
    Extras(PageHost& host, QMenu* usefulLinks, QMenu* help);

    // "Полезные ссылки": the maker's pages and the subscription service.
    void openHomePage();
    void openJokes();
    void openPsychologyTests();
    void openLibraries();
    void openRockSite();
    void openDrinks();
    void openIcqList();
    void openJuicyJokes();
    // "Помощь": the help file and the about box.
    void openHelp();
    void showAboutBox();
    // Settings page: "Иконку на рабочий стол".
    void putShortcutOnDesktop();

private:
    void openOnMakerSite(const char* path);
    void addEntry(QMenu* menu, const char* name, const char* caption, void (Extras::*handler)());

    PageHost& m_host;
};

} // namespace brevio

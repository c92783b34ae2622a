#pragma once

#include <QObject>

namespace brevio {

class CompanionBox;
class MainWindow;

// The menus' links, help and about, the desktop shortcut and the JTV export entry: connects
// the form's menu items and settings-page buttons to their handlers. Owned by the form.
class Extras : public QObject
{
    Q_OBJECT

public:
    explicit Extras(MainWindow& form);

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
    // Settings page: "Иконку на рабочий стол" and "Экспорт в JTV".
    void putShortcutOnDesktop();
    void openJtvExport();

    CompanionBox* companionBox() const { return m_chimeo; }

private:
    void openOnMakerSite(const char* path);
    void connectAction(const char* name, void (Extras::*handler)());
    void connectButton(const char* name, void (Extras::*handler)());

    MainWindow& m_form;
    CompanionBox* m_chimeo = nullptr;
};

} // namespace brevio

#pragma once

#include "core/texts/text_ids.h"

#include <QColor>
#include <QFont>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QToolButton;
class QTranslator;

namespace brevio {

class Clock;
class Dialogs;
class FormStorage;
class HttpSession;
class MainWindowHost;
class PageHost;
class NewsPage;
class PrintingPage;
class RetrievalPage;
class Settings;
class SettingsPage;
class SourceListDialog;
class SourceRefresher;
class ViewingPage;
class WeekExports;
class WindowReminders;
class XmltvImport;

// The main window: the header with the clock, the week selector and the page buttons, the menus
// and the five pages. It owns the settings object, the language offset and the panes' font, and
// through its host (main_window_host) it is the one place where the pages reach each other.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Starts the session (startSession). `dialogs` and `clock` are the real ones in the program,
    // scripted in tests.
    MainWindow(Dialogs& dialogs, Clock& clock, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The settings, the first run's defaults, the language, the font and the newest week.
    void startSession();
    // The clock panel's date and the JTV converter's button, once the window is first shown.
    void onFirstShow();
    // Stores the settings; false (and the window stays open) when a value cannot be stored.
    bool storeOnClose();
    // The desktop session ends (SIGTERM at logout): stores what can be stored without asking
    // anyone, writes what could not be stored to the log, and ends the program, boxes open or not.
    void endSession();
    void exitProgram();
    // The page buttons of the header.
    void showViewingPage();
    void showRetrievalPage();
    void showSettingsPage();
    void showPrintingPage();
    void showNewsPage();

    // Language: every caption and screen-reader name in the current language; the switch to the
    // language at `languageOffset` (Qt's own boxes, the captions, the clock panel).
    void applyLanguage();
    void switchLanguage(int languageOffset);
    int languageOffset() const { return m_languageOffset; }
    // The interface text of `id` in the current language.
    QString text(TextId id) const;

    // Font of the schedule panes.
    void applyStoredFont();
    void storeFont();
    const QFont& paneFont() const { return m_paneFont; }
    const QColor& paneColor() const { return m_paneColor; }

    // Runs a handler; an error is shown in a message box and the window carries on.
    bool guard(const std::function<void()>& handler) const;
    // Writes the settings to disk; when they cannot be written, says so and where (the window
    // carries on, the changes stay pending) and returns false.
    bool storeSettings() const;

    // What the pages and windows ask of the main window.
    PageHost& host() const;
    // Every transfer's client, progress texts, abort flag and error log.
    HttpSession& http() const { return *m_http; }
    Dialogs& dialogs() const { return m_dialogs; }
    Clock& clock() const { return m_clock; }
    Settings& settings() const { return *m_settings; }
    QComboBox* weekSelector() const { return m_weekSelector; }
    ViewingPage* viewingPage() const { return m_viewingPage; }
    RetrievalPage* retrievalPage() const { return m_retrievalPage; }
    SettingsPage* settingsPage() const { return m_settingsPage; }
    PrintingPage* printingPage() const { return m_printingPage; }
    NewsPage* newsPage() const { return m_newsPage; }
    // The "Файл" menu, first in the menu bar; its entries are added by their own handlers.
    QMenu* fileMenu() const { return m_fileMenu; }
    // The five page buttons, in the order of the header.
    QList<QToolButton*> pageButtons() const;

    // The channel names of the shown week go to three lists: viewing, printing and settings.
    void setChannelNames(const QStringList& names);
    // Reads the week list file into the selector and selects the newest week.
    void fillWeekSelector();
    // The week folder of the week shown in the selector ("" when none).
    std::string currentWeekFolder() const;

Q_SIGNALS:
    // The interface language has changed (after every caption has followed it).
    void languageChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class MainWindowHost;

    void buildHeader(QWidget* central);
    void buildMenu();
    // Shows `page`, the others hidden.
    void showPage(QWidget* page);
    // Brings `page` forward as a click on its button does.
    void bringForward(QWidget* page);
    QList<QWidget*> pages() const;
    void writeFirstRunDefaults();
    void chooseLanguage(int languageOffset);
    void updateClockPanel();

    Dialogs& m_dialogs;
    Clock& m_clock;
    MainWindowHost* m_host = nullptr;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<FormStorage> m_formStorage;
    std::unique_ptr<HttpSession> m_http;
    std::unique_ptr<QTranslator> m_qtTranslator;
    int m_languageOffset = 0;
    bool m_shown = false;
    bool m_ending = false;
    QFont m_paneFont;
    QColor m_paneColor;

    QLabel* m_dateLabel = nullptr;
    QLabel* m_weekdayLabel = nullptr;
    QLabel* m_runningClock = nullptr;
    QComboBox* m_weekSelector = nullptr;
    QButtonGroup* m_pageGroup = nullptr;
    QMenu* m_usefulLinksMenu = nullptr;
    QMenu* m_linksMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    XmltvImport* m_import = nullptr;
    SourceRefresher* m_sourceRefresher = nullptr;
    SourceListDialog* m_sourceList = nullptr;
    WeekExports* m_exports = nullptr;
    ViewingPage* m_viewingPage = nullptr;
    RetrievalPage* m_retrievalPage = nullptr;
    SettingsPage* m_settingsPage = nullptr;
    PrintingPage* m_printingPage = nullptr;
    NewsPage* m_newsPage = nullptr;
    WindowReminders* m_reminders = nullptr;
};

} // namespace brevio

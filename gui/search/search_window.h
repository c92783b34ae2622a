#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace brevio {

class PageHost;
class FoundShowsModel;
namespace view {
class WeekSearch;
}

// "Файл" → "Поиск…" (Ctrl+F anywhere in the main window): finds shows in every channel and on
// every day of the week in the week selector as the user types. Enter or a double click shows
// the found show on the viewing page; Insert adds it to the selected shows; "Remind me" gives it
// a reminder (results with one are marked); Esc closes.
// The week is read when the window first searches it and kept while the window is open; it is
// read again when the week selector moves or a file of the week changes. Owned by the main
// window.
class SearchWindow : public QDialog
{
    Q_OBJECT

public:
    explicit SearchWindow(PageHost& host);
    ~SearchWindow() override;

    // The menu entry and Ctrl+F: opens the window (or brings it forward) with the field chosen.
    void openSearch();
    // Searches the week for the field's text and shows what it found, the first chosen.
    void runSearch();
    // The chosen result on the viewing page: its channel, its day, the show highlighted.
    void showChosenResult();
    // The chosen result into the selected shows, as a click in the day pane would put it.
    void addChosenResult();
    // "Remind me" / "Do not remind" on the chosen result.
    void toggleChosenReminder();
    // The results' menu (right button, menu key, Shift+F10): show, add, remind.
    void openResultMenu();

    QAction* action() const { return m_action; }
    QLineEdit* field() const { return m_field; }
    QTableView* results() const { return m_results; }
    QLabel* status() const { return m_status; }
    QPushButton* remindButton() const { return m_remind; }
    QMenu* resultMenu() const { return m_menu; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void retranslate();
    // Reads the week in the selector unless the one read is still current; false when there is
    // no week to search.
    bool loadCurrentWeek();
    // The chosen result's show (channel, day, line) if the week it came from is still current.
    bool chosenShow(int& channel, int& day, int& line);
    // The button and the menu entry say what they will do with the chosen result.
    void updateRemindEntries();

    PageHost& m_host;
    QAction* m_action = nullptr;
    QLabel* m_label = nullptr;
    QLineEdit* m_field = nullptr;
    QTableView* m_results = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remind = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_remindEntry = nullptr;
    FoundShowsModel* m_model = nullptr;
    std::unique_ptr<view::WeekSearch> m_week;
    std::string m_weekDate; // of m_week
    QString m_problem; // why the week could not be read
};

} // namespace brevio

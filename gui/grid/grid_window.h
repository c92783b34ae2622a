#pragma once

#include "core/reminders/reminder_file.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;

namespace brevio {

class PageHost;
class ProgrammeGrid;
namespace view {
struct GridBox;
class GridDay;
class LoadedWeek;
} // namespace view

// "Файл" → "Сетка передач" (Ctrl+G in the main window): every channel of the week in the week
// selector against the clock, one weekday at a time, opening on today when the week holds it.
// Enter or a double click shows the show on the viewing page and brings the main window
// forward; Insert and the context menu add it to the selected shows, the context menu gives it a
// reminder or takes it away. "Now" and Home bring the
// current time into view; Esc closes. The week is read when the window opens (or taken from the
// search window, which may hold it already) and kept while it is open; it is read again when the
// week selector moves or a file of the week changes. Owned by the main window.
class GridWindow : public QWidget
{
    Q_OBJECT

public:
    explicit GridWindow(PageHost& host);
    ~GridWindow() override;

    // The menu entry and Ctrl+G: opens the window (or brings it forward) with the grid focused.
    void openGrid();
    // Shows weekday `day` (0 Monday .. 6 Sunday) of the week held.
    void showDay(int day);
    // The current time in view: on the day shown when its axis holds it, else on today's tab.
    void goToNow();

    QAction* action() const { return m_action; }
    ProgrammeGrid* grid() const { return m_grid; }
    QTabBar* days() const { return m_days; }
    QPushButton* nowButton() const { return m_now; }
    QLabel* status() const { return m_status; }

Q_SIGNALS:
    // The chosen show's context menu is about to open: other parts of the program add their
    // entries for the show, named as PageHost::showFoundShow names it.
    void showMenuOpening(QMenu* menu, int channel, int day, int line);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void retranslate();
    // Reads the week in the selector unless the one held is still current. A new week opens on
    // today, else on the weekday shown before; the same week read again keeps the day.
    void loadWeek();
    // What changed meanwhile: the week read again, or the selected shows marked afresh.
    void catchUp();
    // The grid's name and its context menu's entry, in the interface language.
    void nameGrid();
    void showStatus();
    // The reminder's key of the show at the grid's (row, box); none when the week does not name it.
    std::optional<reminders::ShowKey> reminderKey(int row, const view::GridBox& box) const;
    // "Remind me" / "Do not remind" in the show's context menu.
    void addReminderEntry(QMenu* menu, int row, const view::GridBox& box);
    // Marks the boxes of the shows that have a reminder (after the reminders changed).
    void markReminders();
    bool nowOnShownDay() const;
    void updateNowButton();
    std::optional<int> todayInWeek() const;
    // The show at the grid's (row, box) as the viewing page names it; none when the week has
    // changed since (the grid is then brought up to date).
    bool chosenShow(int row, int box, int& channel, int& line);
    void showChosen(int row, int box);
    void addChosen(int row, int box);

    PageHost& m_host;
    QAction* m_action = nullptr;
    QTabBar* m_days = nullptr;
    QPushButton* m_now = nullptr;
    ProgrammeGrid* m_grid = nullptr;
    QLabel* m_status = nullptr;
    QTimer m_watch; // the week's files, while the window is open
    std::shared_ptr<const view::LoadedWeek> m_week;
    std::unique_ptr<view::GridDay> m_day;
    std::string m_weekDate; // of m_week
    QString m_problem; // why the week could not be read
};

} // namespace brevio

#pragma once

#include "core/view/week_lists.h"

#include <QFrame>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QListWidget;
class QTextEdit;
class QToolButton;

namespace brevio {

class DayReminders;
class PageHost;

// The viewing page: channel list, mode and day buttons, the seven day panes, the eight list
// panes of the selected shows and the "now" pane, all on one spot.
class ViewingPage : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kDays = 7;
    static constexpr int kLists = 8; // Monday .. Sunday and the Monday after the week

    ViewingPage(PageHost& host, QWidget* parent);

    // The pane visibility rule.
    void updatePaneVisibility();
    void showAllMode();
    void showSelectedMode();
    void showNextMonday();

    // Week loading: the channel lists and the eight list panes of the week in the selector.
    // The list panes follow the week even when it has no channel list.
    void loadWeek();
    void showChosenWeek();
    // The channel lists from the channel list of `weekFolder` (IoError when missing): this
    // page's, and through channelNamesChanged the printing and settings pages'.
    void loadChannelNames(const std::string& weekFolder);
    // The week's channel names in the channel list and, through channelNamesChanged, in the
    // other pages' lists.
    void setChannelNames(const QStringList& names);
    // A deleted channel leaves the channel list; the day panes keep what they show.
    void removeChannel(const QString& name);
    // Fills the list panes from the selected-list files of the week in the selector (missing
    // file: empty; an unreadable one empty too, the others filled, then its error). Those files
    // are then the only ones the panes are written to.
    void loadSelectedLists();
    // Loads the week in the selector unless the panes show it already (the selector moved
    // under them, as when a week is deleted).
    void followWeekSelector();

    // A channel chosen in the channel list: its week in the seven day panes, then "Все".
    void showChosenChannel();

    // A click in a day pane: the left button highlights the show under the caret, any other
    // button puts the highlighted show into its day's list (or the next day's, after midnight).
    void addShowToSelected(Qt::MouseButton button, QTextEdit* dayPane, QTextEdit* sameDayList,
                           QTextEdit* nextDayList);
    // A click in a list pane: offers to remove the entry line under the caret.
    void removeSelectedEntry(QTextEdit* listPane);

    // "Сейчас": what is on the air now and in the next hours, across the current week.
    void showNowView();

    // A show found in the week: the page opens on its channel ("Все", the day panes filled
    // afresh) and its day, with the show highlighted from its time line (`line` of that pane).
    void showFound(int channel, int day, int line);
    // The same, then the show goes into the selected shows as a click in the day pane puts it.
    void addFoundToSelected(int channel, int day, int line);

    QListWidget* channelList() const { return m_channelList; }
    QToolButton* dayButton(int day) const { return m_dayButtons[day]; }
    QToolButton* nextMondayButton() const { return m_nextMonday; }
    QToolButton* allButton() const { return m_all; }
    QToolButton* selectedButton() const { return m_selected; }
    QToolButton* nowButton() const { return m_now; }
    QTextEdit* dayPane(int day) const { return m_dayPanes[day]; }
    QTextEdit* listPane(int list) const { return m_listPanes[list]; }
    QTextEdit* nowPane() const { return m_nowPane; }
    QToolButton* remindButton() const { return m_remind; }
    DayReminders* dayReminders() const { return m_reminders; }
    // Every schedule pane (day, list and now panes): they share the font of the settings.
    QList<QTextEdit*> schedulePanes() const;
    // The lines of the eight list panes.
    view::SelectedLists selectedListLines() const;
    // Puts down the day button of weekday `day` (0 Monday) without running its handler.
    void setDayButtonDown(int day);
    void clearDayPanes();

Q_SIGNALS:
    // The week's channel names, for the other pages' lists.
    void channelNamesChanged(const QStringList& names);
    // A list pane was written to its file.
    void selectedListWritten();

private:
    void showSelectedLists(const view::SelectedLists& lists);
    void connectHandlers();
    // Writes list pane `list` (0 Monday .. 7 the Monday after the week) to its file in the
    // week folder the list panes were loaded from.
    void writeSelectedList(int list, const std::vector<std::string>& lines);
    int listIndexOf(const QTextEdit* pane) const;

    PageHost& m_host;
    QListWidget* m_channelList = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QButtonGroup* m_dayGroup = nullptr;
    QToolButton* m_all = nullptr;
    QToolButton* m_selected = nullptr;
    QToolButton* m_now = nullptr;
    QToolButton* m_nextMonday = nullptr;
    std::array<QToolButton*, kDays> m_dayButtons{};
    std::array<QTextEdit*, kDays> m_dayPanes{};
    std::array<QTextEdit*, kLists> m_listPanes{};
    QTextEdit* m_nowPane = nullptr;
    QToolButton* m_remind = nullptr;
    DayReminders* m_reminders = nullptr;
    // The week date whose lists the list panes show; none while no week could be loaded.
    std::optional<std::string> m_listsWeek;
    // The channel list's selection just changed: the press that changed it has filled the panes.
    bool m_channelJustChosen = false;
};

} // namespace brevio

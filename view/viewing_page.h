#pragma once

#include <QFrame>

#include <array>
#include <string>

class QButtonGroup;
class QListWidget;
class QTextEdit;
class QToolButton;

namespace brevio {

class TBrevioForm;

// The viewing page: channel list, mode and day buttons, the seven day panes, the eight list
// panes of the selected shows and the "now" pane, all on one spot.
class ViewingPage : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kDays = 7;
    static constexpr int kLists = 8; // Monday .. Sunday and the Monday after the week

    ViewingPage(TBrevioForm& form, QWidget* parent);

    // The pane visibility rule.
    void ButtonsDaysClick();
    void FlatSpeedButton8Click();
    void FlatSpeedButton9Click();
    void FlatSpeedButton10Click();

    // Week loading: the channel lists and the eight list panes of the week in the selector.
    void LoadWeek();
    void FlatComboBox1Change();
    // Fills the list panes from the selected-list files of `weekFolder` (missing file: empty).
    void loadSelectedLists(const std::string& weekFolder);

    QListWidget* channelList() const { return m_channelList; }
    QToolButton* dayButton(int day) const { return m_dayButtons[day]; }
    QToolButton* nextMondayButton() const { return m_nextMonday; }
    QToolButton* allButton() const { return m_all; }
    QToolButton* selectedButton() const { return m_selected; }
    QToolButton* nowButton() const { return m_now; }
    QTextEdit* dayPane(int day) const { return m_dayPanes[day]; }
    QTextEdit* listPane(int list) const { return m_listPanes[list]; }
    QTextEdit* nowPane() const { return m_nowPane; }
    // Every schedule pane (day, list and now panes): they share the font of the settings.
    QList<QTextEdit*> schedulePanes() const;
    // Puts down the day button of weekday `day` (0 Monday) without running its handler.
    void setDayButtonDown(int day);
    void clearDayPanes();

private:
    TBrevioForm& m_form;
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
};

} // namespace brevio

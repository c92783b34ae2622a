#pragma once

#include "core/reminders/reminder_file.h"
#include "core/view/week_shows.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolButton;

namespace brevio {

class PageHost;
class ViewingPage;

// The reminders of the day panes: the marks on the shows that have one, the "Remind me" button
// acting on the highlighted show, and the panes' menu from the keyboard (the menu key,
// Shift+F10), which highlights the show at the caret as Space does.
class DayReminders : public QObject
{
    Q_OBJECT
public:
    DayReminders(PageHost& host, ViewingPage& page, QToolButton* button);

    // The day panes now show channel `index` of the week in the selector: its shows are read for
    // their reminders and marked.
    void channelShown(int index);
    // The day panes were emptied.
    void forget();
    // The button follows the highlight and the reminders: its caption says what it will do.
    void updateButton();
    // "Remind me" / "Do not remind" on the highlighted show.
    void toggleHighlighted();
    void openMenu(int day);

    QMenu* menu() const { return m_menu; }

private:
    void retranslate();
    void mark();
    // The highlighted show of the shown day pane, as an index into m_channel's shows.
    std::optional<std::size_t> highlighted() const;

    PageHost& m_host;
    ViewingPage& m_page;
    QToolButton* m_button;
    QMenu* m_menu = nullptr;
    QAction* m_remindEntry = nullptr;
    QAction* m_addEntry = nullptr;
    int m_menuDay = 0;
    std::optional<view::ChannelWeek> m_channel; // as the day panes show it
    std::vector<reminders::ShowKey> m_keys; // of m_channel's shows
};

} // namespace brevio

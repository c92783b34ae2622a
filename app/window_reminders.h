#pragma once

#include "core/reminders/reminder_file.h"

#include <QObject>

namespace brevio {

class MainWindow;
class PageHost;
class ReminderService;

// The reminders as the main window has them: the service from the start, the settings page's
// reminder controls, "Show" (from a notification, a tray message or the tray's list) bringing the
// window up on the show, and the window closed to the tray while reminders are to come.
class WindowReminders : public QObject
{
    Q_OBJECT
public:
    // Once the session has started (the settings and the language are read).
    WindowReminders(MainWindow& window, PageHost& host);

    ReminderService& service() const { return *m_service; }
    // PageHost::setReminder.
    void setReminder(const reminders::ShowKey& show, bool on);
    // The window is being closed (its values stored): true when the program stays in the tray
    // instead of ending, as the setting says or, asked once, the user answers. Only while
    // reminders are to come, on a desktop with a tray, and not when "Quit" was chosen there.
    bool keepRunningOnClose();
    // The window on the screen and in front, out of the tray.
    void bringUp();
    // The show of a reminder on the viewing page: its week, channel and day, the show selected.
    void bringUpShow(const reminders::ShowKey& show);

private:
    void connectSettingsControls();
    void applyOptions();
    void quit();

    MainWindow& m_window;
    PageHost& m_host;
    ReminderService* m_service = nullptr;
    bool m_quitting = false;
};

} // namespace brevio

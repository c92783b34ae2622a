#pragma once

#include "core/reminders/reminder_schedule.h"
#include "core/texts/text_ids.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QSystemTrayIcon;

namespace brevio {

// The tray icon of the reminders, where the desktop has a tray. It is there while reminders are
// to come, while the window is closed to it, and while it shows a reminder's message (where no
// notification service answers); its menu lists the next reminders, opens the window and quits.
class ReminderTray : public QObject
{
    Q_OBJECT
public:
    static constexpr int kListed = 10; // the next reminders the menu lists
    static constexpr int kMessageMs = 15 * 1000;

    explicit ReminderTray(QObject* parent = nullptr);
    ~ReminderTray() override;

    // Whether the desktop has a tray: without one there is no icon, and nothing keeps the program
    // running without its window.
    static bool available();

    void setLanguageOffset(int offset);
    // The reminders still to come, in the order they come.
    void setUpcoming(const std::vector<reminders::ScheduledReminder>& upcoming);
    // The window is closed to the tray: the icon is the way back.
    void setWindowHidden(bool hidden);
    // Says `reminder` in a message of the icon; a click on it asks to show the show.
    void showMessage(const reminders::ScheduledReminder& reminder, const QString& summary,
                     const QString& body);

    QMenu* menu() const { return m_menu.get(); }
    bool isShown() const;

Q_SIGNALS:
    void showRequested(const brevio::reminders::ScheduledReminder& reminder);
    void openRequested();
    void quitRequested();

private:
    QString text(TextId id) const;
    void rebuildMenu();
    void updateVisibility();

    std::unique_ptr<QMenu> m_menu; // a menu has no parent object: the tray does not own it
    QSystemTrayIcon* m_icon = nullptr;
    int m_languageOffset = 0;
    std::vector<reminders::ScheduledReminder> m_upcoming;
    std::optional<reminders::ScheduledReminder> m_messageReminder;
    bool m_windowHidden = false;
    QTimer m_messageShown; // runs while the message is up
};

} // namespace brevio

#include "app/window_reminders.h"

#include "app/main_window.h"
#include "core/store/week_folder.h"
#include "gui/reminders/reminder_service.h"
#include "gui/reminders/reminder_settings.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSpinBox>

namespace brevio {

WindowReminders::WindowReminders(MainWindow& window, PageHost& host)
    : QObject(&window)
    , m_window(window)
    , m_host(host)
{
    m_service = new ReminderService(host.clock(), readReminderOptions(host.settings()), host.languageOffset(),
                                    host.dialogs(), QDBusConnection::sessionBus(), this);
    connect(&host, &PageHost::languageChanged, m_service,
            [this] { m_service->setLanguageOffset(m_host.languageOffset()); });
    connect(m_service, &ReminderService::remindersChanged, &host, &PageHost::remindersChanged);
    connect(m_service, &ReminderService::showRequested, this,
            [this](const reminders::ScheduledReminder& reminder) {
                m_host.guard([&] { bringUpShow(reminder.reminder.show); });
            });
    ReminderTray& tray = m_service->tray();
    host.connectGuarded(&tray, &ReminderTray::openRequested, this, &WindowReminders::bringUp);
    host.connectGuarded(&tray, &ReminderTray::quitRequested, this, &WindowReminders::quit);
    // With every selected show reminded of, a show put into the lists is marked at once.
    host.connectGuarded(window.viewingPage(), &ViewingPage::selectedListWritten, m_service,
                        &ReminderService::checkNow);
    connectSettingsControls();
}

void WindowReminders::connectSettingsControls()
{
    SettingsPage* page = m_window.settingsPage();
    const reminders::ReminderOptions options = readReminderOptions(m_host.settings());
    page->reminderMinutes()->setValue(options.minutesBefore);
    page->remindEverySelected()->setChecked(options.everySelected);
    page->whenClosed()->setCurrentIndex(static_cast<int>(readWhenClosed(m_host.settings())));
    m_host.connectGuarded(page->reminderMinutes(), &QSpinBox::valueChanged, this,
                          &WindowReminders::applyOptions);
    m_host.connectGuarded(page->remindEverySelected(), &QCheckBox::toggled, this,
                          &WindowReminders::applyOptions);
    m_host.connectGuarded(page->whenClosed(), &QComboBox::activated, this, [this] {
        writeWhenClosed(m_host.settings(),
                        static_cast<WhenClosed>(m_window.settingsPage()->whenClosed()->currentIndex()));
    });
}

void WindowReminders::applyOptions()
{
    const SettingsPage* page = m_window.settingsPage();
    const reminders::ReminderOptions options{page->reminderMinutes()->value(),
                                             page->remindEverySelected()->isChecked()};
    writeReminderOptions(m_host.settings(), options);
    m_service->setOptions(options);
}

void WindowReminders::setReminder(const reminders::ShowKey& show, bool on)
{
    if (!on)
        return m_service->forget(show);
    if (!m_service->remind(show))
        m_host.dialogs().message(m_host.text(TextId::NothingToRemind).arg(fromData(show.title)));
}

bool WindowReminders::keepRunningOnClose()
{
    if (m_quitting || !ReminderTray::available() || m_service->upcoming().empty())
        return false;
    WhenClosed choice = readWhenClosed(m_host.settings());
    if (choice == WhenClosed::Ask) {
        choice = m_host.dialogs().confirm(m_host.text(TextId::KeepRunningQuestion)) ? WhenClosed::StayInTray
                                                                                    : WhenClosed::Quit;
        writeWhenClosed(m_host.settings(), choice);
        m_window.settingsPage()->whenClosed()->setCurrentIndex(static_cast<int>(choice));
    }
    if (choice != WhenClosed::StayInTray)
        return false;
    m_service->tray().setWindowHidden(true);
    // Its own windows (the search) go with it.
    for (QDialog* dialog : m_window.findChildren<QDialog*>())
        dialog->hide();
    return true;
}

void WindowReminders::bringUp()
{
    m_service->tray().setWindowHidden(false);
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

void WindowReminders::bringUpShow(const reminders::ShowKey& show)
{
    bringUp();
    const auto found = m_service->locate(show);
    QComboBox* weeks = m_window.weekSelector();
    int week = -1;
    for (int i = 0; found && i < weeks->count() && week < 0; ++i)
        if (store::weekFolderName(toData(weeks->itemText(i))) == store::weekFolderName(show.weekDate))
            week = i;
    if (week < 0) {
        m_host.dialogs().message(
            m_host.text(TextId::ReminderShowGone).arg(fromData(show.title), fromData(show.channel)));
        return;
    }
    // The reminder's week, which need not be the one shown.
    if (week != weeks->currentIndex()) {
        weeks->setCurrentIndex(week);
        m_host.followWeekSelector();
    }
    m_host.showFoundShow(found->channelIndex, found->reminder.show.day, found->line);
}

void WindowReminders::quit()
{
    m_quitting = true;
    const bool closed = m_window.close();
    m_quitting = false;
    // Closed while hidden in the tray, the window is no last window to close: the program ends here.
    if (closed)
        QCoreApplication::quit();
}

} // namespace brevio

#include "gui/reminders/reminder_tray.h"

#include "core/session/clock.h"
#include "core/view/time_text.h"
#include "gui/widgets/qt_text.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include <algorithm>

namespace brevio {

namespace {

using namespace std::chrono;

QString startText(local_seconds start)
{
    return fromUtf8(view::formatTime(duration_cast<minutes>(start - floor<days>(start)).count()));
}

} // namespace

ReminderTray::ReminderTray(QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_icon(new QSystemTrayIcon(QApplication::windowIcon(), this))
{
    m_menu->setObjectName(QStringLiteral("ReminderTrayMenu"));
    m_icon->setContextMenu(m_menu.get());
    m_icon->setToolTip(QStringLiteral("Brevio"));
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            Q_EMIT openRequested();
    });
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, [this] {
        if (m_messageReminder)
            Q_EMIT showRequested(*m_messageReminder);
    });
    m_messageShown.setSingleShot(true);
    m_messageShown.setInterval(kMessageMs);
    connect(&m_messageShown, &QTimer::timeout, this, &ReminderTray::updateVisibility);
    rebuildMenu();
}

ReminderTray::~ReminderTray() = default;

bool ReminderTray::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QString ReminderTray::text(TextId id) const
{
    return fromUtf8(textOf(id, m_languageOffset));
}

void ReminderTray::setLanguageOffset(int offset)
{
    m_languageOffset = offset;
    rebuildMenu();
}

void ReminderTray::setUpcoming(const std::vector<reminders::ScheduledReminder>& upcoming)
{
    // Every check says it again: a menu the user has open changes only when the list does.
    const auto same = [](const reminders::ScheduledReminder& a, const reminders::ScheduledReminder& b) {
        return a.reminder.show == b.reminder.show && a.start == b.start;
    };
    if (!std::equal(upcoming.begin(), upcoming.end(), m_upcoming.begin(), m_upcoming.end(), same)) {
        m_upcoming = upcoming;
        rebuildMenu();
    }
    updateVisibility();
}

void ReminderTray::setWindowHidden(bool hidden)
{
    m_windowHidden = hidden;
    updateVisibility();
}

void ReminderTray::showMessage(const reminders::ScheduledReminder& reminder, const QString& summary,
                               const QString& body)
{
    m_messageReminder = reminder;
    m_messageShown.start();
    updateVisibility();
    m_icon->showMessage(summary, body, QApplication::windowIcon(), kMessageMs);
}

bool ReminderTray::isShown() const
{
    return m_icon->isVisible();
}

void ReminderTray::rebuildMenu()
{
    m_menu->clear();
    QAction* heading = m_menu->addSection(text(TextId::NextReminders));
    heading->setObjectName(QStringLiteral("NextRemindersHeading"));
    if (m_upcoming.empty())
        m_menu->addAction(text(TextId::NoRemindersToCome))->setEnabled(false);
    const std::size_t listed = std::min<std::size_t>(m_upcoming.size(), kListed);
    for (std::size_t i = 0; i < listed; ++i) {
        const reminders::ScheduledReminder& next = m_upcoming[i];
        const auto day = weekdayIndex(floor<days>(next.start));
        QAction* entry = m_menu->addAction(
            text(TextId::TrayReminderEntry)
                .arg(text(textAfter(TextId::MondayShort, day)), startText(next.start),
                     fromData(next.reminder.show.channel), fromData(next.reminder.show.title)));
        connect(entry, &QAction::triggered, this, [this, next] { Q_EMIT showRequested(next); });
    }
    m_menu->addSeparator();
    QAction* open = m_menu->addAction(text(TextId::TrayOpen));
    open->setObjectName(QStringLiteral("TrayOpen"));
    connect(open, &QAction::triggered, this, &ReminderTray::openRequested);
    QAction* quit = m_menu->addAction(text(TextId::TrayQuit));
    quit->setObjectName(QStringLiteral("TrayQuit"));
    connect(quit, &QAction::triggered, this, &ReminderTray::quitRequested);
    m_icon->setToolTip(m_upcoming.empty()
                           ? QStringLiteral("Brevio")
                           : QStringLiteral("Brevio — %1").arg(m_menu->actions().at(1)->text()));
}

void ReminderTray::updateVisibility()
{
    // The icon stays only while something needs it, not after its message has gone.
    const bool wanted = !m_upcoming.empty() || m_windowHidden || m_messageShown.isActive();
    m_icon->setVisible(wanted && available());
}

} // namespace brevio

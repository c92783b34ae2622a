#include "gui/viewing/day_reminders.h"

#include "core/reminders/reminder_schedule.h"
#include "core/store/errors.h"
#include "core/view/pane_text.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/pane_lines.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/reminder_mark.h"

#include <QMenu>
#include <QTextEdit>
#include <QToolButton>

namespace brevio {

DayReminders::DayReminders(PageHost& host, ViewingPage& page, QToolButton* button)
    : QObject(&page)
    , m_host(host)
    , m_page(page)
    , m_button(button)
    , m_menu(new QMenu(&page))
{
    m_menu->setObjectName(QStringLiteral("DayPaneMenu"));
    m_remindEntry = m_menu->addAction(QString());
    m_remindEntry->setObjectName(QStringLiteral("DayPaneRemind"));
    m_addEntry = m_menu->addAction(QString());
    m_addEntry->setObjectName(QStringLiteral("DayPaneAdd"));
    m_host.connectGuarded(m_remindEntry, &QAction::triggered, this, &DayReminders::toggleHighlighted);
    m_host.connectGuarded(m_addEntry, &QAction::triggered, this, [this] {
        m_page.addShowToSelected(Qt::RightButton, m_page.dayPane(m_menuDay), m_page.listPane(m_menuDay),
                                 m_page.listPane(m_menuDay + 1));
    });
    m_host.connectGuarded(m_button, &QToolButton::clicked, this, &DayReminders::toggleHighlighted);
    for (int d = 0; d < ViewingPage::kDays; ++d)
        connect(m_page.dayPane(d), &QTextEdit::selectionChanged, this, &DayReminders::updateButton);
    connect(&m_host, &PageHost::remindersChanged, this, [this] {
        mark();
        updateButton();
    });
    connect(&m_host, &PageHost::languageChanged, this, &DayReminders::retranslate);
    retranslate();
}

void DayReminders::retranslate()
{
    m_addEntry->setText(m_host.text(TextId::AddFoundToSelected));
    updateButton();
}

void DayReminders::channelShown(int index)
{
    forget();
    const std::string week = toData(m_host.currentWeek());
    try {
        view::readWeekChannels(
            m_host.currentWeekFolder(), [index](int i) { return i == index; },
            [this](view::ChannelWeek& channel) { m_channel = std::move(channel); });
    } catch (const Error&) {
        // The panes' own reading has said what is wrong; without the shows there is no mark.
    }
    if (m_channel) {
        for (const view::PaneShow& show : m_channel->shows)
            m_keys.push_back(reminders::showKey(week, *m_channel, show));
    }
    mark();
    updateButton();
}

void DayReminders::forget()
{
    m_channel.reset();
    m_keys.clear();
    updateButton();
}

void DayReminders::mark()
{
    for (int d = 0; d < ViewingPage::kDays; ++d)
        clearReminderMarks(m_page.dayPane(d));
    if (!m_channel)
        return;
    for (std::size_t s = 0; s < m_keys.size(); ++s) {
        const view::PaneShow& show = m_channel->shows[s];
        if (m_host.hasReminder(m_keys[s]))
            markReminderLine(m_page.dayPane(show.day), show.line);
    }
}

std::optional<std::size_t> DayReminders::highlighted() const
{
    if (!m_channel)
        return std::nullopt;
    for (int d = 0; d < ViewingPage::kDays; ++d) {
        const QTextEdit* pane = m_page.dayPane(d);
        const view::Selection selection = view::selectionOf(pane);
        if (pane->isHidden() || selection.length == 0)
            continue;
        const int line = view::lineAt(view::linesOf(pane), selection.start);
        for (std::size_t s = 0; s < m_channel->shows.size(); ++s) {
            const view::PaneShow& show = m_channel->shows[s];
            if (show.day == d && line >= show.line && line < show.line + show.lineCount)
                return s;
        }
    }
    return std::nullopt;
}

void DayReminders::updateButton()
{
    const auto show = highlighted();
    const bool reminded = show && m_host.hasReminder(m_keys[*show]);
    const QString caption = m_host.text(reminded ? TextId::DoNotRemind : TextId::RemindMe);
    setCaption(m_button, caption);
    m_button->setEnabled(show.has_value());
    m_remindEntry->setText(caption);
    m_remindEntry->setEnabled(show.has_value());
}

void DayReminders::toggleHighlighted()
{
    const auto show = highlighted();
    if (!show)
        return;
    const reminders::ShowKey& key = m_keys[*show];
    m_host.setReminder(key, !m_host.hasReminder(key));
}

void DayReminders::openMenu(int day)
{
    QTextEdit* pane = m_page.dayPane(day);
    m_menuDay = day;
    // The menu acts on the show at the caret, highlighted first as a left click would.
    m_page.addShowToSelected(Qt::LeftButton, pane, m_page.listPane(day), m_page.listPane(day + 1));
    updateButton();
    m_addEntry->setEnabled(highlighted().has_value());
    m_menu->popup(pane->viewport()->mapToGlobal(pane->cursorRect().bottomRight()));
}

} // namespace brevio

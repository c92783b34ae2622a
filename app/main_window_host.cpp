#include "app/main_window_host.h"

#include "app/main_window.h"
#include "app/window_reminders.h"
#include "core/net/http_config.h"
#include "gui/exchange/week_exports.h"
#include "gui/extras/extras.h"
#include "gui/printing/printing_page.h"
#include "gui/reminders/reminder_service.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/settings/settings_page.h"
#include "gui/sources/source_list_dialog.h"
#include "gui/sources/source_refresher.h"
#include "gui/viewing/viewing_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

namespace brevio {

MainWindowHost::MainWindowHost(MainWindow& window)
    : PageHost(&window)
    , m_window(window)
{
}

void MainWindowHost::connectPages(Extras& extras)
{
    MainWindow& w = m_window;
    connect(&w, &MainWindow::languageChanged, this, &PageHost::languageChanged);
    connect(w.m_weekSelector, &QComboBox::currentTextChanged, this, &PageHost::weekSelectorChanged);
    connectGuarded(w.m_weekSelector, &QComboBox::activated, w.m_viewingPage, &ViewingPage::showChosenWeek);
    // The shown week's channels are listed on the printing and settings pages too.
    connect(w.m_viewingPage, &ViewingPage::channelNamesChanged, w.m_printingPage,
            &PrintingPage::setChannelNames);
    connect(w.m_viewingPage, &ViewingPage::channelNamesChanged, w.m_settingsPage,
            &SettingsPage::setChannelNames);
    // While a retrieval step runs, no other page can be opened.
    connect(w.m_retrievalPage, &RetrievalPage::stepRunning, this, [&w](bool running) {
        for (QToolButton* button : w.pageButtons())
            button->setEnabled(!running);
    });
    // The listing sources: their window from the retrieval page too, their refresh on its
    // status line.
    connectGuarded(w.m_retrievalPage->sourcesButton(), &QToolButton::clicked, w.m_sourceList,
                   &SourceListDialog::openList);
    connect(w.m_sourceRefresher, &SourceRefresher::statusChanged, w.m_retrievalPage->statusLine(),
            &QLabel::setText);
    connectGuarded(w.m_settingsPage->desktopShortcut(), &QToolButton::clicked, &extras,
                   &Extras::putShortcutOnDesktop);
    connectGuarded(w.m_settingsPage->jtvExport(), &QToolButton::clicked, w.m_exports,
                   &WeekExports::openJtvExport);
}

Dialogs& MainWindowHost::dialogs() const
{
    return m_window.dialogs();
}

Clock& MainWindowHost::clock() const
{
    return m_window.clock();
}

Settings& MainWindowHost::settings() const
{
    return m_window.settings();
}

HttpSession& MainWindowHost::http() const
{
    return m_window.http();
}

QString MainWindowHost::text(TextId id) const
{
    return m_window.text(id);
}

int MainWindowHost::languageOffset() const
{
    return m_window.languageOffset();
}

bool MainWindowHost::guard(const std::function<void()>& handler) const
{
    return m_window.guard(handler);
}

bool MainWindowHost::storeSettings() const
{
    return m_window.storeSettings();
}

QWidget* MainWindowHost::window() const
{
    return &m_window;
}

QMenu* MainWindowHost::fileMenu() const
{
    return m_window.fileMenu();
}

QString MainWindowHost::currentWeek() const
{
    return m_window.m_weekSelector->currentText();
}

std::string MainWindowHost::currentWeekFolder() const
{
    return m_window.currentWeekFolder();
}

std::shared_ptr<const view::LoadedWeek> MainWindowHost::loadedWeek(const std::string& weekFolder)
{
    return m_weeks.week(weekFolder);
}

net::ProxySettings MainWindowHost::proxy() const
{
    return m_window.m_settingsPage->proxy();
}

int MainWindowHost::transferTimeoutSeconds() const
{
    return m_window.m_settingsPage->timeoutSeconds()->value();
}

int MainWindowHost::nowHours() const
{
    return m_window.m_settingsPage->nowHours()->value();
}

bool MainWindowHost::endTimeInSelected() const
{
    return m_window.m_settingsPage->endTimeOption()->isChecked();
}

QStringList MainWindowHost::printChannels() const
{
    return m_window.m_printingPage->channelNames();
}

std::vector<int> MainWindowHost::tickedPrintChannels() const
{
    return m_window.m_printingPage->tickedRows();
}

view::SelectedLists MainWindowHost::selectedListLines() const
{
    return m_window.m_viewingPage->selectedListLines();
}

QFont MainWindowHost::paneFont() const
{
    return m_window.paneFont();
}

QColor MainWindowHost::paneColor() const
{
    return m_window.paneColor();
}

void MainWindowHost::showPage(QWidget* page)
{
    m_window.bringForward(page);
}

void MainWindowHost::switchLanguage(int languageOffset)
{
    m_window.switchLanguage(languageOffset);
}

void MainWindowHost::changePaneFont(const QFont& font, const QColor& color)
{
    m_window.m_paneFont = font;
    m_window.m_paneColor = color;
    m_window.storeFont();
    // The stored values come back on top of the chosen font, so a chosen style lasts until exit.
    m_window.applyStoredFont();
    m_window.storeSettings();
}

void MainWindowHost::clearDayPanes()
{
    m_window.m_viewingPage->clearDayPanes();
}

void MainWindowHost::addWeek(const QString& week)
{
    m_window.m_weekSelector->addItem(week);
}

void MainWindowHost::showNewestWeek()
{
    QComboBox* selector = m_window.m_weekSelector;
    // With no week at all there is nothing to show (and no week list to complain about).
    if (selector->count() == 0)
        return;
    selector->setCurrentIndex(selector->count() - 1);
    m_window.m_viewingPage->showChosenWeek();
}

void MainWindowHost::reloadWeeks()
{
    // The view moves to the newest week, as after a download; the weeks that can be deleted
    // are the new list's too.
    m_window.fillWeekSelector();
    m_window.m_settingsPage->reloadWeekList();
    if (m_window.m_weekSelector->count() > 0)
        m_window.m_viewingPage->showChosenWeek();
}

void MainWindowHost::followStoreChange()
{
    QComboBox* selector = m_window.m_weekSelector;
    const QString shown = selector->currentText();
    reloadWeeks();
    const int at = shown.isEmpty() ? -1 : selector->findText(shown);
    if (at >= 0 && at != selector->currentIndex()) {
        selector->setCurrentIndex(at);
        m_window.m_viewingPage->showChosenWeek();
    }
}

void MainWindowHost::removeWeek(int row, const QString& week)
{
    QComboBox* selector = m_window.m_weekSelector;
    const int inSelector = selector->itemText(row) == week ? row : selector->findText(week);
    if (inSelector >= 0)
        selector->removeItem(inSelector);
    selector->setCurrentIndex(selector->count() - 1);
}

void MainWindowHost::followWeekSelector()
{
    m_window.m_viewingPage->followWeekSelector();
}

void MainWindowHost::removeChannel(const QString& name)
{
    m_window.m_viewingPage->removeChannel(name);
    m_window.m_printingPage->removeChannel(name);
}

void MainWindowHost::showFoundShow(int channel, int day, int line)
{
    m_window.m_viewingPage->showFound(channel, day, line);
}

void MainWindowHost::addFoundShow(int channel, int day, int line)
{
    m_window.m_viewingPage->addFoundToSelected(channel, day, line);
}

bool MainWindowHost::hasReminder(const reminders::ShowKey& show) const
{
    return m_window.m_reminders && m_window.m_reminders->service().isReminded(show);
}

void MainWindowHost::setReminder(const reminders::ShowKey& show, bool on)
{
    if (m_window.m_reminders)
        m_window.m_reminders->setReminder(show, on);
}

} // namespace brevio

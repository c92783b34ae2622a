#pragma once

#include "core/view/loaded_week.h"
#include "gui/widgets/page_host.h"

namespace brevio {

class Extras;
class MainWindow;

// The main window as its pages see it: every question a page asks of another page is answered
// here from that page, and every request carried out by it. connectPages joins the pages'
// signals to the pages and windows that follow them.
class MainWindowHost final : public PageHost
{
    Q_OBJECT

public:
    explicit MainWindowHost(MainWindow& window);

    // Once every page and window of the main window is made.
    void connectPages(Extras& extras);

    Dialogs& dialogs() const override;
    Clock& clock() const override;
    Settings& settings() const override;
    HttpSession& http() const override;
    QString text(TextId id) const override;
    int languageOffset() const override;
    bool guard(const std::function<void()>& handler) const override;
    bool storeSettings() const override;
    QWidget* window() const override;
    QMenu* fileMenu() const override;

    QString currentWeek() const override;
    std::string currentWeekFolder() const override;
    std::shared_ptr<const view::LoadedWeek> loadedWeek(const std::string& weekFolder) override;

    net::ProxySettings proxy() const override;
    int transferTimeoutSeconds() const override;
    int nowHours() const override;
    bool endTimeInSelected() const override;
    QStringList printChannels() const override;
    std::vector<int> tickedPrintChannels() const override;
    view::SelectedLists selectedListLines() const override;
    QFont paneFont() const override;
    QColor paneColor() const override;

    void showPage(QWidget* page) override;
    void switchLanguage(int languageOffset) override;
    void changePaneFont(const QFont& font, const QColor& color) override;
    void clearDayPanes() override;
    void addWeek(const QString& week) override;
    void showNewestWeek() override;
    void reloadWeeks() override;
    void followStoreChange() override;
    void removeWeek(int row, const QString& week) override;
    void followWeekSelector() override;
    void removeChannel(const QString& name) override;
    void showFoundShow(int channel, int day, int line) override;
    void addFoundShow(int channel, int day, int line) override;

    bool hasReminder(const reminders::ShowKey& show) const override;
    void setReminder(const reminders::ShowKey& show, bool on) override;

private:
    MainWindow& m_window;
    view::WeekCache m_weeks;
};

} // namespace brevio

#include "gui/grid/grid_window.h"

#include "core/reminders/reminder_schedule.h"
#include "core/session/clock.h"
#include "core/store/errors.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "core/view/grid_model.h"
#include "core/view/week_search.h"
#include "gui/grid/programme_grid.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/wait_cursor.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <chrono>

namespace brevio {

namespace {

constexpr int kWeekdays = 7;
constexpr int kWatchMilliseconds = 2000;
constexpr int kProblemsShown = 5; // the rest are counted, and all of them are in the tooltip

} // namespace

GridWindow::GridWindow(PageHost& host)
    : QWidget(host.window(), Qt::Window)
    , m_host(host)
{
    setObjectName(QStringLiteral("GridWindow"));
    setMinimumSize(480, 320);
    // A first opening takes most of a small screen and a good part of a large one.
    QSize size(1100, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    buildControls();
    connectHandlers();
    retranslate();
}

GridWindow::~GridWindow() = default;

void GridWindow::buildControls()
{
    m_days = new QTabBar(this);
    m_days->setObjectName(QStringLiteral("GridDays"));
    m_days->setExpanding(false);
    m_days->setUsesScrollButtons(true);
    for (int day = 0; day < kWeekdays; ++day)
        m_days->addTab(QString());
    m_now = new QPushButton(this);
    m_now->setObjectName(QStringLiteral("GridNowButton"));
    m_now->setAutoDefault(false);
    m_grid = new ProgrammeGrid(m_host.clock(), this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("GridStatus"));
    m_status->setWordWrap(true);
    m_status->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(m_days, 1);
    top->addWidget(m_now);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_status);
    setTabOrder(m_grid, m_days);
    setTabOrder(m_days, m_now);

    m_action = new QAction(this);
    m_action->setObjectName(QStringLiteral("GridItem"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_host.fileMenu()->addAction(m_action);
}

void GridWindow::connectHandlers()
{
    m_host.connectGuarded(m_action, &QAction::triggered, this, &GridWindow::openGrid);

    m_host.connectGuarded(m_days, &QTabBar::currentChanged, this,
                          [this] { showDay(m_days->currentIndex()); });
    m_host.connectGuarded(m_now, &QPushButton::clicked, this, &GridWindow::goToNow);
    auto* home = new QShortcut(QKeySequence(Qt::Key_Home), this);
    home->setContext(Qt::WidgetWithChildrenShortcut);
    m_host.connectGuarded(home, &QShortcut::activated, this, &GridWindow::goToNow);
    // The grid's signals carry the show it chose, which is the current one.
    m_host.connectGuarded(m_grid, &ProgrammeGrid::activated, this,
                          [this] { showChosen(m_grid->currentRow(), m_grid->currentBox()); });
    m_host.connectGuarded(m_grid, &ProgrammeGrid::addRequested, this,
                          [this] { addChosen(m_grid->currentRow(), m_grid->currentBox()); });
    connect(m_grid, &ProgrammeGrid::menuOpening, this, [this](QMenu* menu, int row, int box) {
        if (!m_day || row < 0 || row >= m_day->rowCount() || box < 0
            || box >= static_cast<int>(m_day->row(row).size()))
            return;
        const view::GridBox& chosen = m_day->row(row)[static_cast<std::size_t>(box)];
        addReminderEntry(menu, row, chosen);
        Q_EMIT showMenuOpening(menu, m_day->channel(row).index, m_day->day(), chosen.line);
    });
    connect(&m_host, &PageHost::remindersChanged, this, &GridWindow::markReminders);

    // A week chosen meanwhile is shown at once (after the viewing page has loaded it); a file
    // of the week changed by a download, an import or another program is noticed within seconds.
    auto* weekMoved = new QTimer(this);
    weekMoved->setSingleShot(true);
    weekMoved->setInterval(0);
    m_host.connectGuarded(weekMoved, &QTimer::timeout, this, &GridWindow::loadWeek);
    connect(&m_host, &PageHost::weekSelectorChanged, this, [this, weekMoved] {
        if (isVisible())
            weekMoved->start();
    });
    m_watch.setInterval(kWatchMilliseconds);
    m_host.connectGuarded(&m_watch, &QTimer::timeout, this, [this] {
        if (!m_week || !m_week->upToDate())
            loadWeek();
        updateNowButton();
    });
    connect(&m_host, &PageHost::languageChanged, this, [this] { retranslate(); });
}

void GridWindow::retranslate()
{
    setWindowTitle(m_host.text(TextId::GridTitle).arg(fromData(m_weekDate)));
    setCaption(m_action, m_host.text(TextId::GridItem));
    setCaption(m_now, m_host.text(TextId::GridNow));
    for (int day = 0; day < kWeekdays; ++day)
        m_days->setTabText(day, fromUtf8(view::airDayText(day, m_weekDate, m_host.languageOffset())));
    nameGrid();
    showStatus();
}

void GridWindow::openGrid()
{
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    m_grid->setFocus(Qt::ShortcutFocusReason);
}

void GridWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_host.guard([this] { loadWeek(); });
    m_watch.start();
}

void GridWindow::hideEvent(QHideEvent* event)
{
    // The week is kept only while the window is open; it opens again on today. A window the
    // desktop minimises keeps its day and its place.
    if (!event->spontaneous()) {
        m_watch.stop();
        m_grid->setModel(nullptr);
        m_day.reset();
        m_week.reset();
        m_weekDate.clear();
    }
    QWidget::hideEvent(event);
}

void GridWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc that no control of the window took closes it, as it closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool GridWindow::event(QEvent* event)
{
    // Coming back to the window: shows added to the selected lists meanwhile are marked.
    if (event->type() == QEvent::WindowActivate && m_day)
        m_host.guard([this] {
            if (m_week->upToDate() && toData(m_host.currentWeek()) == m_weekDate) {
                m_day->markListed(m_host.selectedListLines());
                markReminders();
            } else {
                loadWeek();
            }
        });
    return QWidget::event(event);
}

void GridWindow::loadWeek()
{
    const QString weekText = m_host.currentWeek();
    const std::string weekDate = toData(weekText);
    if (m_week && weekDate == m_weekDate && m_week->upToDate())
        return;
    const bool sameWeek = weekDate == m_weekDate;
    std::shared_ptr<const view::LoadedWeek> week;
    m_problem.clear();
    if (weekText.isEmpty()) {
        m_problem = m_host.text(TextId::NoWeekYet);
    } else {
        try {
            const WaitCursor waiting;
            week = m_host.loadedWeek(store::checkedWeekFolder(weekDate, store::FolderUse::Read));
        } catch (const Error& e) {
            m_problem = fromUtf8(e.what());
        }
    }
    // The grid of the day shown reads the week held until the next day's grid replaces it.
    const auto shown = std::move(m_week);
    m_week = std::move(week);
    m_weekDate = weekDate;
    int day = m_days->currentIndex();
    if (!sameWeek)
        day = todayInWeek().value_or(shown ? day : 0);
    retranslate(); // the title, the tabs' dates and the problems
    showDay(day);
}

void GridWindow::showDay(int day)
{
    {
        const QSignalBlocker quiet(m_days);
        m_days->setCurrentIndex(day);
    }
    std::unique_ptr<view::GridDay> next;
    if (m_week)
        next = std::make_unique<view::GridDay>(*m_week, m_weekDate, day, m_host.selectedListLines());
    m_grid->setModel(next.get());
    m_day = std::move(next);
    markReminders();
    nameGrid();
    updateNowButton();
}

std::optional<reminders::ShowKey> GridWindow::reminderKey(int row, const view::GridBox& box) const
{
    const view::PaneShow* show = m_day->show(row, box);
    if (!show)
        return std::nullopt;
    return reminders::showKey(m_weekDate, m_day->channel(row), *show);
}

void GridWindow::addReminderEntry(QMenu* menu, int row, const view::GridBox& box)
{
    const auto key = reminderKey(row, box);
    if (!key)
        return;
    const bool reminded = m_host.hasReminder(*key);
    QAction* entry = menu->addAction(m_host.text(reminded ? TextId::DoNotRemind : TextId::RemindMe));
    entry->setObjectName(QStringLiteral("GridRemind"));
    m_host.connectGuarded(entry, &QAction::triggered, this,
                          [this, key = *key, reminded] { m_host.setReminder(key, !reminded); });
}

void GridWindow::markReminders()
{
    if (!m_day)
        return;
    m_day->markReminded([this](const view::ChannelWeek& channel, const view::PaneShow& show) {
        return m_host.hasReminder(reminders::showKey(m_weekDate, channel, show));
    });
    m_grid->viewport()->update();
}

void GridWindow::nameGrid()
{
    // Screen readers hear which day the grid shows.
    m_grid->setTexts(m_host.text(TextId::GridName).arg(m_days->tabText(m_days->currentIndex())),
                     m_host.text(TextId::AddFoundToSelected));
}

void GridWindow::showStatus()
{
    QStringList lines;
    if (!m_problem.isEmpty())
        lines << m_problem;
    if (m_week && !m_week->problems().empty()) {
        QStringList problems;
        for (const std::string& problem : m_week->problems())
            problems << fromUtf8(problem);
        const QString all = m_host.text(TextId::GridNotReadWhole).arg(problems.join(QStringLiteral("; ")));
        m_status->setToolTip(all);
        if (problems.size() > kProblemsShown) {
            const auto more = problems.size() - kProblemsShown;
            problems.resize(kProblemsShown);
            problems << m_host.text(TextId::AndMore).arg(more);
        }
        lines << m_host.text(TextId::GridNotReadWhole).arg(problems.join(QStringLiteral("; ")));
    } else {
        m_status->setToolTip(QString());
    }
    m_status->setText(lines.join(QLatin1Char('\n')));
    m_status->setVisible(!lines.isEmpty());
}

std::optional<int> GridWindow::todayInWeek() const
{
    const auto monday = store::weekDateDay(m_weekDate);
    if (!monday)
        return std::nullopt;
    const auto today = std::chrono::floor<std::chrono::days>(m_host.clock().now());
    const auto day = (today - std::chrono::local_days(monday->time_since_epoch())).count();
    if (day < 0 || day >= kWeekdays)
        return std::nullopt;
    return static_cast<int>(day);
}

bool GridWindow::nowOnShownDay() const
{
    const auto now = m_day ? m_day->minuteOf(m_host.clock().now()) : std::nullopt;
    return now && *now >= m_day->firstMinute() && *now < m_day->lastMinute();
}

void GridWindow::updateNowButton()
{
    m_now->setEnabled(m_day && (nowOnShownDay() || todayInWeek()));
}

void GridWindow::goToNow()
{
    if (!m_day)
        return;
    if (!nowOnShownDay()) {
        const auto today = todayInWeek();
        if (!today)
            return;
        showDay(*today);
    }
    m_grid->scrollToNow();
    m_grid->setFocus(Qt::OtherFocusReason);
}

bool GridWindow::chosenShow(int row, int box, int& channel, int& line)
{
    if (!m_day || row < 0 || row >= m_day->rowCount() || box < 0
        || box >= static_cast<int>(m_day->row(row).size()))
        return false;
    // A grid of a week that has changed since would name other shows: it is shown afresh.
    if (toData(m_host.currentWeek()) != m_weekDate || !m_week->upToDate()) {
        loadWeek();
        return false;
    }
    channel = m_day->channel(row).index;
    line = m_day->row(row)[static_cast<std::size_t>(box)].line;
    return true;
}

void GridWindow::showChosen(int row, int box)
{
    int channel = 0, line = 0;
    if (!chosenShow(row, box, channel, line))
        return;
    m_host.showFoundShow(channel, m_day->day(), line);
    QWidget* main = m_host.window();
    if (main->isMinimized())
        main->showNormal();
    main->raise();
    main->activateWindow();
}

void GridWindow::addChosen(int row, int box)
{
    int channel = 0, line = 0;
    if (!chosenShow(row, box, channel, line))
        return;
    // The selected shows' rules and messages are the viewing page's; the box is marked after.
    m_host.addFoundShow(channel, m_day->day(), line);
    m_day->markListed(m_host.selectedListLines());
    m_grid->viewport()->update();
}

} // namespace brevio

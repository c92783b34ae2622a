#include "gui/search/search_window.h"

#include "core/reminders/reminder_schedule.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "core/view/time_text.h"
#include "core/view/week_search.h"
#include "core/view/week_shows.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/reminder_mark.h"
#include "gui/widgets/wait_cursor.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace brevio {

namespace {

constexpr int kColumns = 4;

} // namespace

// The results: day, time as shown, channel, heading; texts made as rows are painted.
class FoundShowsModel : public QAbstractTableModel
{
public:
    FoundShowsModel(const PageHost& host, QObject* parent)
        : QAbstractTableModel(parent)
        , m_host(host)
    {
    }

    void setResults(const view::WeekSearch* week, std::string weekDate, std::vector<std::uint32_t> hits)
    {
        beginResetModel();
        m_week = week;
        m_weekDate = std::move(weekDate);
        m_hits = std::move(hits);
        endResetModel();
    }
    void clear() { setResults(nullptr, {}, {}); }
    std::uint32_t hit(int row) const { return m_hits[static_cast<std::size_t>(row)]; }
    reminders::ShowKey keyOf(int row) const
    {
        const std::uint32_t found = hit(row);
        const view::FoundShow& show = m_week->show(found);
        return reminders::showKey(m_weekDate, m_week->channelName(show.channel),
                                  m_week->shiftMinutes(show.channel), show.day, show.airMinutes,
                                  m_week->title(found));
    }
    // The reminders have changed: the marks follow.
    void remark()
    {
        if (!m_hits.empty())
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1), {Qt::BackgroundRole});
    }
    void retranslate()
    {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
        if (!m_hits.empty())
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_week || !index.isValid())
            return {};
        if (role == Qt::BackgroundRole)
            return m_host.hasReminder(keyOf(index.row())) ? QVariant(reminderMarkBrush()) : QVariant();
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        const std::uint32_t found = hit(index.row());
        const view::FoundShow& show = m_week->show(found);
        switch (index.column()) {
        case 0:
            return fromUtf8(
                view::airDayText(view::airDay(show.airMinutes), m_weekDate, m_host.languageOffset()));
        case 1:
            return fromUtf8(view::formatTime(show.airMinutes));
        case 2:
            return fromData(m_week->channelName(show.channel));
        default:
            return fromData(m_week->title(found));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return m_host.text(textAfter(TextId::DayColumn, section));
    }

private:
    const PageHost& m_host;
    const view::WeekSearch* m_week = nullptr;
    std::string m_weekDate;
    std::vector<std::uint32_t> m_hits;
};

SearchWindow::SearchWindow(PageHost& host)
    : QDialog(host.window())
    , m_host(host)
{
    setObjectName(QStringLiteral("SearchWindow"));
    resize(760, 440);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("SearchLabel"));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("SearchField"));
    m_field->setClearButtonEnabled(true);
    m_label->setBuddy(m_field);
    m_model = new FoundShowsModel(host, this);
    m_results = new QTableView(this);
    m_results->setObjectName(QStringLiteral("SearchResults"));
    m_results->setModel(m_model);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setTabKeyNavigation(false);
    m_results->setWordWrap(false);
    m_results->setAlternatingRowColors(true);
    m_results->verticalHeader()->hide();
    // Fixed sizes: a week of results is laid out without measuring every row.
    m_results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_results->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_results->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {130, 50, 190};
    for (int column = 0; column < 3; ++column)
        m_results->setColumnWidth(column, widths[column]);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("SearchStatus"));
    m_status->setWordWrap(true);
    m_show = new QPushButton(this);
    m_show->setObjectName(QStringLiteral("SearchShowButton"));
    m_add = new QPushButton(this);
    m_add->setObjectName(QStringLiteral("SearchAddButton"));
    m_remind = new QPushButton(this);
    m_remind->setObjectName(QStringLiteral("SearchRemindButton"));
    for (QPushButton* button : {m_show, m_add, m_remind})
        button->setAutoDefault(false); // Enter belongs to the field and the results

    auto* top = new QHBoxLayout;
    top->addWidget(m_label);
    top->addWidget(m_field, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_show);
    bottom->addWidget(m_add);
    bottom->addWidget(m_remind);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);
    layout->addLayout(bottom);

    m_action = new QAction(this);
    m_action->setObjectName(QStringLiteral("SearchItem"));
    m_action->setShortcut(QKeySequence::Find);
    host.fileMenu()->addSeparator();
    host.fileMenu()->addAction(m_action);
    addAction(m_action); // Ctrl+F works in this window too
    m_host.connectGuarded(m_action, &QAction::triggered, this, &SearchWindow::openSearch);

    m_host.connectGuarded(m_field, &QLineEdit::textChanged, this, &SearchWindow::runSearch);
    m_host.connectGuarded(m_field, &QLineEdit::returnPressed, this, &SearchWindow::showChosenResult);
    m_field->installEventFilter(this);
    m_host.connectGuarded(m_results, &QAbstractItemView::activated, this, &SearchWindow::showChosenResult);
    m_host.connectGuarded(m_show, &QPushButton::clicked, this, &SearchWindow::showChosenResult);
    m_host.connectGuarded(m_add, &QPushButton::clicked, this, &SearchWindow::addChosenResult);
    m_host.connectGuarded(m_remind, &QPushButton::clicked, this, &SearchWindow::toggleChosenReminder);
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("SearchResultMenu"));
    m_host.connectGuarded(m_menu->addAction(QString()), &QAction::triggered, this,
                          &SearchWindow::showChosenResult);
    m_host.connectGuarded(m_menu->addAction(QString()), &QAction::triggered, this,
                          &SearchWindow::addChosenResult);
    m_remindEntry = m_menu->addAction(QString());
    m_host.connectGuarded(m_remindEntry, &QAction::triggered, this, &SearchWindow::toggleChosenReminder);
    m_results->setContextMenuPolicy(Qt::CustomContextMenu);
    m_host.connectGuarded(m_results, &QWidget::customContextMenuRequested, this,
                          &SearchWindow::openResultMenu);
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), m_results);
    menuKey->setContext(Qt::WidgetShortcut);
    m_host.connectGuarded(menuKey, &QShortcut::activated, this, &SearchWindow::openResultMenu);
    connect(m_results->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SearchWindow::updateRemindEntries);
    connect(&m_host, &PageHost::remindersChanged, this, [this] {
        m_model->remark();
        updateRemindEntries();
    });
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    insert->setContext(Qt::WidgetWithChildrenShortcut);
    m_host.connectGuarded(insert, &QShortcut::activated, this, &SearchWindow::addChosenResult);

    // A week chosen meanwhile is searched at once (after the viewing page has loaded it).
    auto* weekMoved = new QTimer(this);
    weekMoved->setSingleShot(true);
    weekMoved->setInterval(0);
    m_host.connectGuarded(weekMoved, &QTimer::timeout, this, &SearchWindow::runSearch);
    connect(&m_host, &PageHost::weekSelectorChanged, this, [this, weekMoved] {
        if (isVisible())
            weekMoved->start();
    });
    connect(&m_host, &PageHost::languageChanged, this, [this] { retranslate(); });
    retranslate();
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::retranslate()
{
    setWindowTitle(m_host.text(TextId::SearchTitle).arg(m_host.currentWeek()));
    m_label->setText(m_host.text(TextId::FindLabel));
    m_field->setAccessibleName(m_host.text(TextId::FindLabel).remove(QLatin1Char(':')));
    m_results->setAccessibleName(m_host.text(TextId::FoundShows));
    setCaption(m_show, m_host.text(TextId::ShowFound));
    setCaption(m_add, m_host.text(TextId::AddFoundToSelected));
    m_menu->actions().at(0)->setText(m_host.text(TextId::ShowFound));
    m_menu->actions().at(1)->setText(m_host.text(TextId::AddFoundToSelected));
    updateRemindEntries();
    m_model->retranslate();
    if (isVisible())
        runSearch(); // the status line speaks the new language too
}

void SearchWindow::openSearch()
{
    show();
    raise();
    activateWindow();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void SearchWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_host.guard([this] { runSearch(); });
}

void SearchWindow::hideEvent(QHideEvent* event)
{
    // The week's text is kept only while the window is open.
    m_model->clear();
    m_week.reset();
    QDialog::hideEvent(event);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Down from the field goes to the results, as in a browser's address bar.
    if (watched == m_field && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_model->rowCount() > 0) {
        m_results->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool SearchWindow::loadCurrentWeek()
{
    const QString weekText = m_host.currentWeek();
    setWindowTitle(m_host.text(TextId::SearchTitle).arg(weekText));
    const std::string week = toData(weekText);
    if (m_week && week == m_weekDate && m_week->upToDate())
        return true;
    m_model->clear();
    m_week.reset();
    m_problem.clear();
    if (weekText.isEmpty()) {
        m_problem = m_host.text(TextId::NoWeekYet);
        return false;
    }
    try {
        const WaitCursor waiting;
        m_week = std::make_unique<view::WeekSearch>(
            *m_host.loadedWeek(store::checkedWeekFolder(week, store::FolderUse::Read)));
        m_weekDate = week;
    } catch (const Error& e) {
        m_problem = fromUtf8(e.what());
        return false;
    }
    return true;
}

void SearchWindow::runSearch()
{
    if (!loadCurrentWeek()) {
        m_status->setText(m_problem);
        updateRemindEntries();
        return;
    }
    const QByteArray typed = m_field->text().toUtf8();
    Cp1251Loss loss;
    const std::string query = utf8ToCp1251Nearest(
        std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())), &loss);
    // A character no listing can hold matches nothing.
    std::vector<std::uint32_t> hits = loss.count > 0 ? std::vector<std::uint32_t>() : m_week->find(query);
    const auto count = hits.size();
    m_model->setResults(m_week.get(), m_weekDate, std::move(hits));
    if (count > 0)
        m_results->selectRow(0);
    updateRemindEntries();

    QStringList status;
    if (!m_field->text().trimmed().isEmpty())
        status << m_host.text(TextId::FoundCount).arg(count);
    if (!m_week->problems().empty()) {
        QStringList problems;
        for (const std::string& problem : m_week->problems())
            problems << fromUtf8(problem);
        status << m_host.text(TextId::NotSearchedWhole).arg(problems.join(QStringLiteral("; ")));
    }
    m_status->setText(status.join(QLatin1Char('\n')));
}

bool SearchWindow::chosenShow(int& channel, int& day, int& line)
{
    const QModelIndex current = m_results->currentIndex();
    if (!current.isValid() || !m_week)
        return false;
    // Results of a week that has changed since would point at other shows: search afresh.
    if (toData(m_host.currentWeek()) != m_weekDate || !m_week->upToDate()) {
        runSearch();
        return false;
    }
    const view::FoundShow& show = m_week->show(m_model->hit(current.row()));
    channel = show.channel;
    day = show.day;
    line = show.line;
    return true;
}

void SearchWindow::showChosenResult()
{
    int channel = 0, day = 0, line = 0;
    if (chosenShow(channel, day, line))
        m_host.showFoundShow(channel, day, line);
}

void SearchWindow::addChosenResult()
{
    int channel = 0, day = 0, line = 0;
    if (chosenShow(channel, day, line))
        m_host.addFoundShow(channel, day, line);
}

void SearchWindow::updateRemindEntries()
{
    const QModelIndex current = m_results->currentIndex();
    const bool chosen = current.isValid() && m_week;
    const bool reminded = chosen && m_host.hasReminder(m_model->keyOf(current.row()));
    const QString caption = m_host.text(reminded ? TextId::DoNotRemind : TextId::RemindMe);
    setCaption(m_remind, caption);
    m_remindEntry->setText(caption);
    m_remind->setEnabled(chosen);
    m_remindEntry->setEnabled(chosen);
}

void SearchWindow::toggleChosenReminder()
{
    int channel = 0, day = 0, line = 0;
    if (!chosenShow(channel, day, line))
        return;
    const reminders::ShowKey show = m_model->keyOf(m_results->currentIndex().row());
    m_host.setReminder(show, !m_host.hasReminder(show));
}

void SearchWindow::openResultMenu()
{
    const QModelIndex current = m_results->currentIndex();
    if (!current.isValid())
        return;
    const QRect row = m_results->visualRect(current);
    m_menu->popup(m_results->viewport()->mapToGlobal(row.bottomLeft()));
}

} // namespace brevio

#include "gui/viewing/viewing_page.h"

#include "core/session/clock.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/day_view.h"
#include "core/view/now_view.h"
#include "core/view/selected_shows.h"
#include "core/view/week_lists.h"
#include "gui/viewing/day_reminders.h"
#include "gui/viewing/pane_clicks.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/list_views.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/pane_lines.h"
#include "gui/widgets/qt_text.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QToolButton>

#include <exception>

namespace brevio {

namespace {

const char* const kDayButtonNames[]
    = {"FlatSpeedButton1", "FlatSpeedButton2", "FlatSpeedButton3", "FlatSpeedButton4",
       "FlatSpeedButton5", "FlatSpeedButton6", "FlatSpeedButton7"};
const char* const kDayCaptions[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};

// Shows what a handler produced even when it stopped half-way, then lets the error go on to
// the window's error box.
template <class Fill, class Show>
void fillThenShow(Fill fill, Show show)
{
    try {
        fill();
    } catch (...) {
        show();
        throw;
    }
    show();
}

} // namespace

ViewingPage::ViewingPage(PageHost& host, QWidget* parent)
    : QFrame(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("Panel2"));
    new Anchors(this, QSize(707, 359));

    m_modeGroup = new QButtonGroup(this);
    m_dayGroup = new QButtonGroup(this);
    m_all = makeSpeedButton(this, "FlatSpeedButton8", QStringLiteral("Все"), {5, 6, 46, 20}, m_modeGroup);
    m_selected = makeSpeedButton(this, "FlatSpeedButton9", QStringLiteral("Отобранные"), {52, 6, 75, 20},
                                 m_modeGroup);
    m_nextMonday = makeSpeedButton(this, "FlatSpeedButton10", QStringLiteral("Следующий Пн"),
                                   {127, 6, 111, 20}, m_dayGroup);
    const int dayLefts[] = {5, 34, 61, 88, 115, 142, 169};
    for (int d = 0; d < kDays; ++d) {
        m_dayButtons[d] = makeSpeedButton(this, kDayButtonNames[d], QString::fromUtf8(kDayCaptions[d]),
                                          {dayLefts[d], 31, d == 0 ? 29 : 27, 20}, m_dayGroup);
        m_host.connectGuarded(m_dayButtons[d], &QToolButton::clicked, this,
                              &ViewingPage::updatePaneVisibility);
    }
    m_now = makeSpeedButton(this, "FlatSpeedButton31", QStringLiteral("Сейчас"), {196, 31, 42, 20},
                            m_modeGroup);
    m_all->setChecked(true);

    m_host.connectGuarded(m_all, &QToolButton::clicked, this, &ViewingPage::showAllMode);
    m_host.connectGuarded(m_selected, &QToolButton::clicked, this, &ViewingPage::showSelectedMode);
    m_host.connectGuarded(m_nextMonday, &QToolButton::clicked, this, &ViewingPage::showNextMonday);

    m_channelList = makeControl<QListWidget>(this, "TextListBox1", {5, 56, 234, 277},
                                             AnchorLeft | AnchorTop | AnchorBottom);
    m_remind = makeSpeedButton(this, "RemindButton", QString(), {5, 338, 234, 17}, nullptr,
                               AnchorLeft | AnchorBottom);
    m_channelList->setSelectionMode(QAbstractItemView::SingleSelection);

    // The panes lie on one spot; the visibility rule shows one at a time.
    const QRect paneRect(245, 5, 707 - 249, 359 - 9);
    for (int d = 0; d < kDays; ++d) {
        const QByteArray name = "RichEdit" + QByteArray::number(2 + d);
        m_dayPanes[d] = makePane(this, name.constData(), paneRect, true);
    }
    for (int l = 0; l < kLists; ++l) {
        const QByteArray name = "RichEdit" + QByteArray::number(9 + l);
        m_listPanes[l] = makePane(this, name.constData(), paneRect, false);
    }
    m_nowPane = makePane(this, "RichEdit17", paneRect, true);
    m_reminders = new DayReminders(m_host, *this, m_remind);
    connectHandlers();
    updatePaneVisibility();
}

void ViewingPage::connectHandlers()
{
    m_host.connectGuarded(m_now, &QToolButton::clicked, this, &ViewingPage::showNowView);

    // A keyboard choice changes the selection alone; a mouse press changes it and then reports
    // the press, and a press on the chosen channel fills the panes again (clearing bold marks).
    m_host.connectGuarded(m_channelList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_channelList->selectedItems().isEmpty())
            return;
        m_channelJustChosen = QGuiApplication::mouseButtons() != Qt::NoButton;
        showChosenChannel();
    });
    m_host.connectGuarded(m_channelList, &QListWidget::itemPressed, this, [this] {
        const bool again = !m_channelJustChosen;
        m_channelJustChosen = false;
        if (again)
            showChosenChannel();
    });

    for (int d = 0; d < kDays; ++d) {
        new view::PaneClicks(
            m_dayPanes[d],
            [this, d](Qt::MouseButton button) {
                m_host.guard(
                    [&] { addShowToSelected(button, m_dayPanes[d], m_listPanes[d], m_listPanes[d + 1]); });
            },
            [this, d] { m_host.guard([&] { m_reminders->openMenu(d); }); });
    }
    for (auto* list : m_listPanes) {
        new view::PaneClicks(
            list, [this, list](Qt::MouseButton) { m_host.guard([&] { removeSelectedEntry(list); }); });
    }
    new view::PaneClicks(m_nowPane, [](Qt::MouseButton) {});
}

view::SelectedLists ViewingPage::selectedListLines() const
{
    view::SelectedLists lists;
    for (std::size_t l = 0; l < lists.size(); ++l)
        lists[l] = view::linesOf(m_listPanes[l]);
    return lists;
}

QList<QTextEdit*> ViewingPage::schedulePanes() const
{
    QList<QTextEdit*> panes(m_dayPanes.begin(), m_dayPanes.end());
    panes.append(QList<QTextEdit*>(m_listPanes.begin(), m_listPanes.end()));
    panes.append(m_nowPane);
    return panes;
}

void ViewingPage::setDayButtonDown(int day)
{
    m_dayButtons[day]->setChecked(true);
}

void ViewingPage::clearDayPanes()
{
    m_reminders->forget();
    for (auto* pane : m_dayPanes)
        view::clearToPlain(pane);
}

void ViewingPage::updatePaneVisibility()
{
    const bool all = m_all->isChecked();
    const bool selected = m_selected->isChecked();
    for (int d = 0; d < kDays; ++d) {
        m_dayPanes[d]->setVisible(all && m_dayButtons[d]->isChecked());
        m_listPanes[d]->setVisible(selected && m_dayButtons[d]->isChecked());
    }
    m_listPanes[kDays]->setVisible(selected && m_nextMonday->isChecked());
    m_nowPane->setVisible(m_now->isChecked());
    m_nextMonday->setEnabled(selected);
    m_reminders->updateButton();
}

void ViewingPage::showAllMode()
{
    for (auto* button : m_dayButtons)
        button->setEnabled(true);
    updatePaneVisibility();
}

void ViewingPage::showSelectedMode()
{
    for (auto* button : m_dayButtons)
        button->setEnabled(true);
    updatePaneVisibility();
}

void ViewingPage::showNextMonday()
{
    updatePaneVisibility();
}

void ViewingPage::showChosenWeek()
{
    clearDayPanes();
    loadWeek();
}

void ViewingPage::loadWeek()
{
    setChannelNames({});
    // The list panes follow the week even without its channel list; each part fails on its own.
    std::exception_ptr listsFailure;
    try {
        loadSelectedLists();
    } catch (...) {
        listsFailure = std::current_exception();
    }
    loadChannelNames(m_host.currentWeekFolder());
    if (listsFailure)
        std::rethrow_exception(listsFailure);
}

void ViewingPage::loadChannelNames(const std::string& weekFolder)
{
    setChannelNames({});
    const auto channelNames = view::loadChannelNames(weekFolder);
    QStringList names;
    names.reserve(static_cast<qsizetype>(channelNames.size()));
    for (const auto& name : channelNames)
        names << fromData(name);
    setChannelNames(names);
}

void ViewingPage::setChannelNames(const QStringList& names)
{
    m_channelList->clear();
    m_channelList->addItems(names);
    Q_EMIT channelNamesChanged(names);
}

void ViewingPage::removeChannel(const QString& name)
{
    // The day panes keep what they show, so the list must not report a new choice.
    const QSignalBlocker quiet(m_channelList);
    for (QListWidgetItem* item : m_channelList->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive))
        delete item;
}

void ViewingPage::loadSelectedLists()
{
    // Until the new week's lists are in, the panes belong to no week and take no writes.
    m_listsWeek.reset();
    showSelectedLists({});
    const std::string week = toData(m_host.currentWeek());
    view::SelectedLists lists;
    // A list that cannot be read stays empty beside the others, and the panes take no writes
    // then: a write would replace the file nobody could read.
    fillThenShow([&] { view::loadSelectedLists(m_host.currentWeekFolder(), lists); },
                 [&] { showSelectedLists(lists); });
    m_listsWeek = week;
}

void ViewingPage::followWeekSelector()
{
    if (m_listsWeek != toData(m_host.currentWeek()))
        showChosenWeek();
}

void ViewingPage::showSelectedLists(const view::SelectedLists& lists)
{
    for (int l = 0; l < kLists; ++l)
        view::showLines(m_listPanes[l], lists[static_cast<std::size_t>(l)]);
}

void ViewingPage::showChosenChannel()
{
    clearDayPanes();
    view::ChannelDays days;
    fillThenShow([&] { view::loadChannelDays(m_host.currentWeekFolder(), selectedRow(m_channelList), days); },
                 [&] {
                     for (int d = 0; d < kDays; ++d)
                         view::showLines(m_dayPanes[d], days.panes[static_cast<std::size_t>(d)]);
                 });
    m_reminders->channelShown(selectedRow(m_channelList));
    m_all->setChecked(true);
    showAllMode();
}

int ViewingPage::listIndexOf(const QTextEdit* pane) const
{
    for (int l = 0; l < kLists; ++l) {
        if (m_listPanes[l] == pane)
            return l;
    }
    return -1;
}

void ViewingPage::writeSelectedList(int list, const std::vector<std::string>& lines)
{
    if (!m_listsWeek)
        throw UnsafeNameError::noWeekFolder();
    view::saveSelectedList(store::checkedWeekFolder(*m_listsWeek, store::FolderUse::Write), list, lines);
    Q_EMIT selectedListWritten();
}

void ViewingPage::addShowToSelected(Qt::MouseButton button, QTextEdit* dayPane, QTextEdit* sameDayList,
                                    QTextEdit* nextDayList)
{
    const auto paneLines = view::linesOf(dayPane);
    if (button == Qt::LeftButton) {
        if (const auto show = view::showBlockAt(paneLines, view::selectionOf(dayPane).start))
            view::select(dayPane, *show);
        return;
    }

    const QListWidgetItem* channel = selectedItem(m_channelList);
    const std::string channelName = channel ? toData(channel->text()) : std::string();
    const auto sameDayLines = view::linesOf(sameDayList);
    const auto nextDayLines = nextDayList ? view::linesOf(nextDayList) : std::vector<std::string>();
    const view::AddShowInput input{paneLines,    view::selectionOf(dayPane),
                                   channelName,  m_host.endTimeInSelected(),
                                   sameDayLines, nextDayLines};
    view::AddShowResult result;
    fillThenShow([&] { view::addShowToList(input, result); },
                 [&] {
                     if (result.markBold)
                         view::markSelectionBold(dayPane);
                 });
    if (result.outcome != view::AddOutcome::Added) {
        m_host.dialogs().message(fromUtf8(view::addShowMessage(result.outcome, m_host.languageOffset())));
        return;
    }
    QTextEdit* target = result.target == view::TargetList::SameDay ? sameDayList : nextDayList;
    // The pane shows the new list even if its file cannot be written.
    view::showLines(target, result.targetLines);
    writeSelectedList(listIndexOf(target), result.targetLines);
}

void ViewingPage::removeSelectedEntry(QTextEdit* listPane)
{
    auto lines = view::linesOf(listPane);
    const auto entry = view::entryAt(lines, view::selectionOf(listPane).start);
    // Answered No, the list and its file stay as they are.
    if (!m_host.dialogs().confirm(fromUtf8(view::removalQuestion(entry.text, m_host.languageOffset()))))
        return;
    lines = view::withoutLine(std::move(lines), entry.line);
    view::showLines(listPane, lines);
    writeSelectedList(listIndexOf(listPane), lines);
}

void ViewingPage::showNowView()
{
    view::clearToPlain(m_nowPane);
    std::vector<std::string> lines;
    bool weekFound = false;
    fillThenShow([&] { weekFound = view::buildNowView(m_host.clock().now(), m_host.nowHours(), lines); },
                 [&] { view::showLines(m_nowPane, lines); });
    // Today's week was not downloaded: the panes shown before stay shown.
    if (!weekFound)
        return;
    for (auto* button : m_dayButtons)
        button->setEnabled(false);
    updatePaneVisibility();
}

void ViewingPage::showFound(int channel, int day, int line)
{
    m_host.showPage(this);
    {
        // The choice is made here; the list's own handler would fill the panes a second time.
        const QSignalBlocker quiet(m_channelList);
        m_channelList->setCurrentRow(channel, QItemSelectionModel::ClearAndSelect);
    }
    showChosenChannel();
    m_dayButtons[day]->setChecked(true);
    updatePaneVisibility();
    QTextEdit* pane = m_dayPanes[day];
    const auto lines = view::linesOf(pane);
    if (const auto show = view::showBlockAt(lines, view::lineStart(lines, line))) {
        view::select(pane, *show);
        pane->ensureCursorVisible();
    }
}

void ViewingPage::addFoundToSelected(int channel, int day, int line)
{
    showFound(channel, day, line);
    addShowToSelected(Qt::RightButton, m_dayPanes[day], m_listPanes[day], m_listPanes[day + 1]);
}

} // namespace brevio

#include "gui/settings/maintenance_controls.h"

#include "core/store/errors.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "core/view/week_lists.h"
#include "core/view/week_maintenance.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/list_views.h"
#include "gui/widgets/overlay.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace brevio {

namespace {

// A drag of ours carries nothing but this type; the channel moved is the selected one.
const QString kChannelDragType = QStringLiteral("application/x-brevio-channel");

} // namespace

MaintenanceControls::MaintenanceControls(PageHost& host, QWidget* page, const UpkeepControls& controls)
    : QObject(page)
    , m_host(host)
    , m_channels(controls.channels)
    , m_weeks(controls.weeks)
    , m_deleteChannel(controls.deleteChannel)
{
    buildShiftPanel(page);
    m_channels->setSelectionMode(QAbstractItemView::SingleSelection);
    m_channels->viewport()->setAcceptDrops(true);
    m_channels->viewport()->installEventFilter(this);
    m_channels->installEventFilter(this);
    connectControls(controls);
}

void MaintenanceControls::buildShiftPanel(QWidget* page)
{
    // The panel covers the right column while it is open, so it paints its own background
    // and a frame.
    auto* panel = static_cast<QFrame*>(makePanel(page, "Panel9", {432, 2, 169, 269}));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setToolTip(QStringLiteral("Сдвиг времени канала"));
    auto* hint = makeLabel(panel, "Label15", QString(), {6, 6, 157, 150});
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_hours = makeSpinBox(panel, "RxSpinEdit7", {80, 163, 60, 21}, -23, 23, 0);
    makeLabel(panel, "Label16", QStringLiteral("Часы"), {6, 166, 60, 15})->setBuddy(m_hours);
    m_minutes = makeSpinBox(panel, "RxSpinEdit8", {80, 189, 60, 21}, -59, 59, 0);
    makeLabel(panel, "Label17", QStringLiteral("Минуты"), {6, 192, 60, 15})->setBuddy(m_minutes);
    m_saveShift = makeSpeedButton(panel, "FlatSpeedButton34", QStringLiteral("Сохранить"), {6, 220, 157, 17});
    m_hideShift = makeSpeedButton(panel, "FlatSpeedButton33", QStringLiteral("Скрыть"), {6, 242, 157, 17});
    panel->hide();
    new Overlay(panel);
    m_shiftPanel = panel;
}

void MaintenanceControls::connectControls(const UpkeepControls& controls)
{
    m_host.connectGuarded(controls.shiftMode, &QToolButton::clicked, this,
                          &MaintenanceControls::enterShiftMode);
    m_host.connectGuarded(m_hideShift, &QToolButton::clicked, this, &MaintenanceControls::leaveShiftMode);
    m_host.connectGuarded(m_saveShift, &QToolButton::clicked, this, &MaintenanceControls::saveChannelShift);
    m_host.connectGuarded(m_deleteChannel, &QToolButton::clicked, this, &MaintenanceControls::deleteChannel);
    m_host.connectGuarded(controls.deleteWeek, &QToolButton::clicked, this, &MaintenanceControls::deleteWeek);

    // A keyboard choice shows the shift at once; a mouse press changes the selection and then
    // reports the press, so a press on the chosen channel reads its shift again.
    m_host.connectGuarded(m_channels, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_shiftMode || m_channels->selectedItems().isEmpty())
            return;
        m_channelJustChosen = QGuiApplication::mouseButtons() != Qt::NoButton;
        showChannelShift();
    });
    m_host.connectGuarded(m_channels, &QListWidget::itemPressed, this, [this] {
        const bool again = m_shiftMode && !m_channelJustChosen;
        m_channelJustChosen = false;
        if (again)
            showChannelShift();
    });
}

void MaintenanceControls::enterShiftMode()
{
    m_shiftMode = true;
    m_deleteChannel->setEnabled(false);
    m_shiftPanel->show();
    m_shiftPanel->raise();
}

void MaintenanceControls::leaveShiftMode()
{
    m_shiftPanel->hide();
    m_shiftMode = false;
    m_deleteChannel->setEnabled(true);
}

void MaintenanceControls::showChannelShift()
{
    m_hours->setValue(0);
    m_minutes->setValue(0);
    const QListWidgetItem* channel = selectedItem(m_channels);
    if (!channel)
        return;
    const store::TimeShift shift = view::readChannelShift(toData(channel->text()));
    m_hours->setValue(shift.hours);
    m_minutes->setValue(shift.minutes);
}

void MaintenanceControls::saveChannelShift()
{
    const QListWidgetItem* channel = selectedItem(m_channels);
    if (!channel) {
        m_host.dialogs().message(m_host.text(TextId::NoChannelForShift));
        return;
    }
    view::storeChannelShift(toData(channel->text()), {m_hours->value(), m_minutes->value()});
    m_host.dialogs().message(m_host.text(TextId::Done));
}

bool MaintenanceControls::acceptsChannelDrag(const QObject* source) const
{
    return !m_shiftMode && source == m_channels;
}

void MaintenanceControls::dropChannel(QPoint pos)
{
    const int from = selectedRow(m_channels);
    if (from < 0)
        return;
    // Only a point on an item names a place; anywhere below the last item means the end.
    const QListWidgetItem* target = m_channels->itemAt(pos);
    moveChannel(from, target ? m_channels->row(target) : m_channels->count() - 1);
}

void MaintenanceControls::moveSelectedChannel(int by)
{
    const int from = selectedRow(m_channels);
    if (m_shiftMode || from < 0)
        return;
    moveChannel(from, std::clamp(from + by, 0, m_channels->count() - 1));
}

void MaintenanceControls::moveChannel(int from, int to)
{
    QListWidgetItem* moved = m_channels->takeItem(from);
    m_channels->insertItem(to, moved);
    m_channels->setCurrentItem(moved);
}

void MaintenanceControls::removeChannelItems(const QString& name)
{
    m_host.removeChannel(name);
    const QSignalBlocker quiet(m_channels);
    for (QListWidgetItem* item : m_channels->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive))
        delete item;
}

void MaintenanceControls::deleteChannel()
{
    const QListWidgetItem* channel = selectedItem(m_channels);
    if (!channel)
        throw ListIndexError(-1);
    const QString name = channel->text();
    const std::string folder
        = store::checkedWeekFolder(toData(m_host.currentWeek()), store::FolderUse::Write);
    // The file goes first: the channel lists find a channel by its line, so they may only lose
    // it once the channel list file has.
    view::deleteChannel(folder, toData(name));
    removeChannelItems(name);
    m_host.dialogs().message(m_host.text(TextId::ChannelDeleted));
}

void MaintenanceControls::deleteWeek()
{
    const int row = selectedRow(m_weeks);
    if (row < 0)
        throw ListIndexError(-1);
    const QString week = m_weeks->item(row)->text();
    if (week == lastWeek(m_host.settings())) {
        m_host.dialogs().message(m_host.text(TextId::LastWeekStays));
        return;
    }
    // A line that is no week date (a damaged week list) names no folder: it leaves the list,
    // and no folder is touched for it.
    const std::string weekDate = toData(week);
    const bool namesFolder = store::isWeekDate(weekDate);

    std::vector<std::string> remaining;
    for (int i = 0; i < m_weeks->count(); ++i) {
        if (i != row)
            remaining.push_back(toData(m_weeks->item(i)->text()));
    }
    view::storeWeekList(remaining);
    delete m_weeks->takeItem(row);
    m_host.removeWeek(row, week);

    m_host.dialogs().message(m_host.text(namesFolder && view::deleteWeekFolder(weekDate)
                                             ? TextId::WeekDeleted
                                             : TextId::WeekFolderNotDeleted));
    // The selector may now show another week than the viewing page: the page follows it, so
    // nothing is written into the deleted week's or another week's lists.
    m_host.followWeekSelector();
}

void MaintenanceControls::startDrag()
{
    auto* drag = new QDrag(m_channels);
    auto* data = new QMimeData;
    data->setData(kChannelDragType, QByteArray());
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

bool MaintenanceControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_channels && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() != Qt::AltModifier || (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down))
            return false;
        m_host.guard([this, key] { moveSelectedChannel(key->key() == Qt::Key_Up ? -1 : 1); });
        return true;
    }
    if (watched != m_channels->viewport())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        m_pressed = press->button() == Qt::LeftButton && m_channels->itemAt(press->position().toPoint());
        m_pressPos = press->position().toPoint();
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        break;
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!m_pressed || m_shiftMode || !(move->buttons() & Qt::LeftButton))
            break;
        if ((move->position().toPoint() - m_pressPos).manhattanLength()
            >= QApplication::startDragDistance()) {
            m_pressed = false;
            startDrag();
        }
        // The list would otherwise select whatever passes under the mouse, and the drag moves
        // the selected channel: it must stay the one pressed.
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (acceptsChannelDrag(drag->source()) && drag->mimeData()->hasFormat(kChannelDragType))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!acceptsChannelDrag(drop->source()) || !drop->mimeData()->hasFormat(kChannelDragType)) {
            drop->ignore();
            return true;
        }
        // The list is only rearranged here; nothing of the drag itself is kept.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_host.guard([this, drop] { dropChannel(drop->position().toPoint()); });
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brevio

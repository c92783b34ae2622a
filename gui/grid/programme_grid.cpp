#include "gui/grid/programme_grid.h"

#include "core/session/clock.h"
#include "core/view/grid_model.h"
#include "core/view/time_text.h"
#include "gui/grid/grid_accessible.h"
#include "gui/grid/grid_style.h"
#include "gui/widgets/qt_text.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace brevio {

using grid::clockText;
using grid::kPad;

namespace {

constexpr int kMinColumn = 90;
constexpr int kMaxColumn = 220;
constexpr int kToolTipLines = 12; // description lines shown; a longer text ends in "…"
constexpr double kZoomStep = 1.5;

} // namespace

ProgrammeGrid::ProgrammeGrid(const Clock& clock, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("ProgrammeGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false); // paintEvent covers every pixel
    viewport()->setMouseTracking(false);
    installGridAccessibility();
    measure();
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        viewport()->update();
        scheduleClockTick();
    });
    scheduleClockTick();
}

ProgrammeGrid::~ProgrammeGrid() = default;

void ProgrammeGrid::setTexts(const QString& accessibleName, const QString& addToSelected)
{
    setAccessibleName(accessibleName);
    m_addText = addToSelected;
}

void ProgrammeGrid::setModel(const view::GridDay* model)
{
    const bool hadModel = m_model != nullptr;
    const double left = leftMinute();
    const int top = verticalScrollBar()->value();
    m_model = model;
    dropTexts();
    measure();
    if (!m_model) {
        m_row = m_box = -1;
        updateScrollBars(0, 0);
        viewport()->update();
        return;
    }
    double keep = left;
    if (!hadModel) {
        // A first day opens at "now" when it is on it, else at its first show.
        const auto now = nowMinute();
        if (now && *now >= m_model->firstMinute() && *now < m_model->lastMinute()) {
            keep = static_cast<double>(*now) - m_minutesPerScreen / 4.0;
        } else {
            long long earliest = m_model->lastMinute();
            for (int r = 0; r < m_model->rowCount(); ++r)
                if (!m_model->row(r).empty())
                    earliest = std::min(earliest, m_model->row(r).front().start);
            keep = static_cast<double>(earliest == m_model->lastMinute() ? 0 : earliest);
        }
        m_moment = keep;
    }
    updateScrollBars(keep, timeArea().left());
    verticalScrollBar()->setValue(hadModel ? top : 0);
    const int row = std::min(m_row, m_model->rowCount() - 1);
    m_row = m_box = -1;
    if (row >= 0)
        chooseAtMoment(row);
    viewport()->update();
}

void ProgrammeGrid::measure()
{
    const QFontMetrics metrics(font());
    m_rowHeight = 2 * metrics.height() + 2 * kPad + 2;
    m_headerHeight = metrics.height() + 2 * kPad + 4;
    int widest = 0;
    if (m_model)
        for (int r = 0; r < m_model->rowCount(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(fromData(m_model->channel(r).name)));
    m_columnWidth = std::clamp(widest + 3 * kPad, kMinColumn, kMaxColumn);
}

QRect ProgrammeGrid::timeArea() const
{
    const QRect all = viewport()->rect();
    return QRect(m_columnWidth, m_headerHeight, std::max(1, all.width() - m_columnWidth),
                 std::max(1, all.height() - m_headerHeight));
}

double ProgrammeGrid::pixelsPerMinute() const
{
    return static_cast<double>(timeArea().width()) / m_minutesPerScreen;
}

double ProgrammeGrid::firstMinute() const
{
    return m_model ? static_cast<double>(m_model->firstMinute()) : 0.0;
}

int ProgrammeGrid::xOf(double minute) const
{
    const double x = timeArea().left() + (minute - leftMinute()) * pixelsPerMinute();
    return static_cast<int>(std::lround(std::clamp(x, -1e6, 1e6)));
}

double ProgrammeGrid::minuteAt(int x) const
{
    return leftMinute() + (x - timeArea().left()) / pixelsPerMinute();
}

int ProgrammeGrid::yOf(int row) const
{
    return m_headerHeight + row * m_rowHeight - verticalScrollBar()->value();
}

int ProgrammeGrid::firstVisibleRow() const
{
    return verticalScrollBar()->value() / m_rowHeight;
}

void ProgrammeGrid::updateScrollBars(double keepMinute, int keepX)
{
    const QRect area = timeArea();
    const double span = m_model ? static_cast<double>(m_model->lastMinute() - m_model->firstMinute()) : 0.0;
    const int width = static_cast<int>(std::ceil(span * pixelsPerMinute()));
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, width - area.width()));
    h->setPageStep(area.width());
    h->setSingleStep(std::max(1, static_cast<int>(pixelsPerMinute() * 15))); // a quarter of an hour
    const double left = keepMinute - (keepX - area.left()) / pixelsPerMinute();
    const double lastLeft = firstMinute() + h->maximum() / pixelsPerMinute();
    h->setValue(static_cast<int>(std::lround((left - firstMinute()) * pixelsPerMinute())));
    // Kept exactly, so that zooming back and forth or resizing does not creep.
    m_leftMinute = std::clamp(left, firstMinute(), lastLeft);
    QScrollBar* v = verticalScrollBar();
    const int rows = m_model ? m_model->rowCount() : 0;
    v->setRange(0, std::max(0, rows * m_rowHeight - area.height()));
    v->setPageStep(area.height());
    v->setSingleStep(m_rowHeight);
}

void ProgrammeGrid::resizeEvent(QResizeEvent* event)
{
    // The width holds the same span of time: the left edge keeps its minute.
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars(m_leftMinute, timeArea().left());
}

void ProgrammeGrid::scrollContentsBy(int dx, int)
{
    // The frozen column and row stay: everything is painted afresh.
    if (dx != 0)
        m_leftMinute = firstMinute() + horizontalScrollBar()->value() / pixelsPerMinute();
    viewport()->update();
}

void ProgrammeGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        dropTexts();
        measure();
        updateScrollBars(m_leftMinute, timeArea().left());
    }
}

void ProgrammeGrid::setMinutesPerScreen(int minutes, int anchorX)
{
    minutes = std::clamp(minutes, kMinMinutesPerScreen, kMaxMinutesPerScreen);
    if (minutes == m_minutesPerScreen)
        return;
    const QRect area = timeArea();
    const int x = anchorX >= area.left() ? anchorX : area.center().x();
    const double anchor = minuteAt(x);
    m_minutesPerScreen = minutes;
    updateScrollBars(anchor, x);
    viewport()->update();
}

std::optional<long long> ProgrammeGrid::nowMinute() const
{
    return m_model ? m_model->minuteOf(m_clock.now()) : std::nullopt;
}

void ProgrammeGrid::scheduleClockTick()
{
    // Just after the next minute begins, so the line and the tint move with the clock.
    using namespace std::chrono;
    const auto now = m_clock.now();
    const auto next = floor<minutes>(now) + minutes(1);
    m_tick.start(static_cast<int>(duration_cast<milliseconds>(next - now).count()) + 50);
}

QRect ProgrammeGrid::boxRect(int row, int box) const
{
    if (!m_model || row < 0 || row >= m_model->rowCount() || box < 0
        || box >= static_cast<int>(m_model->row(row).size()))
        return {};
    const view::GridBox& b = m_model->row(row)[static_cast<std::size_t>(box)];
    const int left = xOf(static_cast<double>(b.start));
    const int right = std::max(left + 1, xOf(static_cast<double>(b.end)));
    return QRect(left, yOf(row), right - left, m_rowHeight);
}

QString ProgrammeGrid::showText(int row, int box) const
{
    if (boxRect(row, box).isNull())
        return {};
    const view::GridBox& b = m_model->row(row)[static_cast<std::size_t>(box)];
    const QString end = b.openEnded ? QStringLiteral("…") : clockText(b.end);
    return QStringLiteral("%1, %2–%3, %4")
        .arg(fromData(m_model->channel(row).name), clockText(b.start), end, fromData(m_model->title(row, b)));
}

ProgrammeGrid::Hit ProgrammeGrid::hitAt(const QPoint& pos) const
{
    Hit hit;
    if (!m_model || !timeArea().contains(pos))
        return hit;
    const int row = (pos.y() - m_headerHeight + verticalScrollBar()->value()) / m_rowHeight;
    if (row >= m_model->rowCount())
        return hit;
    hit.row = row;
    hit.minute = minuteAt(pos.x());
    hit.box = m_model->boxAt(row, static_cast<long long>(std::floor(hit.minute)));
    return hit;
}

void ProgrammeGrid::setCurrent(int row, int box)
{
    if (boxRect(row, box).isNull())
        row = box = -1;
    if (row == m_row && box == m_box) {
        if (row >= 0)
            ensureVisible(row, box);
        return;
    }
    m_row = row;
    m_box = box;
    if (row >= 0)
        ensureVisible(row, box);
    viewport()->update();
    announceCurrentShow(this);
    Q_EMIT currentChanged(row, box);
}

void ProgrammeGrid::ensureVisible(int row, int box)
{
    QScrollBar* v = verticalScrollBar();
    const QRect area = timeArea();
    const int top = row * m_rowHeight;
    if (top < v->value())
        v->setValue(top);
    else if (top + m_rowHeight > v->value() + area.height())
        v->setValue(top + m_rowHeight - area.height());

    // A box that fits is brought wholly into view; a wider one is left alone while a good part
    // of it shows (the show on the air at "now" stays where "now" is), else its start comes in.
    const QRect rect = boxRect(row, box);
    QScrollBar* h = horizontalScrollBar();
    if (rect.width() <= area.width()) {
        if (rect.left() < area.left())
            h->setValue(h->value() - (area.left() - rect.left()));
        else if (rect.right() > area.right())
            h->setValue(h->value() + (rect.right() - area.right()));
    } else if (rect.intersected(area).width() < area.width() / 3) {
        h->setValue(h->value() + (rect.left() - area.left()));
    }
}

void ProgrammeGrid::chooseAtMoment(int row)
{
    const int box = m_model->boxNear(row, static_cast<long long>(std::floor(m_moment)));
    setCurrent(row, box);
}

void ProgrammeGrid::moveAlong(int step)
{
    if (m_row < 0)
        return;
    const int box = m_box + step;
    if (box < 0 || box >= static_cast<int>(m_model->row(m_row).size()))
        return;
    const view::GridBox& b = m_model->row(m_row)[static_cast<std::size_t>(box)];
    setCurrent(m_row, box);
    // Up and down then keep the time of this show, or of what is in view of it.
    m_moment = std::clamp(leftMinute(), static_cast<double>(b.start),
                          static_cast<double>(std::max(b.start, b.end - 1)));
}

void ProgrammeGrid::moveVertically(int step, int rows)
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    if (m_row < 0) {
        // The keys start from the show on the air when "now" is in view, else from the left edge.
        const auto now = nowMinute();
        const bool nowInView = now && *now >= leftMinute() && *now < leftMinute() + m_minutesPerScreen;
        m_moment = nowInView ? static_cast<double>(*now) : leftMinute();
        const int first = m_model->rowWithShows(firstVisibleRow() - 1, 1);
        if (first >= 0)
            chooseAtMoment(first);
        return;
    }
    int target = m_row;
    if (rows > 1) {
        target = std::clamp(m_row + step * rows, 0, m_model->rowCount() - 1);
        if (m_model->row(target).empty()) {
            const int further = m_model->rowWithShows(target, step);
            target = further >= 0 ? further : m_model->rowWithShows(target, -step);
        }
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step * verticalScrollBar()->pageStep());
    } else {
        target = m_model->rowWithShows(m_row, step);
    }
    if (target >= 0 && target != m_row)
        chooseAtMoment(target);
}

void ProgrammeGrid::scrollToNow()
{
    const auto now = nowMinute();
    if (!now)
        return;
    m_moment = static_cast<double>(*now);
    updateScrollBars(m_moment - m_minutesPerScreen / 4.0, timeArea().left());
    if (m_row >= 0) {
        const int on = m_model->boxAt(m_row, *now);
        if (on >= 0)
            setCurrent(m_row, on);
    }
    viewport()->update();
}

void ProgrammeGrid::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveAlong(-1);
        break;
    case Qt::Key_Right:
        moveAlong(1);
        break;
    case Qt::Key_Up:
        moveVertically(-1, 1);
        break;
    case Qt::Key_Down:
        moveVertically(1, 1);
        break;
    case Qt::Key_PageUp:
        moveVertically(-1, std::max(1, timeArea().height() / m_rowHeight));
        break;
    case Qt::Key_PageDown:
        moveVertically(1, std::max(1, timeArea().height() / m_rowHeight));
        break;
    case Qt::Key_Home:
        scrollToNow();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        setMinutesPerScreen(static_cast<int>(std::lround(m_minutesPerScreen / kZoomStep)));
        break;
    case Qt::Key_Minus:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        setMinutesPerScreen(static_cast<int>(std::lround(m_minutesPerScreen * kZoomStep)));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_row >= 0)
            Q_EMIT activated(m_row, m_box);
        break;
    case Qt::Key_Insert:
        if (m_row >= 0)
            Q_EMIT addRequested(m_row, m_box);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ProgrammeGrid::mousePressEvent(QMouseEvent* event)
{
    const Hit hit = hitAt(event->position().toPoint());
    if (hit.box >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        m_moment = hit.minute;
        setCurrent(hit.row, hit.box);
    }
    event->accept();
}

void ProgrammeGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const Hit hit = hitAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && hit.box >= 0) {
        setCurrent(hit.row, hit.box);
        Q_EMIT activated(hit.row, hit.box);
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void ProgrammeGrid::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta != 0) {
            const double factor = std::pow(kZoomStep, -delta / 120.0);
            setMinutesPerScreen(static_cast<int>(std::lround(m_minutesPerScreen * factor)),
                                event->position().toPoint().x());
        }
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) || (angle.y() == 0 && angle.x() != 0)) {
        QScrollBar* h = horizontalScrollBar();
        h->setValue(h->value() - delta * 3 * h->singleStep() / 120);
        event->accept();
        return;
    }
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() - delta * 3 * v->singleStep() / 120);
    event->accept();
}

void ProgrammeGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // A mouse's menu comes through the viewport, at the pointer; the menu key's at the show.
    QPoint at = event->pos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        const QRect rect = boxRect(m_row, m_box).intersected(timeArea());
        at = rect.isEmpty() ? timeArea().topLeft() : rect.center();
    }
    showContextMenu(at);
    event->accept();
}

void ProgrammeGrid::showContextMenu(const QPoint& viewportPos)
{
    if (m_row < 0)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GridMenu"));
    QAction* add = nullptr;
    if (!m_addText.isEmpty()) {
        add = menu.addAction(m_addText);
        add->setShortcut(QKeySequence(Qt::Key_Insert));
    }
    const int row = m_row;
    const int box = m_box;
    Q_EMIT menuOpening(&menu, row, box);
    if (menu.isEmpty())
        return;
    QAction* chosen = menu.exec(viewport()->mapToGlobal(viewportPos));
    if (chosen && chosen == add)
        Q_EMIT addRequested(row, box);
}

void ProgrammeGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_row < 0 && event->reason() != Qt::PopupFocusReason)
        moveVertically(1, 1); // the keys start from a show in view
    // After the focus event of the grid itself, so that the show is what is heard last.
    QTimer::singleShot(0, this, [this] { announceCurrentShow(this); });
}

bool ProgrammeGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        showToolTip(help->pos(), help->globalPos());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ProgrammeGrid::showToolTip(const QPoint& viewportPos, const QPoint& globalPos)
{
    const Hit hit = hitAt(viewportPos);
    if (hit.box < 0) {
        QToolTip::hideText();
        return;
    }
    const view::GridBox& box = m_model->row(hit.row)[static_cast<std::size_t>(hit.box)];
    // Listing texts are shown as they are, never read as markup.
    const QString end = box.openEnded ? QStringLiteral("…") : clockText(box.end);
    QString html
        = QStringLiteral("<p style='white-space:pre'>%1–%2, %3<br><b>%4</b>")
              .arg(clockText(box.start), end, fromData(m_model->channel(hit.row).name).toHtmlEscaped(),
                   fromData(m_model->title(hit.row, box)).toHtmlEscaped());
    const auto lines = m_model->description(hit.row, box);
    for (std::size_t i = 0; i < lines.size() && i <= kToolTipLines; ++i)
        html += QStringLiteral("<br>")
            + (i == kToolTipLines ? QStringLiteral("…") : fromData(lines[i]).toHtmlEscaped());
    html += QStringLiteral("</p>");
    QToolTip::showText(globalPos, html, viewport(), boxRect(hit.row, hit.box));
}

} // namespace brevio

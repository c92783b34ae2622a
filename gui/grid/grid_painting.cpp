// The programme grid's painting: the rows and boxes in view, the hours, the channels, "now".
#include "core/view/grid_model.h"
#include "core/view/time_text.h"
#include "gui/grid/grid_style.h"
#include "gui/grid/programme_grid.h"

#include <QHash>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>

#include <algorithm>
#include <cmath>

namespace brevio {

using grid::clockText;
using grid::kPad;

namespace {

const QColor kNowColour(214, 40, 40);
const QColor kListedColour(224, 120, 0);
const QColor kAiringColour(255, 214, 90);
constexpr int kListedMark = 4;
constexpr int kReminderCorner = 10;
const QColor kReminderColour(40, 110, 210);
constexpr int kMaxCachedBoxes = 20000;
constexpr int kWidthStep = 8;
constexpr int kMinTextWidth = 16; // narrower boxes would show a lone "…"

QColor mixed(const QColor& a, const QColor& b, double share)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                            static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                            static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

QStaticText staticText(const QString& text)
{
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    return laidOut;
}

} // namespace

// A box's two lines laid out once: laying text out costs more than drawing it, and most boxes
// in view were in view in the frame before. A line is laid out again only when it must be cut
// to a new width, or may be whole again.
struct ProgrammeGrid::TextCache
{
    class Line
    {
    public:
        explicit Line(const QString& text)
            : m_text(text)
            , m_shown(staticText(text))
            , m_natural(static_cast<int>(std::ceil(m_shown.size().width())))
        {
        }
        // The line cut to `width`, in steps, so that a box sliding out of view at the left is
        // not laid out again in every frame of a scroll.
        const QStaticText& fitted(int width, const QFontMetrics& metrics)
        {
            width -= width % kWidthStep;
            if (width == m_width)
                return m_shown;
            const bool wasCut = m_width >= 0 && m_width < m_natural;
            m_width = width;
            if (width < m_natural)
                m_shown = staticText(metrics.elidedText(m_text, Qt::ElideRight, width));
            else if (wasCut)
                m_shown = staticText(m_text);
            return m_shown;
        }

    private:
        QString m_text;
        QStaticText m_shown;
        int m_natural = 0;
        int m_width = -1;
    };
    struct Lines
    {
        Line title;
        Line times;
    };
    QHash<quint64, Lines> boxes;
};

void ProgrammeGrid::DropCache::operator()(TextCache* cache) const
{
    delete cache;
}

void ProgrammeGrid::dropTexts()
{
    m_texts.reset();
}

void ProgrammeGrid::paintEvent(QPaintEvent*)
{
    if (!m_texts || m_texts->boxes.size() > kMaxCachedBoxes)
        m_texts.reset(new TextCache);
    QPainter p(viewport());
    const QRect area = timeArea();
    const auto now = nowMinute();
    const QColor empty = palette().color(QPalette::Window);
    int paintedTo = area.top();
    if (m_model) {
        p.save();
        p.setClipRect(area);
        const long long from = static_cast<long long>(std::floor(leftMinute()));
        const long long to = static_cast<long long>(std::ceil(minuteAt(area.right() + 1)));
        const int lastRow
            = std::min(m_model->rowCount(), (verticalScrollBar()->value() + area.height()) / m_rowHeight + 1);
        for (int r = firstVisibleRow(); r < lastRow; ++r)
            paintRow(p, r, area, from, to, now);
        paintedTo = lastRow > 0 ? yOf(lastRow) : area.top();
        if (now && *now >= m_model->firstMinute() && *now <= m_model->lastMinute())
            p.fillRect(QRect(xOf(static_cast<double>(*now)) - 1, area.top(), 2, area.height()), kNowColour);
        p.restore();
    }
    if (paintedTo <= area.bottom())
        p.fillRect(QRect(area.left(), paintedTo, area.width(), area.bottom() - paintedTo + 1), empty);
    paintHours(p, now);
    paintChannels(p);
    p.fillRect(QRect(0, 0, m_columnWidth, m_headerHeight), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(m_columnWidth - 1, 0, m_columnWidth - 1, viewport()->height());
    p.drawLine(0, m_headerHeight - 1, viewport()->width(), m_headerHeight - 1);
}

void ProgrammeGrid::paintRow(QPainter& p, int row, const QRect& area, long long from, long long to,
                             std::optional<long long> now)
{
    // Each pixel once: the time without shows in the window's colour, the boxes over the rest.
    const int y = yOf(row);
    const QColor empty = palette().color(QPalette::Window);
    const auto boxes = m_model->row(row);
    const auto [first, last] = m_model->boxesIn(row, from, to);
    const int airing = now ? m_model->boxAt(row, *now) : -1;
    int x = area.left();
    for (int i = first; i < last; ++i) {
        const QRect rect = boxRect(row, i);
        if (rect.left() > x)
            p.fillRect(QRect(x, y, rect.left() - x, m_rowHeight), empty);
        paintBox(p, row, i, boxes[static_cast<std::size_t>(i)], rect, i == airing);
        x = std::max(x, rect.right() + 1);
    }
    if (x <= area.right())
        p.fillRect(QRect(x, y, area.right() - x + 1, m_rowHeight), empty);
}

void ProgrammeGrid::paintBox(QPainter& p, int row, int index, const view::GridBox& box, const QRect& rect,
                             bool airing)
{
    const bool current = row == m_row && index == m_box;
    const QPalette& pal = palette();
    QColor fill = pal.color(row % 2 ? QPalette::AlternateBase : QPalette::Base);
    if (airing)
        fill = mixed(fill, kAiringColour, 0.45);
    if (current)
        fill = pal.color(QPalette::Highlight);
    p.fillRect(rect, fill);
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(inner.bottomLeft(), inner.bottomRight());
    p.drawLine(inner.topLeft(), inner.bottomLeft());
    if (box.openEnded) // no known end: the box stops at a broken edge
        p.setPen(QPen(pal.color(QPalette::Mid), 1, Qt::DotLine));
    p.drawLine(inner.topRight(), inner.bottomRight());
    if (box.listed)
        p.fillRect(QRect(inner.left() + 1, inner.top(), kListedMark, inner.height()), kListedColour);
    if (box.reminded) { // a corner folded down, as on a page to come back to
        const int side = std::min({kReminderCorner, inner.width() / 2, inner.height() / 2});
        const QPoint corner = inner.topRight();
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(kReminderColour);
        p.drawPolygon(QPolygon({corner, corner - QPoint(side, 0), corner + QPoint(0, side)}));
        p.restore();
    }

    // The text starts where the box comes into view, so a show begun earlier still says what it is.
    const int textLeft = std::max(inner.left(), timeArea().left()) + kPad + (box.listed ? kListedMark : 0);
    const int width = inner.right() - kPad - textLeft;
    if (width < kMinTextWidth)
        return;
    const quint64 key = (quint64(quint32(row)) << 32) | quint32(index);
    auto lines = m_texts->boxes.find(key);
    if (lines == m_texts->boxes.end()) {
        const QString times = clockText(box.start) + QStringLiteral("–")
            + (box.openEnded ? QStringLiteral("…") : clockText(box.end));
        lines = m_texts->boxes.insert(
            key, {TextCache::Line(fromData(m_model->title(row, box))), TextCache::Line(times)});
    }
    const QFontMetrics metrics(font());
    const int lineHeight = (m_rowHeight - 2 * kPad) / 2;
    p.setPen(pal.color(current ? QPalette::HighlightedText : QPalette::Text));
    p.drawStaticText(textLeft, inner.top() + kPad, lines->title.fitted(width, metrics));
    if (!current)
        p.setPen(pal.color(QPalette::PlaceholderText));
    p.drawStaticText(textLeft, inner.top() + kPad + lineHeight, lines->times.fitted(width, metrics));
}

void ProgrammeGrid::paintHours(QPainter& p, std::optional<long long> now)
{
    const QRect header(m_columnWidth, 0, viewport()->width() - m_columnWidth, m_headerHeight);
    p.fillRect(header, palette().color(QPalette::Button));
    if (!m_model)
        return;
    p.save();
    p.setClipRect(header);
    const QFontMetrics metrics(font());
    // Labels as often as they fit with room between: every quarter of an hour when zoomed in, up
    // to every 3 hours.
    const int labelWidth = 2 * metrics.horizontalAdvance(QStringLiteral("00:00")) + 2 * kPad;
    int step = 15;
    for (const int minutes : {15, 30, 60, 120, 180}) {
        step = minutes;
        if (minutes * pixelsPerMinute() >= labelWidth)
            break;
    }
    const long long first = static_cast<long long>(std::floor(leftMinute() / step)) * step;
    const long long last = static_cast<long long>(std::ceil(minuteAt(header.right()))) + step;
    for (long long minute = first; minute <= last; minute += step) {
        const int x = xOf(static_cast<double>(minute));
        const bool midnight = minute % view::kMinutesPerDay == 0;
        p.setPen(palette().color(midnight ? QPalette::ButtonText : QPalette::Mid));
        // The day's turn at midnight reaches across the header.
        p.drawLine(x, midnight ? 0 : header.bottom() - 2 * kPad, x, header.bottom());
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(x + kPad, kPad + metrics.ascent(), clockText(minute));
    }
    if (now && *now >= m_model->firstMinute() && *now <= m_model->lastMinute()) {
        const int x = xOf(static_cast<double>(*now));
        p.setPen(Qt::NoPen);
        p.setBrush(kNowColour);
        p.drawPolygon(QPolygon({QPoint(x - 5, header.bottom() - 6), QPoint(x + 5, header.bottom() - 6),
                                QPoint(x, header.bottom())}));
    }
    p.restore();
}

void ProgrammeGrid::paintChannels(QPainter& p)
{
    const QRect column(0, m_headerHeight, m_columnWidth, viewport()->height() - m_headerHeight);
    p.fillRect(column, palette().color(QPalette::Window));
    if (!m_model)
        return;
    p.save();
    p.setClipRect(column);
    const QFontMetrics metrics(font());
    const int lastRow
        = std::min(m_model->rowCount(), (verticalScrollBar()->value() + column.height()) / m_rowHeight + 1);
    for (int r = firstVisibleRow(); r < lastRow; ++r) {
        const QRect cell(0, yOf(r), m_columnWidth - 1, m_rowHeight);
        if (r == m_row)
            p.fillRect(cell,
                       mixed(palette().color(QPalette::Window), palette().color(QPalette::Highlight), 0.25));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(cell.bottomLeft(), cell.bottomRight());
        p.setPen(palette().color(QPalette::WindowText));
        const QString name
            = metrics.elidedText(fromData(m_model->channel(r).name), Qt::ElideRight, cell.width() - 2 * kPad);
        p.drawText(kPad, cell.top() + (m_rowHeight - metrics.height()) / 2 + metrics.ascent(), name);
    }
    p.restore();
}

} // namespace brevio

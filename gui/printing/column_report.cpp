#include "gui/printing/column_report.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

#include <malloc.h>

namespace brevio {

namespace {

// Header band and its parts, millimetres from the top of the area inside the margins.
constexpr double kHeaderBand = 7.14;
constexpr double kHeaderTextHeight = 5.29;
constexpr double kRuleY = 4.23 + 2.38 / 2;
constexpr double kRuleWidth = 0.2;

QFont headerFont(bool bold)
{
    QFont font(QStringLiteral("Arial"), 10);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

// The PDF writer builds every page in a buffer of a few hundred kilobytes and frees it when the
// page is done. With the allocator's defaults each page then hands its memory back to the
// system and faults it in again, which costs a print of a thousand pages about a fifth of its
// time. While the report is painted, freed memory stays with the process; afterwards it is
// given back at once.
class KeepFreedMemory
{
public:
    KeepFreedMemory()
    {
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_TOP_PAD, 16 << 20);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
    }
    ~KeepFreedMemory()
    {
        // The allocator's defaults (a fixed mmap threshold from now on, which only matters for
        // how blocks of more than 128 KB are placed).
        mallopt(M_MMAP_THRESHOLD, 128 << 10);
        mallopt(M_TOP_PAD, 128 << 10);
        mallopt(M_TRIM_THRESHOLD, 128 << 10);
        malloc_trim(0);
    }
    KeepFreedMemory(const KeepFreedMemory&) = delete;
    KeepFreedMemory& operator=(const KeepFreedMemory&) = delete;
};

} // namespace

QString ColumnReport::headerText(const QString& homePage)
{
    return QStringLiteral("Brevio - все телепрограммы бесплатно (%1)").arg(homePage);
}

void ColumnReport::applyPageSetup(QPagedPaintDevice& device) const
{
    const QMarginsF margins(m_layout.left, m_layout.top, m_layout.right, m_layout.bottom);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                     QPageLayout::Millimeter, QMarginsF()));
}

void ColumnReport::paintHeader(QPainter& painter, double width, double mm, int page) const
{
    const QRectF band(0, 0, width, kHeaderTextHeight * mm);
    painter.setFont(headerFont(true));
    painter.drawText(band, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_headerText);
    painter.setFont(headerFont(false));
    painter.drawText(band, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, QString::number(page));
    painter.setPen(QPen(Qt::black, kRuleWidth * mm));
    painter.drawLine(QPointF(0, kRuleY * mm), QPointF(width, kRuleY * mm));
}

int ColumnReport::render(QPagedPaintDevice& device) const
{
    const KeepFreedMemory keep;
    QPainter painter(&device);
    if (!painter.isActive())
        return 0;
    // The painter's origin is the top left corner inside the margins; lengths in device pixels.
    const double mm = device.logicalDpiY() / 25.4;
    const double width = device.width();
    const double bottom = device.height();
    const double top = kHeaderBand * mm;

    // The gaps never take more than half the width, so every column keeps room for text.
    const int columns = std::max(1, m_layout.columns);
    const double gap = columns > 1 ? std::min(m_layout.columnGap * mm, width / 2 / (columns - 1)) : 0.0;
    const double columnWidth = (width - gap * (columns - 1)) / columns;

    const QFont font(m_textFont, &device);
    const double pitch = QFontMetricsF(font).lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    int page = 1;
    int column = 0;
    double y = top;
    paintHeader(painter, width, mm, page);
    painter.setFont(font);
    painter.setPen(Qt::black);
    auto nextLine = [&] {
        // A column always takes at least one line, so a tiny page cannot stall the flow.
        if (y + pitch <= bottom || y == top)
            return;
        y = top;
        if (++column < columns)
            return;
        column = 0;
        device.newPage();
        paintHeader(painter, width, mm, ++page);
        painter.setPen(Qt::black);
    };

    for (const QString& text : m_lines) {
        if (text.isEmpty()) {
            nextLine();
            y += pitch;
            continue;
        }
        QTextLayout layout(text, font, &device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(columnWidth);
            line.setPosition(QPointF());
        }
        layout.endLayout();
        // A long line wraps within its column and may go on in the next one.
        for (int i = 0; i < layout.lineCount(); ++i) {
            nextLine();
            layout.lineAt(i).draw(&painter, QPointF(column * (columnWidth + gap), y));
            y += pitch;
        }
    }
    return page;
}

} // namespace brevio

#include "gui/extras/credits_panel.h"

#include <QPainter>

namespace brevio {

CreditsPanel::CreditsPanel(const QStringList& lines, QWidget* parent)
    : QWidget(parent)
    , m_lines(lines)
{
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, &CreditsPanel::step);
    setAutoFillBackground(true);
}

int CreditsPanel::lineHeight() const
{
    return fontMetrics().height();
}

void CreditsPanel::step()
{
    --m_offset;
    // The whole text has scrolled out of the top: enter again at the bottom.
    if (m_offset + lineHeight() * m_lines.size() < 0)
        m_offset = height();
    update();
}

void CreditsPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int h = lineHeight();
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect line(0, m_offset + i * h, width(), h);
        if (line.intersects(rect()))
            painter.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, m_lines[i]);
    }
}

void CreditsPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_offset = height();
    m_timer.start();
}

void CreditsPanel::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

} // namespace brevio

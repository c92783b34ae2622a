#include "gui/widgets/anchors.h"

#include <QEvent>
#include <QWidget>

namespace brevio {

Anchors::Anchors(QWidget* container, QSize designSize)
    : QObject(container)
    , m_container(container)
    , m_design(designSize)
{
    setObjectName(QStringLiteral("anchors"));
    container->installEventFilter(this);
}

Anchors* Anchors::of(QWidget* container)
{
    for (QObject* child : container->children()) {
        if (auto* anchors = qobject_cast<Anchors*>(child))
            return anchors;
    }
    return nullptr;
}

void Anchors::place(QWidget* control, QRect designRect, unsigned anchors)
{
    m_entries.push_back({control, designRect, anchors});
    control->setGeometry(geometryFor(m_entries.back()));
}

void Anchors::replace(QWidget* control, QRect designRect)
{
    for (auto& entry : m_entries) {
        if (entry.control == control) {
            entry.design = designRect;
            control->setGeometry(geometryFor(entry));
            return;
        }
    }
    place(control, designRect);
}

QRect Anchors::geometryFor(const Entry& entry) const
{
    const int dx = m_container->width() - m_design.width();
    const int dy = m_container->height() - m_design.height();
    QRect r = entry.design;
    if (entry.anchors & AnchorRight) {
        if (entry.anchors & AnchorLeft)
            r.setWidth(std::max(0, r.width() + dx));
        else
            r.moveLeft(r.left() + dx);
    }
    if (entry.anchors & AnchorBottom) {
        if (entry.anchors & AnchorTop)
            r.setHeight(std::max(0, r.height() + dy));
        else
            r.moveTop(r.top() + dy);
    }
    return r;
}

void Anchors::apply()
{
    for (const auto& entry : m_entries)
        entry.control->setGeometry(geometryFor(entry));
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_container && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace brevio

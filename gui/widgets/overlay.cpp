#include "gui/widgets/overlay.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace brevio {

Overlay::Overlay(QWidget* panel)
    : QObject(panel)
    , m_panel(panel)
{
    panel->installEventFilter(this);
}

bool Overlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel) {
        if (event->type() == QEvent::Show)
            cover();
        else if (event->type() == QEvent::Hide)
            uncover();
    }
    return false;
}

void Overlay::cover()
{
    QWidget* page = m_panel->parentWidget();
    if (!page || !m_covered.isEmpty())
        return;
    m_focusBefore = QApplication::focusWidget();
    for (QObject* child : page->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget != m_panel && !widget->isHidden()
            && widget->geometry().intersects(m_panel->geometry())) {
            m_covered.append(widget);
            widget->hide();
        }
    }
    // The panel's first control that Tab reaches takes the focus.
    for (QWidget* inside : m_panel->findChildren<QWidget*>()) {
        if ((inside->focusPolicy() & Qt::TabFocus) && inside->isEnabled() && !inside->isHidden()) {
            inside->setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void Overlay::uncover()
{
    for (const QPointer<QWidget>& widget : std::as_const(m_covered)) {
        if (widget)
            widget->show();
    }
    m_covered.clear();
    if (m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    m_focusBefore.clear();
}

} // namespace brevio

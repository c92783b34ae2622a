#include "gui/viewing/pane_clicks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextEdit>

namespace brevio::view {

PaneClicks::PaneClicks(QTextEdit* pane, Handler handler, std::function<void()> menu)
    : QObject(pane)
    , m_handler(std::move(handler))
    , m_menu(std::move(menu))
{
    pane->setContextMenuPolicy(Qt::NoContextMenu);
    pane->viewport()->installEventFilter(this);
    pane->installEventFilter(this);
}

bool PaneClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (m_delivering)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        const bool menuKey = key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey && m_menu) {
            m_menu();
            return true;
        }
        if (key->key() == Qt::Key_Space) {
            m_handler(Qt::LeftButton);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Menu) {
            m_handler(Qt::RightButton);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* press = static_cast<QMouseEvent*>(event);
        const auto button = press->button();
        if (button == Qt::LeftButton) {
            m_pressAt = press->position().toPoint();
            return false; // the pane places the caret; the click is reported on release
        }
        event->accept();
        m_handler(button);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton)
            return true;
        const bool dragged = (release->position().toPoint() - m_pressAt).manhattanLength()
            >= QApplication::startDragDistance();
        // Let the pane finish the click first: a click inside a highlight only moves the caret
        // on release.
        m_delivering = true;
        QApplication::sendEvent(watched, event);
        m_delivering = false;
        if (!dragged)
            m_handler(Qt::LeftButton);
        return true;
    }
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace brevio::view

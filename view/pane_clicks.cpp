#include "view/pane_clicks.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTextEdit>

namespace brevio::view {

PaneClicks::PaneClicks(QTextEdit* pane, Handler handler)
    : QObject(pane)
    , m_handler(std::move(handler))
{
    pane->setContextMenuPolicy(Qt::NoContextMenu);
    pane->viewport()->installEventFilter(this);
}

bool PaneClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (m_delivering)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton)
            return false; // the pane places the caret; the click is reported on release
        event->accept();
        m_handler(button);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return true;
        // Let the pane finish the click first: a click inside a highlight only moves the caret
        // on release.
        m_delivering = true;
        QCoreApplication::sendEvent(watched, event);
        m_delivering = false;
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

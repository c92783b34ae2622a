#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QTextEdit;

namespace brevio::view {

// Reports mouse clicks in a text pane the way the viewing page wants them: a left click after
// the pane has moved its caret to the clicked point (so the caret names the clicked line), any
// other button at once, leaving caret and highlight where they were. A left-button drag is no
// click: it leaves the highlight the user dragged. The mouse opens no context menu: the right
// button picks shows. From the keyboard, at the caret: Space is the left button, Enter the right
// one; the menu key and Shift+F10 open the pane's menu where it has one, else they are the right
// button too.
class PaneClicks : public QObject
{
public:
    using Handler = std::function<void(Qt::MouseButton)>;

    // Watches `pane` (it becomes the parent).
    PaneClicks(QTextEdit* pane, Handler handler, std::function<void()> menu = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
    std::function<void()> m_menu;
    bool m_delivering = false;
    QPoint m_pressAt; // where the left button went down, in viewport coordinates
};

} // namespace brevio::view

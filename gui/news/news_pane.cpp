#include "gui/news/news_pane.h"

#include "core/news/web_address.h"
#include "gui/widgets/qt_text.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace brevio {

void showNewsLines(QTextEdit* pane, const std::vector<std::string>& lines)
{
    QTextDocument* document = pane->document();
    document->clear();
    QTextCursor cursor(document);
    const QTextCharFormat plain;
    QTextCharFormat link;
    link.setAnchor(true);
    link.setFontUnderline(true);
    link.setForeground(pane->palette().link());
    cursor.beginEditBlock();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        const std::string& line = lines[i];
        std::size_t done = 0;
        for (const news::AddressSpan& span : news::findAddresses(line)) {
            cursor.insertText(fromData(std::string_view(line).substr(done, span.start - done)), plain);
            const QString address = fromData(std::string_view(line).substr(span.start, span.length));
            link.setAnchorHref(address);
            cursor.insertText(address, link);
            done = span.start + span.length;
        }
        cursor.insertText(fromData(std::string_view(line).substr(done)), plain);
    }
    cursor.endEditBlock();
    pane->moveCursor(QTextCursor::Start);
}

std::vector<std::string> newsPaneLines(const QTextEdit* pane)
{
    std::vector<std::string> lines;
    const QTextDocument* document = pane->document();
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(toData(block.text()));
    return lines;
}

LinkClicks::LinkClicks(QTextEdit* pane, std::function<void(const QString&)> clicked)
    : QObject(pane)
    , m_pane(pane)
    , m_clicked(std::move(clicked))
{
    pane->viewport()->installEventFilter(this);
    pane->viewport()->setMouseTracking(true);
    pane->installEventFilter(this);
}

bool LinkClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pane && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        // The character before the caret, or the one after it at a link's start.
        QTextCursor cursor = m_pane->textCursor();
        cursor.clearSelection();
        QString link = cursor.charFormat().anchorHref();
        if (link.isEmpty() && cursor.movePosition(QTextCursor::NextCharacter))
            link = cursor.charFormat().anchorHref();
        if (link.isEmpty())
            return false;
        m_clicked(link);
        return true;
    }
    if (watched != m_pane->viewport())
        return false;
    if (event->type() == QEvent::MouseMove) {
        const QString link = m_pane->anchorAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_pane->viewport()->setCursor(link.isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
    } else if (event->type() == QEvent::ContextMenu) {
        // A right press on a link is the first half of a click, not a call for the pane's menu
        // (whose modal loop would swallow the release).
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        return menu->reason() == QContextMenuEvent::Mouse && !m_pane->anchorAt(menu->pos()).isEmpty();
    } else if (event->type() == QEvent::MouseButtonPress) {
        m_pressedLink = m_pane->anchorAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const QString link = m_pane->anchorAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        const bool sameLink = !link.isEmpty() && link == m_pressedLink;
        m_pressedLink.clear();
        if (sameLink)
            m_clicked(link);
    }
    return false;
}

} // namespace brevio

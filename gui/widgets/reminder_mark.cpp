#include "gui/widgets/reminder_mark.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace brevio {

namespace {

void mergeBackground(QTextCursor cursor, const QBrush& brush)
{
    QTextCharFormat format;
    format.setBackground(brush);
    cursor.mergeCharFormat(format);
}

} // namespace

QBrush reminderMarkBrush()
{
    return QBrush(QColor(255, 226, 140));
}

void markReminderLine(QTextEdit* pane, int line)
{
    const QTextBlock block = pane->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mergeBackground(cursor, reminderMarkBrush());
}

void clearReminderMarks(QTextEdit* pane)
{
    QTextCursor cursor(pane->document());
    cursor.select(QTextCursor::Document);
    mergeBackground(cursor, Qt::NoBrush);
}

} // namespace brevio

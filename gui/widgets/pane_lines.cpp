#include "gui/widgets/pane_lines.h"

#include "gui/widgets/qt_text.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace brevio::view {

std::vector<std::string> linesOf(const QTextEdit* pane)
{
    const QTextDocument* document = pane->document();
    std::vector<std::string> lines;
    if (document->isEmpty())
        return lines;
    lines.reserve(static_cast<std::size_t>(document->blockCount()));
    // Block texts keep no-break spaces that the plain-text export would turn into blanks.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(toData(block.text()));
    return lines;
}

void showLines(QTextEdit* pane, const std::vector<std::string>& lines)
{
    pane->setPlainText(fromData(shownPaneText(lines)));
}

void clearToPlain(QTextEdit* pane)
{
    pane->clear();
    // A plain text set later takes the format at the caret, which may be a bold or a reminder
    // mark.
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setBackground(Qt::NoBrush);
    pane->mergeCurrentCharFormat(plain);
}

Selection selectionOf(const QTextEdit* pane)
{
    const QTextCursor cursor = pane->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void select(QTextEdit* pane, Selection selection)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(selection.start);
    cursor.setPosition(selection.start + selection.length, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
}

void markSelectionBold(QTextEdit* pane)
{
    QTextCursor cursor = pane->textCursor();
    if (!cursor.hasSelection())
        return;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
}

} // namespace brevio::view

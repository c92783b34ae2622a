#pragma once

#include <QBrush>

class QTextEdit;

// How a show with a reminder is marked, alike in the panes, the search results and the grid: a
// background under its text, never a character more (a pane position is a byte position).
namespace brevio {

QBrush reminderMarkBrush();

// Marks line `line` of `pane` (nothing when the pane has no such line).
void markReminderLine(QTextEdit* pane, int line);
// Takes every reminder mark off `pane`; other formatting (the bold of selected shows) stays.
void clearReminderMarks(QTextEdit* pane);

} // namespace brevio

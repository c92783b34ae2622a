#pragma once

#include "core/view/pane_text.h"

#include <string>
#include <vector>

class QTextEdit;

// A text pane of the viewing page seen as lines of windows-1251 bytes. Every byte shows as one
// character and every line break is one position, so the pane's cursor positions are the
// positions the viewing core works with.
namespace brevio::view {

// The pane's lines (an empty pane holds none).
std::vector<std::string> linesOf(const QTextEdit* pane);

// Replaces the pane's text with `lines` in one go; the text takes the pane's current format.
// Over-long lines and texts are cut as shownPaneText says.
void showLines(QTextEdit* pane, const std::vector<std::string>& lines);

// Empties the pane and makes sure what is added next is neither bold nor marked.
void clearToPlain(QTextEdit* pane);

// The pane's highlight: its start (the caret when nothing is highlighted) and length.
Selection selectionOf(const QTextEdit* pane);
void select(QTextEdit* pane, Selection selection);

// Makes the highlighted text bold.
void markSelectionBold(QTextEdit* pane);

} // namespace brevio::view

#pragma once

class QAbstractItemView;
class QListWidget;
class QListWidgetItem;

namespace brevio {

// The item a list shows as selected, or null. Handlers act on it rather than on the current
// item: an assistive tool, the keyboard or code can select an item without making it current.
QListWidgetItem* selectedItem(const QListWidget* list);
// Its row, -1 when nothing is selected.
int selectedRow(const QListWidget* list);

// Lets `view` show a long line at the cost of its first few hundred characters: an item's text
// stays whole (handlers read and write it), only what is measured and painted is cut.
void showShortTexts(QAbstractItemView* view);

} // namespace brevio

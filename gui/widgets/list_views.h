#pragma once

#include <QComboBox>

class QAbstractItemView;
class QListWidget;
class QListWidgetItem;

namespace brevio {

// The item a list shows as selected, or null. Handlers act on it rather than on the current
// item: an assistive tool, the keyboard or code can select an item without making it current.
QListWidgetItem* selectedItem(const QListWidget* list);
// Its row, -1 when nothing is selected.
int selectedRow(const QListWidget* list);

// What a list shows of a line: the line, or its first few hundred characters and an ellipsis.
QString shownText(const QString& line);

// Lets `view` show a long line at the cost of its first few hundred characters: an item's text
// stays whole (handlers read and write it), only what is measured and painted is cut.
void showShortTexts(QAbstractItemView* view);

// A drop-down list whose lines show cut, in the box and in the list (showShortTexts), and whose
// list opens as wide as its widest line so cut and the screen allow. Measured whole, a line of
// megabytes held the opening for a good part of a second.
class ShortTextComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ShortTextComboBox(QWidget* parent = nullptr);

    void showPopup() override;

protected:
    void initStyleOption(QStyleOptionComboBox* option) const override;
};

} // namespace brevio

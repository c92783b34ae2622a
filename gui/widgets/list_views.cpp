#include "gui/widgets/list_views.h"

#include <QListWidget>
#include <QStyledItemDelegate>

namespace brevio {

namespace {

// More than any list of the window is wide; a line past it is no week or channel anyway.
constexpr qsizetype kShownCharacters = 400;

// Text layout of a line of megabytes takes seconds per paint; a cut line takes no time.
class ShortTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->text.size() > kShownCharacters) {
            option->text.truncate(kShownCharacters);
            option->text += QChar(0x2026); // an ellipsis: the line goes on
        }
    }
};

} // namespace

QListWidgetItem* selectedItem(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int selectedRow(const QListWidget* list)
{
    const QListWidgetItem* item = selectedItem(list);
    return item ? list->row(item) : -1;
}

void showShortTexts(QAbstractItemView* view)
{
    view->setItemDelegate(new ShortTextDelegate(view));
}

} // namespace brevio

#include "gui/widgets/list_views.h"

#include <QLayout>
#include <QListWidget>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

#include <algorithm>

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
        option->text = shownText(option->text);
    }
};

// Drop-down lists open as a list under the box, whose width the box sets: as a menu over the
// box, the style would measure every line whole first.
class ListPopupStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QString shownText(const QString& line)
{
    if (line.size() <= kShownCharacters)
        return line;
    return line.left(kShownCharacters) + QChar(0x2026); // an ellipsis: the line goes on
}

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

ShortTextComboBox::ShortTextComboBox(QWidget* parent)
    : QComboBox(parent)
{
    auto* style = new ListPopupStyle;
    style->setParent(this);
    setStyle(style);
    // The size it asks for does not depend on its lines either.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    showShortTexts(view());
    // A cut line reads from its beginning, as in the lists.
    view()->setTextElideMode(Qt::ElideRight);
}

void ShortTextComboBox::showPopup()
{
    // The widest line as the list lays it out (cut), its frame and a scroll bar, as far as the
    // screen allows.
    const int wanted = view()->sizeHintForColumn(0) + 2 * view()->frameWidth()
        + view()->verticalScrollBar()->sizeHint().width();
    const QWidget* popup = view()->parentWidget();
    QMargins around = popup->contentsMargins();
    if (popup->layout())
        around += popup->layout()->contentsMargins();
    const int room = screen()->availableGeometry().width() - around.left() - around.right();
    view()->setMinimumWidth(std::min(wanted, room));
    QComboBox::showPopup();
}

void ShortTextComboBox::initStyleOption(QStyleOptionComboBox* option) const
{
    QComboBox::initStyleOption(option);
    option->currentText = shownText(option->currentText);
}

} // namespace brevio

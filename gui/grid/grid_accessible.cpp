#include "gui/grid/grid_accessible.h"

#include "gui/grid/programme_grid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <QWindow>

namespace brevio {

namespace {

// The chosen show, as it was when the interface was made: each choice is a new item, so a
// screen reader speaks it afresh.
class ShowItem : public QAccessibleInterface
{
public:
    ShowItem(ProgrammeGrid* grid, int row, int box)
        : m_grid(grid)
        , m_model(grid->model())
        , m_row(row)
        , m_box(box)
    {
    }

    bool isValid() const override
    {
        return m_grid && m_grid->model() == m_model && !m_grid->showText(m_row, m_box).isEmpty();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_grid->showText(m_row, m_box) : QString();
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect box = m_grid->boxRect(m_row, m_box).intersected(m_grid->timeArea());
        return QRect(m_grid->viewport()->mapToGlobal(box.topLeft()), box.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        const bool chosen = isValid() && m_grid->currentRow() == m_row && m_grid->currentBox() == m_box;
        state.selected = chosen;
        state.focused = chosen && m_grid->hasFocus();
        state.invalid = !isValid();
        return state;
    }

    bool isFor(const ProgrammeGrid* grid) const
    {
        return grid->model() == m_model && grid->currentRow() == m_row && grid->currentBox() == m_box;
    }

private:
    QPointer<ProgrammeGrid> m_grid;
    const void* m_model;
    int m_row;
    int m_box;
};

// The grid: its scroll bars as Qt shows them, then the chosen show.
class GridInterface : public QAccessibleWidget
{
public:
    explicit GridInterface(ProgrammeGrid* grid)
        : QAccessibleWidget(grid, QAccessible::List)
    {
    }
    ~GridInterface() override { dropItem(); }

    int childCount() const override
    {
        return QAccessibleWidget::childCount() + (grid()->currentRow() >= 0 ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override
    {
        const int own = QAccessibleWidget::childCount();
        return index < own ? QAccessibleWidget::child(index) : (index == own ? item() : nullptr);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child && child == m_item)
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* focusChild() const override
    {
        return grid()->hasFocus() && grid()->currentRow() >= 0 ? item() : nullptr;
    }

    // The item of the chosen show; null without one.
    ShowItem* item() const
    {
        if (grid()->currentRow() < 0)
            return nullptr;
        if (!m_item || !m_item->isFor(grid())) {
            dropItem();
            m_item = new ShowItem(grid(), grid()->currentRow(), grid()->currentBox());
            m_itemId = QAccessible::registerAccessibleInterface(m_item);
        }
        return m_item;
    }

private:
    ProgrammeGrid* grid() const { return static_cast<ProgrammeGrid*>(widget()); }
    void dropItem() const
    {
        if (m_item)
            QAccessible::deleteAccessibleInterface(m_itemId);
        m_item = nullptr;
    }

    mutable ShowItem* m_item = nullptr;
    mutable QAccessible::Id m_itemId = 0;
};

QAccessibleInterface* gridInterface(const QString&, QObject* object)
{
    if (auto* grid = qobject_cast<ProgrammeGrid*>(object))
        return new GridInterface(grid);
    return nullptr;
}

} // namespace

void installGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridInterface);
        return true;
    }();
    (void)installed;
}

void announceCurrentShow(ProgrammeGrid* grid)
{
    if (!QAccessible::isActive() || !grid->hasFocus() || grid->currentRow() < 0)
        return;
    auto* iface = dynamic_cast<GridInterface*>(QAccessible::queryAccessibleInterface(grid));
    if (!iface || !iface->item())
        return;
    QAccessibleEvent focus(grid, QAccessible::Focus);
    focus.setChild(iface->indexOfChild(iface->item()));
    QAccessible::updateAccessibility(&focus);
}

} // namespace brevio

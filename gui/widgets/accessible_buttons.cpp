#include "gui/widgets/accessible_buttons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QToolButton>

namespace brevio {

namespace {

class FlatButtonInterface : public QAccessibleWidget
{
public:
    explicit FlatButtonInterface(QToolButton* button)
        : QAccessibleWidget(button, button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const QToolButton* b = button();
        state.checkable = b->isCheckable();
        state.checked = b->isChecked();
        state.pressed = b->isDown();
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? button()->text() : text;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* flatButtons(const QString& className, QObject* object)
{
    // Only plain tool buttons: those of tool bars, line edits and the like keep Qt's interface.
    if (className != QLatin1String("QToolButton") || !object || !object->isWidgetType()
        || object->metaObject() != &QToolButton::staticMetaObject)
        return nullptr;
    return new FlatButtonInterface(static_cast<QToolButton*>(object));
}

} // namespace

void installAccessibleButtons()
{
    static const bool installed = [] {
        QAccessible::installFactory(flatButtons);
        return true;
    }();
    (void)installed;
}

} // namespace brevio

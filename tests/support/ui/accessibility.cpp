#include "support/ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>
#include <QWidget>

namespace brevio::test {

namespace {

void collectUnnamed(QAccessibleInterface* node, const QString& path, QStringList& unnamed)
{
    if (!node || !node->isValid())
        return;
    const QString objectName = node->object() ? node->object()->objectName() : QString();
    const QString here = path + QStringLiteral(" > %1 '%2'").arg(int(node->role())).arg(objectName);
    if (node->state().focusable && node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << here;
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), here, unnamed);
}

} // namespace

QString accessibleName(QWidget* widget)
{
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    return node ? node->text(QAccessible::Name) : QString();
}

QStringList unnamedFocusable(QWidget* root)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(root), root->objectName(), unnamed);
    return unnamed;
}

QList<QWidget*> tabChain(QWidget* window, QWidget* start)
{
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> chain;
    for (int i = 0; i < 300; ++i) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused || chain.contains(focused))
            break;
        chain << focused;
        QTest::keyClick(window, Qt::Key_Tab);
    }
    return chain;
}

bool seenByUser(QWidget* widget)
{
    if (!widget->isVisible())
        return false;
    QWidget* window = widget->window();
    QWidget* top = window->childAt(widget->mapTo(window, widget->rect().center()));
    return top == widget || widget->isAncestorOf(top);
}

} // namespace brevio::test

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace brevio::test {

// What a screen reader calls `widget`, through Qt's accessibility interface.
QString accessibleName(QWidget* widget);

// Every focusable object below `root`, as a screen reader walks it, that has no name: each as
// the chain of roles and object names that leads to it. Empty when all are named.
QStringList unnamedFocusable(QWidget* root);

// Presses Tab in `window`, starting at `start`, until the focus comes back to a widget it had
// before: the widgets the keyboard reaches, in order.
QList<QWidget*> tabChain(QWidget* window, QWidget* start);

// Whether a person sees `widget`: shown, and not lying under another control at its centre.
bool seenByUser(QWidget* widget);

} // namespace brevio::test

#pragma once

#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QWidget>

namespace brevio::test {

// Presses Ctrl+`key` on the active `form` (as a user does) and returns its child window `name` of
// type Window when that is shown then; null when the form never became active or nothing opened.
template <class Window>
Window* openByShortcut(QWidget& form, Qt::Key key, const char* name)
{
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        return nullptr;
    QTest::keyClick(&form, key, Qt::ControlModifier);
    auto* window = form.findChild<Window*>(QString::fromLatin1(name));
    return window && window->isVisible() ? window : nullptr;
}

} // namespace brevio::test

#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

namespace brevio::test {

// Runs `act` on the modal dialog of type Dialog that `open` shows, as soon as it is up, and
// closes it if `act` left it open. False when no such dialog came up.
template <class Dialog>
bool withModal(const std::function<void()>& open, const std::function<void(Dialog*)>& act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
    return seen;
}

} // namespace brevio::test

#include "gui/widgets/handler_guard.h"

#include <QString>

#include <exception>

namespace brevio {

bool runGuarded(Dialogs& dialogs, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        dialogs.message(QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace brevio

#pragma once

#include "gui/widgets/dialogs.h"

#include <functional>

namespace brevio {

// The one place where a failure ends a handler: the error's text goes to a message box and
// the window carries on. Clean-up inside the handler is RAII, so it has run by then.
// Returns false when the handler ended with an error.
bool runGuarded(Dialogs& dialogs, const std::function<void()>& handler);

} // namespace brevio

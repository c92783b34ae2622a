#pragma once

#include <functional>

namespace brevio::store {

// Runs `work` on a thread of its own and returns when it has ended, rethrowing what it threw.
// Meanwhile this thread calls `pump` at once and then every few milliseconds: for a single blocking system
// call (a flush of the whole file system can take half a second) that would otherwise stop the window. `work`
// must touch nothing that `pump` may touch.
void runBesidePump(const std::function<void()>& work, const std::function<void()>& pump);

} // namespace brevio::store

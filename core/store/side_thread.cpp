#include "core/store/side_thread.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace brevio::store {

void runBesidePump(const std::function<void()>& work, const std::function<void()>& pump)
{
    constexpr std::chrono::milliseconds kPumpEvery{5};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
    std::thread side([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    // The thread is joined however the pump ends, so that nothing it uses goes before it.
    struct Join
    {
        std::thread& thread;
        ~Join() { thread.join(); }
    } join{side};
    for (;;) {
        pump();
        std::unique_lock lock(mutex);
        if (ended.wait_for(lock, kPumpEvery, [&] { return done; }))
            break;
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace brevio::store

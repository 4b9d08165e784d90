// EditorIdle: the paced loop, and the lock that keeps idles one at a time.
#include "EditorIdle.h"

#include <chrono>
#include <utility>

EditorIdle::EditorIdle(std::function<void()> idleCall, bigtime_t idlePeriod)
    : call(std::move(idleCall)), period(idlePeriod)
{
}

EditorIdle::~EditorIdle()
{
    stop();
}

void EditorIdle::start()
{
    if (thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> hold(state);
        stopping = false;
    }
    thread = std::thread([this] { run(); });
}

void EditorIdle::stop()
{
    {
        std::lock_guard<std::mutex> hold(state);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable())
        thread.join();
}

void EditorIdle::now()
{
    std::lock_guard<std::mutex> hold(calling);
    call();
}

void EditorIdle::run()
{
    using Clock = std::chrono::steady_clock;
    const auto step = std::chrono::microseconds(period);
    auto next = Clock::now();
    std::unique_lock<std::mutex> hold(state);
    while (!stopping) {
        hold.unlock();
        now();
        hold.lock();
        // A steady rate: the next call is one period after the last one was
        // due; after a slow call the schedule starts again from now.
        next += step;
        if (next < Clock::now())
            next = Clock::now() + step;
        wake.wait_until(hold, next, [this] { return stopping; });
    }
}
